// Drive-form, share and SFTP location texts through the path parsers and the drive map's
// entries. The input's first line is the text; the second is a folder to join to and compare
// with.

#include "FuzzInput.h"
#include "platform/DriveMap.h"
#include "platform/DrivePath.h"
#include "platform/sftp/SftpLocation.h"

#include <cstdlib>

namespace {

using namespace brisko::platform;

// A view that must lie within text, as every part drive_path hands back does.
void requireWithin(std::string_view part, std::string_view text) {
    if (!part.empty() &&
        (part.data() < text.data() || part.data() + part.size() > text.data() + text.size()))
        std::abort();
}

void takeApart(std::string_view path, std::string_view folder) {
    drive_path::isDriveForm(path);
    drive_path::hasDrive(path);
    drive_path::driveLetter(path);
    drive_path::driveKey(path);
    requireWithin(drive_path::drive(path), path);
    requireWithin(drive_path::driveOrShare(path), path);
    requireWithin(drive_path::parent(path), path);
    requireWithin(drive_path::lastName(path), path);
    drive_path::isWithin(path, folder);
    drive_path::isWithin(folder, path);
    drive_path::isWithin(path, drive_path::parent(path));
    drive_path::join(folder, path);
}

void throughDriveMap(std::string_view text, std::string_view folder) {
    DriveMap drives("/fuzz/start");
    drives.addEntry(text);
    drives.addEntries(text);
    drives.addShareEntry(text);
    drives.addShareEntries(text);
    drives.folderOfDrive(folder);
    drives.locationOfDrive(folder);
    drives.locations();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = brisko::fuzz::inputFields(brisko::fuzz::inputText(data, size), 2);
    takeApart(fields[0], fields[1]);
    throughDriveMap(fields[0], fields[1]);

    std::string why;
    if (const auto location = sftp::parseSftpUrl(fields[0], why)) {
        // A location is never one that would pass a password or an option to ssh.
        if (location->host.empty() || location->host.front() == '-' ||
            location->user.find(':') != std::string::npos || location->path.front() != '/')
            std::abort();
        location->text();
    }
    return 0;
}

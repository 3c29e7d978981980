#include "platform/ListingOrder.h"
#include "platform/Refusals.h"
#include "platform/win/WinEntry.h"
#include "platform/win/WinErrors.h"
#include "platform/win/WinFileSystem.h"
#include "platform/win/WinHeldFolders.h"
#include "platform/win/WinText.h"

namespace brisko::platform {

Listing WinFileSystem::list(std::string_view folder) {
    Listing listing;
    HeldPath heldFolder = held(folder);
    if (!heldFolder.ok()) {
        listing.result = heldFolder.result();
        return listing;
    }
    const WinPath& path = heldFolder.path;
    const WinEntry self = lookUpEntry(path);
    if (!self.result.ok()) {
        listing.result = self.result;
        return listing;
    }
    if (self.isLink()) {
        listing.result = refusal::linkForFolder();
        return listing;
    }
    if (!self.entry.attributes.directory) {
        listing.result = {FsStatus::NotAFolder, "not a folder"};
        return listing;
    }
    if (!path.root) { // held as well, so that it stays the folder that was looked at
        listing.result = heldFolder.folders.hold(path.longPath);
        if (!listing.result.ok())
            return listing;
    }
    std::wstring prefix = path.longPath;
    if (prefix.back() != L'\\')
        prefix += L'\\';
    WIN32_FIND_DATAW data{};
    HANDLE search = FindFirstFileExW((prefix + L"*").c_str(), FindExInfoBasic, &data,
                                     FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) // an empty drive has not even "." in it
            listing.result = resultFromWinError(error);
        return listing;
    }
    do {
        const std::wstring_view name(data.cFileName);
        if (name == L"." || name == L"..")
            continue;
        WinEntry entry = entryFromFindData(data, prefix + data.cFileName);
        if (entry.result.ok())
            listing.entries.push_back(std::move(entry.entry));
        else if (entry.result.status != FsStatus::NotFound) // gone since it was listed
            listing.skipped.push_back({utf8FromWide(name), refusal::kCannotBeRead});
    } while (FindNextFileW(search, &data));
    const DWORD error = GetLastError();
    FindClose(search);
    if (error != ERROR_NO_MORE_FILES) {
        listing.result = resultFromWinError(error); // a partial listing never passes for whole
        return listing;
    }
    sortListing(listing);
    return listing;
}

} // namespace brisko::platform

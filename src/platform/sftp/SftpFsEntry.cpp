#include "platform/sftp/SftpFsEntry.h"

namespace brisko::platform::sftp {

namespace {

const char* kindOfSpecial(mode_t mode) {
    if (S_ISFIFO(mode))
        return "named pipe";
    if (S_ISSOCK(mode))
        return "socket";
    return "device";
}

} // namespace

ServerEntry entryOf(const struct stat& info, std::string_view name, DosStampCache& stamps) {
    ServerEntry server;
    const mode_t mode = info.st_mode;
    if (!S_ISREG(mode) && !S_ISDIR(mode) && !S_ISLNK(mode)) {
        const char* kind =
            (mode & S_IFMT) == 0 ? "the server did not tell what it is" : kindOfSpecial(mode);
        server.result = {FsStatus::Unsupported, kind};
        server.reason = kind;
        server.special = (mode & S_IFMT) != 0;
        return server;
    }
    DirEntry& entry = server.entry;
    entry.name = name;
    entry.attributes.link = S_ISLNK(mode);
    entry.attributes.directory = S_ISDIR(mode);
    // A link has its own stamp, no size, and is never read-only.
    entry.attributes.readOnly = !entry.attributes.link && (mode & S_IWUSR) == 0;
    entry.attributes.hidden = !name.empty() && name.front() == '.';
    entry.size = S_ISREG(mode) ? static_cast<std::int64_t>(info.st_size) : 0;
    entry.stamp = stamps.stampOf(info.st_mtim.tv_sec);
    return server;
}

} // namespace brisko::platform::sftp

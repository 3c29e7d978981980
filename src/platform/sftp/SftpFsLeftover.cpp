#include "platform/sftp/SftpFsLeftover.h"

#include "platform/Refusals.h"
#include "platform/sftp/SftpFsErrors.h"

#include <algorithm>

namespace brisko::platform::sftp {

FsResult leftoverState(const struct stat& info, std::time_t now) {
    const mode_t mode = info.st_mode;
    if (S_ISDIR(mode))
        return refusal::folderHasThatName();
    if (S_ISLNK(mode))
        return refusal::linkHasThatName();
    if (!S_ISREG(mode))
        return {FsStatus::Unsupported, "a device, pipe or socket has that name"};
    const std::time_t touched = std::max(info.st_mtim.tv_sec, info.st_atim.tv_sec);
    if (now - touched < kLeftoverAge)
        return {FsStatus::InUse, "another run may be writing it"};
    return FsResult::success();
}

FsResult removeLeftover(Client& client, const std::string& host, const struct stat& info,
                        std::time_t now) {
    if (FsResult state = leftoverState(info, now); !state.ok())
        return state;
    const Outcome<Done> removed = await(client.remove(host));
    if (!removed.ok() && removed.error->code != Code::NoSuchFile)
        return resultOf(*removed.error);
    return FsResult::success();
}

} // namespace brisko::platform::sftp

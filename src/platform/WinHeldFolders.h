#pragma once

#include "platform/FileSystem.h"
#include "platform/WinHandle.h"
#include "platform/WinPaths.h"

#include <string>
#include <vector>

namespace brisko::platform {

// The folders on the way to a path's last name, held open from below the drive's or share's own
// folder down while an operation on the path is carried out. Each must be a folder, not a link
// or junction; held without sharing deletion, none of them can be renamed, removed or replaced
// by a link meanwhile, so the path still leads through the folders that were looked at.
class HeldFolders {
public:
    HeldFolders() = default;
    // Holds every folder on the way to path (none for a drive's own folder or a name in it).
    explicit HeldFolders(const WinPath& path);

    // Holds one more folder ("\\?\" form) below the ones held; fails with Unsupported ("a
    // symbolic link is on the way") for a link or junction, NotFound when it is missing or a
    // file.
    FsResult hold(const std::wstring& folder);
    const FsResult& result() const { return result_; }
    bool ok() const { return result_.ok(); }

private:
    std::vector<WinHandle> handles_;
    FsResult result_;
};

} // namespace brisko::platform

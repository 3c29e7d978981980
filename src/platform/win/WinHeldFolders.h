#pragma once

#include "platform/FileSystem.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinPaths.h"

#include <string>
#include <string_view>
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

// The host folder the process is in.
std::string currentHostFolder();
// A program path taken against the current folder.
WinPath pathOf(std::string_view path);

// A path with the folders on the way to it held while it is worked on.
struct HeldPath {
    WinPath path;
    HeldFolders folders;

    const FsResult& result() const { return path.result.ok() ? folders.result() : path.result; }
    bool ok() const { return result().ok(); }
};

HeldPath held(std::string_view path);

// The two paths of a call that takes two; result is the first one's failure, if any.
struct PathPair {
    HeldPath from;
    HeldPath to;
    FsResult result;
};

PathPair pathsOf(std::string_view from, std::string_view to);

} // namespace brisko::platform

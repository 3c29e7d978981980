#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>

namespace brisko::platform {

// A program path as the Win32 calls take it.
struct WinPath {
    // InvalidName for "", for a name the system cannot hold (one with '*', '?', ':', ...) and for
    // a path longer than the system takes.
    FsResult result;
    std::wstring longPath; // the "\\?\" form: no length limit, no rewriting of names
    std::string display;   // the same as people write it ("C:\DATA\SUB"), UTF-8
    bool root = false;     // a drive's or a share's own folder
};

// Drive form ("C:\DATA", "c:/data", "C:"; "C:NAME" counts as "C:\NAME"), a share
// ("\\SERVER\SHARE\..."), a path from the current drive's top ("\DATA") or one relative to
// currentFolder; "\\?\" paths are taken as they are. Both '\' and '/' separate names, "." is
// dropped and ".." never climbs above the drive or share.
WinPath winPath(std::string_view path, std::string_view currentFolder);

// The "\\?\X:\" or "\\?\UNC\SERVER\SHARE\" form of the own folder of a path's drive; empty when
// the path names no drive.
std::wstring driveRoot(std::string_view drive);

// Where the top of a "\\?\" path ends: the place of the separator after "\\?\C:" or after
// "\\?\UNC\SERVER\SHARE" (npos when nothing follows the top).
std::size_t longPathTopEnd(const std::wstring& longPath);

// The parent of a "\\?\" path (the path itself for a root).
std::wstring parentOfLongPath(const std::wstring& longPath);

} // namespace brisko::platform

#pragma once

#include "platform/FileSystem.h"
#include "platform/win/WinPaths.h"

#include <string>
#include <windows.h>

namespace brisko::platform {

// What one name on disk is, as the program sees it: a file, a folder or a link (result Ok,
// entry filled), gone (NotFound), or something that cannot be looked at.
struct WinEntry {
    FsResult result;
    DirEntry entry;
    DWORD systemAttributes = 0; // the system's own bits
    // A symbolic link or junction: an entry of its own, never followed.
    bool isLink() const { return entry.attributes.link; }
    // A link made as a folder's link: it is removed as a folder is.
    bool isFolderLink() const {
        return isLink() && (systemAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }
};

// Whether a reparse tag makes a link (a symbolic link or a junction); other reparse points are
// files and folders as usual.
bool isLinkTag(DWORD tag);

// A last-write time as the local DOS stamp, by the system's own rules for that date.
DosStamp dosStampFromFileTime(const FILETIME& time);
// A local DOS stamp as a last-write time; false when the local time does not exist.
bool fileTimeFromDosStamp(DosStamp stamp, FILETIME& time);

// The entry a directory search found; longPath is its own "\\?\" path (for a link's text).
WinEntry entryFromFindData(const WIN32_FIND_DATAW& data, const std::wstring& longPath);

// Looks at a path; a drive's own folder is followed, any other link is the entry itself.
WinEntry lookUpEntry(const WinPath& path);

} // namespace brisko::platform

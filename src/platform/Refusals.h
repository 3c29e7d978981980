#pragma once

#include "platform/FileSystem.h"

#include <string>

// Why a file system or the shell refuses a call: one text for each reason, the same on every
// host.
namespace brisko::platform::refusal {

inline FsResult fileHasThatName() {
    return {FsStatus::NotAFolder, "a file has that name"};
}
inline FsResult folderHasThatName() {
    return {FsStatus::NotAFolder, "a folder has that name"};
}
inline FsResult linkHasThatName() {
    return {FsStatus::Unsupported, "a symbolic link has that name"};
}
inline FsResult fileNotFolder() {
    return {FsStatus::NotAFolder, "a file, not a folder"};
}
inline FsResult folderNotFile() {
    return {FsStatus::NotAFolder, "a folder, not a file"};
}
inline FsResult linkNotFolder() {
    return {FsStatus::Unsupported, "a symbolic link, not a folder"};
}
// A file is asked for, a link found.
inline FsResult aLink() {
    return {FsStatus::Unsupported, "a symbolic link"};
}
// A folder is asked for, a link found.
inline FsResult linkForFolder() {
    return {FsStatus::Unsupported, "symbolic link"};
}
inline FsResult linkOnTheWay() {
    return {FsStatus::Unsupported, "a symbolic link is on the way"};
}
inline FsResult inUse() {
    return {FsStatus::InUse, "another copy is in progress there"};
}
inline FsResult nameTaken() {
    return {FsStatus::AlreadyExists, "the name is taken"};
}
inline FsResult invalidStamp() {
    return {FsStatus::IoError, "the time stamp is not a valid local time"};
}
inline FsResult emptyPath() {
    return {FsStatus::InvalidName, "empty path"};
}
inline FsResult pathTooLong() {
    return {FsStatus::InvalidName, "path too long"};
}
inline FsResult noProgramNamed() {
    return {FsStatus::NotFound, "no program named"};
}
inline FsResult noProgramOrFile(const std::string& program) {
    return {FsStatus::NotFound, "no program or file " + program};
}

// The reason a listing gives for an entry it passes over because it cannot be looked at.
inline constexpr const char* kCannotBeRead = "cannot be read";

} // namespace brisko::platform::refusal

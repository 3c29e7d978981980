#pragma once

#include "platform/FileSystem.h"

namespace brisko::platform {

// The file system of a Windows host: the system's own drive letters, names compared by the
// system (case-blind, case-preserving), long paths through the "\\?\" form, symbolic links and
// junctions as entries of their own (never followed), the attributes and stamps the system
// keeps.
// It holds no state of its own: each call works on its own handles, so any calls may run side
// by side on different threads (temporary files written on workers while another thread
// renames and rotates backups elsewhere). Only setCurrentFolder changes what others share,
// the process's current folder, against which relative paths are resolved.
class WinFileSystem final : public FileSystem {
public:
    std::optional<std::string> hostPath(std::string_view path) override;
    Listing list(std::string_view folder) override;
    PathInfo stat(std::string_view path) override;
    std::optional<FileIdentity> identityOf(std::string_view path) override;
    std::vector<FileIdentity> folderChain(std::string_view folder) override;
    bool driveExists(std::string_view drive) override;
    FsResult setReadOnly(std::string_view path, bool readOnly) override;
    FsResult clearAttributes(std::string_view path) override;
    FsResult copyAttributes(std::string_view from, std::string_view to) override;
    FsResult removeFile(std::string_view path) override;
    FsResult rename(std::string_view from, std::string_view to) override;
    FsResult link(std::string_view existing, std::string_view newName) override;
    FsResult createLink(std::string_view path, std::string_view targetText) override;
    FsResult createFolders(std::string_view path) override;
    FsResult removeFolder(std::string_view path) override;
    std::optional<std::int64_t> freeBytes(std::string_view drive) override;
    using FileSystem::openRead;
    std::unique_ptr<InputFile> openRead(std::string_view path, FsResult& result,
                                        LinkPolicy links) override;
    std::unique_ptr<OutputFile> createFresh(std::string_view path, FsResult& result) override;
    void dropCache(std::string_view path) override;
    FsResult flushFolder(std::string_view folder) override;
    FsResult setStamp(std::string_view path, DosStamp stamp) override;
    // The system compares names itself, so every name is already matched as it is.
    FileSystem& exactNames() override { return *this; }
    std::string currentFolder() override;
    FsResult setCurrentFolder(std::string_view path) override;
};

} // namespace brisko::platform

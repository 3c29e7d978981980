#pragma once

#include "platform/FileSystem.h"

#include <map>
#include <memory>
#include <string>

namespace brisko::platform {

// The host's file system with some drives elsewhere: each path goes to the file system of its
// drive ("R:", "\\NAS\BACKUP") when that drive has one of its own (a folder on another machine),
// and to the host's otherwise. An operation on two paths stays within one file system; a copy
// between two of them carries the permission bits across.
class RoutedFileSystem final : public FileSystem {
public:
    using Drives = std::map<std::string, std::unique_ptr<FileSystem>>; // by drive key

    RoutedFileSystem(std::unique_ptr<FileSystem> host, Drives drives);
    RoutedFileSystem(const RoutedFileSystem&) = delete;
    RoutedFileSystem& operator=(const RoutedFileSystem&) = delete;
    ~RoutedFileSystem() override;

    std::optional<std::string> hostPath(std::string_view path) override;
    Listing list(std::string_view folder) override;
    PathInfo stat(std::string_view path) override;
    std::optional<FileIdentity> identityOf(std::string_view path) override;
    std::vector<FileIdentity> folderChain(std::string_view folder) override;
    bool driveExists(std::string_view drive) override;
    std::string whyNoDrive(std::string_view drive) override;
    FsResult setReadOnly(std::string_view path, bool readOnly) override;
    FsResult clearAttributes(std::string_view path) override;
    FsResult copyAttributes(std::string_view from, std::string_view to) override;
    std::optional<std::uint32_t> permissions(std::string_view path) override;
    FsResult setPermissions(std::string_view path, std::uint32_t bits) override;
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
    void forgetCachedNames() override;
    FileSystem& exactNames() override;
    std::string currentFolder() override;
    FsResult setCurrentFolder(std::string_view path) override;

private:
    using Routes = std::map<std::string, FileSystem*>;
    // The view whose routes are the exact-names views of another's.
    RoutedFileSystem(FileSystem& host, Routes routes);

    FileSystem& routeOf(std::string_view path);
    // The one file system both paths are on; nothing when they are on two.
    FileSystem* commonRoute(std::string_view first, std::string_view second);

    std::unique_ptr<FileSystem> ownHost_;
    Drives ownDrives_;
    FileSystem& host_;
    Routes routes_;
    std::unique_ptr<RoutedFileSystem> exactView_;
};

} // namespace brisko::platform

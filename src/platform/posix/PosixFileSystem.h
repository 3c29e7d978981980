#pragma once

#include "platform/DriveMap.h"
#include "platform/FileSystem.h"

#include <memory>

namespace brisko::platform {

// The file system of a POSIX host: drive letters through the drive map, case-insensitive
// resolution of every component, symbolic links as entries of their own (never followed),
// FIFOs, sockets and devices passed over.
class PosixFileSystem final : public FileSystem {
public:
    explicit PosixFileSystem(DriveMap drives);
    ~PosixFileSystem() override;

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
    std::string currentFolder() override;
    FsResult setCurrentFolder(std::string_view path) override;
    void forgetCachedNames() override;
    FileSystem& exactNames() override;

    const DriveMap& drives() const;

private:
    struct Impl;
    // The view that matches last names exactly shares everything else.
    PosixFileSystem(std::shared_ptr<Impl> impl, bool exactLast);

    std::shared_ptr<Impl> impl_;
    bool exactLast_ = false;
    std::unique_ptr<PosixFileSystem> exactView_;
};

} // namespace brisko::platform

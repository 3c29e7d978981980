#pragma once

#include "platform/FileSystem.h"
#include "platform/sftp/SftpClient.h"
#include "platform/sftp/SftpLocation.h"

#include <functional>
#include <memory>
#include <string>

namespace brisko::platform::sftp {

// Starts one SFTP session to the location; nothing (and why set to ssh's reason) when it cannot.
using Connector = std::function<std::unique_ptr<Client>(std::string& why)>;

// The folder of an SFTP location as a drive: paths are program paths of the drive it stands
// for ("R:\SUB\FILE", "\\NAS\BACKUP\SUB\FILE"); their drive part is left aside and the rest
// is taken below the location's folder, names matched exactly first, then by the one name that
// differs only in case. Sessions are started when first needed (several, so that the server
// serves requests side by side); a location that cannot be reached is a drive that does not
// exist, and whyNoDrive says ssh's reason. Every promise of the host's file system holds, or
// the operation is refused: a new file is created exclusively, flushed with fsync@openssh.com,
// and put in place with posix-rename@openssh.com.
class SftpFileSystem final : public FileSystem {
public:
    SftpFileSystem(SftpLocation location, Connector connect);
    ~SftpFileSystem() override;

    std::optional<std::string> hostPath(std::string_view path) override; // always nothing
    Listing list(std::string_view folder) override;
    PathInfo stat(std::string_view path) override;
    std::optional<FileIdentity> identityOf(std::string_view path) override;
    std::vector<FileIdentity> folderChain(std::string_view folder) override;
    bool driveExists(std::string_view drive) override;
    std::string whyNoDrive(std::string_view drive) override;
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
    void dropCache(std::string_view path) override; // nothing to drop
    FsResult flushFolder(std::string_view folder) override;
    FsResult setStamp(std::string_view path, DosStamp stamp) override;
    void forgetCachedNames() override;
    FileSystem& exactNames() override;
    // There is no current folder on a location; these answer for the host's.
    std::string currentFolder() override;
    FsResult setCurrentFolder(std::string_view path) override;

    std::optional<std::uint32_t> permissions(std::string_view path) override;
    FsResult setPermissions(std::string_view path, std::uint32_t bits) override;

    const SftpLocation& location() const;

private:
    // The identities of a folder and those above it, as the server resolves them.
    std::vector<FileIdentity> findFolderChain(std::string_view folder);
    struct Impl;
    SftpFileSystem(std::shared_ptr<Impl> impl, bool exactLast);

    std::shared_ptr<Impl> impl_;
    bool exactLast_ = false;
    std::unique_ptr<SftpFileSystem> exactView_;
};

} // namespace brisko::platform::sftp

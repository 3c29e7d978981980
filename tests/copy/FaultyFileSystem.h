#pragma once

#include "platform/FileSystem.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::test {

// Passes every call on to a real file system, except for the failures a test asks for: the
// data still goes to real folders, but a write can meet a full disk, a read can fail, a rename
// or a link can be refused, a written byte can come back different, and the free space of
// every drive can be set.
class FaultyFileSystem final : public platform::FileSystem {
public:
    explicit FaultyFileSystem(platform::FileSystem& inner) : inner_(inner) {}

    // The next write that would take a new file past failWritesAfter bytes fails with this
    // result (once: the space a failed copy gives back lets the next one through; every time
    // when writeFailureStays).
    std::optional<platform::FsResult> writeFailure;
    std::int64_t failWritesAfter = 0;
    bool writeFailureStays = false;
    // The first byte of every block written is changed (a disk that does not keep its data).
    bool corruptWrites = false;
    // Reading fails at the read call with this number (from 1), failingReads times in a row.
    int failReadAt = 0;
    int failingReads = 0;
    // Every read of a file whose path ends with this fails.
    std::string unreadable;
    // Called before every read with its number (from 1), as readCalls counts them.
    std::function<void(int call)> beforeRead;
    // Renames for which this returns true fail.
    std::function<bool(std::string_view from, std::string_view to)> refuseRename;
    // Removals of files for which this returns true fail.
    std::function<bool(std::string_view path)> refuseRemove;
    // Links fail with this status (Unsupported: a file system without links).
    std::optional<platform::FsStatus> linkFailure;
    // Every drive is gone since the scan, for this reason (a connection lost).
    std::string driveGoneBecause;
    // The free bytes every drive reports.
    std::optional<std::int64_t> freeSpace;
    // Flushing a folder fails with this result: any folder, or only the one named.
    std::optional<platform::FsResult> folderFlushFailure;
    std::string folderFlushFailureIn;
    // Every folder flushed, in order.
    std::vector<std::string> flushedFolders;
    // Every file flush takes this long (so that flushes overlap when they run side by side).
    std::chrono::milliseconds flushDelay{0};

    // File flushes ("flush PATH", once the data is on the disk), renames ("rename FROM -> TO")
    // and folder flushes ("flush folder PATH") in the order they happened.
    std::vector<std::string> events() const;
    void record(std::string event);
    // The most file flushes that ran at once.
    int mostFlushesAtOnce() const;
    void flushStarted();
    void flushEnded();
    // The most files written under one name at once (more than one: two copies met there).
    int mostWritersOfOneName() const;
    void writerOpened(const std::string& path);
    void writerClosed(const std::string& path);

    std::optional<std::string> hostPath(std::string_view path) override {
        return inner_.hostPath(path);
    }
    platform::Listing list(std::string_view folder) override { return inner_.list(folder); }
    platform::PathInfo stat(std::string_view path) override { return inner_.stat(path); }
    std::optional<platform::FileIdentity> identityOf(std::string_view path) override {
        return inner_.identityOf(path);
    }
    std::vector<platform::FileIdentity> folderChain(std::string_view folder) override {
        return inner_.folderChain(folder);
    }
    bool driveExists(std::string_view drive) override {
        return driveGoneBecause.empty() && inner_.driveExists(drive);
    }
    std::string whyNoDrive(std::string_view drive) override {
        return driveGoneBecause.empty() ? inner_.whyNoDrive(drive) : driveGoneBecause;
    }
    platform::FsResult setReadOnly(std::string_view path, bool readOnly) override {
        return inner_.setReadOnly(path, readOnly);
    }
    platform::FsResult clearAttributes(std::string_view path) override {
        return inner_.clearAttributes(path);
    }
    platform::FsResult copyAttributes(std::string_view from, std::string_view to) override {
        return inner_.copyAttributes(from, to);
    }
    platform::FsResult removeFile(std::string_view path) override {
        if (refuseRemove && refuseRemove(path))
            return {platform::FsStatus::AccessDenied, "Permission denied"};
        return inner_.removeFile(path);
    }
    platform::FsResult rename(std::string_view from, std::string_view to) override;
    platform::FsResult link(std::string_view existing, std::string_view newName) override;
    platform::FsResult createLink(std::string_view path, std::string_view targetText) override {
        return inner_.createLink(path, targetText);
    }
    platform::FsResult createFolders(std::string_view path) override {
        return inner_.createFolders(path);
    }
    platform::FsResult removeFolder(std::string_view path) override {
        return inner_.removeFolder(path);
    }
    std::optional<std::int64_t> freeBytes(std::string_view drive) override {
        if (!driveGoneBecause.empty())
            return std::nullopt;
        return freeSpace ? freeSpace : inner_.freeBytes(drive);
    }
    using platform::FileSystem::openRead;
    std::unique_ptr<platform::InputFile> openRead(std::string_view path, platform::FsResult& result,
                                                  platform::LinkPolicy links) override;
    std::unique_ptr<platform::OutputFile> createFresh(std::string_view path,
                                                      platform::FsResult& result) override;
    void dropCache(std::string_view path) override { inner_.dropCache(path); }
    platform::FsResult flushFolder(std::string_view folder) override {
        flushedFolders.emplace_back(folder);
        record("flush folder " + std::string(folder));
        if (folderFlushFailure && (folderFlushFailureIn.empty() || folderFlushFailureIn == folder))
            return *folderFlushFailure;
        return inner_.flushFolder(folder);
    }
    platform::FsResult setStamp(std::string_view path, platform::DosStamp stamp) override {
        return inner_.setStamp(path, stamp);
    }
    std::string currentFolder() override { return inner_.currentFolder(); }
    platform::FsResult setCurrentFolder(std::string_view path) override {
        return inner_.setCurrentFolder(path);
    }
    void forgetCachedNames() override { inner_.forgetCachedNames(); }
    // Names matched exactly go straight to the real file system, without faults.
    platform::FileSystem& exactNames() override { return inner_.exactNames(); }

    std::atomic<int> readCalls = 0; // read calls on files opened since the start
    // The write failure that a write of size bytes, after written bytes of its file, meets.
    std::optional<platform::FsResult> writeFailureFor(std::int64_t written, std::size_t size);

private:
    platform::FileSystem& inner_;
    // Copies are written and flushed on other threads.
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
    std::map<std::string, int> writers_;
    int mostWriters_ = 0;
    int flushesNow_ = 0;
    int mostFlushes_ = 0;
};

} // namespace brisko::test

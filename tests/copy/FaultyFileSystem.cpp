#include "FaultyFileSystem.h"

#include <algorithm>
#include <thread>

namespace brisko::test {

namespace {

class FaultyInput final : public platform::InputFile {
public:
    FaultyInput(std::unique_ptr<platform::InputFile> inner, FaultyFileSystem& owner,
                std::string_view path)
        : inner_(std::move(inner)), owner_(owner),
          unreadable_(!owner.unreadable.empty() && path.ends_with(owner.unreadable)) {}

    std::int64_t read(std::byte* buffer, std::size_t size) override {
        const int call = ++owner_.readCalls;
        if (owner_.beforeRead)
            owner_.beforeRead(call);
        if (unreadable_ || (owner_.failReadAt > 0 && call >= owner_.failReadAt &&
                            call < owner_.failReadAt + owner_.failingReads)) {
            error_ = {platform::FsStatus::IoError, "Input/output error"};
            return -1;
        }
        return inner_->read(buffer, size);
    }
    std::int64_t size() const override { return inner_->size(); }
    platform::FsResult lastError() const override {
        return error_.ok() ? inner_->lastError() : error_;
    }
    std::optional<platform::FileVersion> version() const override { return inner_->version(); }

private:
    std::unique_ptr<platform::InputFile> inner_;
    FaultyFileSystem& owner_;
    bool unreadable_;
    platform::FsResult error_;
};

class FaultyOutput final : public platform::OutputFile {
public:
    // hostPath: where the file is, however its name was spelled.
    FaultyOutput(std::unique_ptr<platform::OutputFile> inner, FaultyFileSystem& owner,
                 std::string_view path, std::string hostPath)
        : inner_(std::move(inner)), owner_(owner), path_(path), hostPath_(std::move(hostPath)) {
        owner_.writerOpened(hostPath_);
    }
    ~FaultyOutput() override { close(); }

    platform::FsResult write(const std::byte* data, std::size_t size) override {
        if (auto failure = owner_.writeFailureFor(written_, size))
            return *failure;
        written_ += static_cast<std::int64_t>(size);
        if (!owner_.corruptWrites || size == 0)
            return inner_->write(data, size);
        std::vector<std::byte> changed(data, data + size);
        changed[0] = ~changed[0];
        return inner_->write(changed.data(), size);
    }
    platform::FsResult flush() override {
        owner_.flushStarted();
        std::this_thread::sleep_for(owner_.flushDelay);
        platform::FsResult flushed = inner_->flush();
        owner_.record("flush " + path_);
        owner_.flushEnded();
        return flushed;
    }
    platform::FsResult close() override {
        if (open_)
            owner_.writerClosed(hostPath_);
        open_ = false;
        return inner_->close();
    }
    std::optional<platform::FileIdentity> identity() const override { return inner_->identity(); }

private:
    std::unique_ptr<platform::OutputFile> inner_;
    FaultyFileSystem& owner_;
    std::string path_;
    std::string hostPath_;
    std::int64_t written_ = 0;
    bool open_ = true;
};

} // namespace

std::vector<std::string> FaultyFileSystem::events() const {
    const std::lock_guard lock(mutex_);
    return events_;
}

void FaultyFileSystem::record(std::string event) {
    const std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
}

std::optional<platform::FsResult> FaultyFileSystem::writeFailureFor(std::int64_t written,
                                                                    std::size_t size) {
    const std::lock_guard lock(mutex_);
    if (!writeFailure || written + static_cast<std::int64_t>(size) <= failWritesAfter)
        return std::nullopt;
    std::optional<platform::FsResult> failure = writeFailure;
    if (!writeFailureStays)
        writeFailure.reset();
    return failure;
}

int FaultyFileSystem::mostFlushesAtOnce() const {
    const std::lock_guard lock(mutex_);
    return mostFlushes_;
}

void FaultyFileSystem::flushStarted() {
    const std::lock_guard lock(mutex_);
    mostFlushes_ = std::max(mostFlushes_, ++flushesNow_);
}

void FaultyFileSystem::flushEnded() {
    const std::lock_guard lock(mutex_);
    --flushesNow_;
}

int FaultyFileSystem::mostWritersOfOneName() const {
    const std::lock_guard lock(mutex_);
    return mostWriters_;
}

void FaultyFileSystem::writerOpened(const std::string& path) {
    const std::lock_guard lock(mutex_);
    mostWriters_ = std::max(mostWriters_, ++writers_[path]);
}

void FaultyFileSystem::writerClosed(const std::string& path) {
    const std::lock_guard lock(mutex_);
    --writers_[path];
}

platform::FsResult FaultyFileSystem::rename(std::string_view from, std::string_view to) {
    if (refuseRename && refuseRename(from, to))
        return {platform::FsStatus::AccessDenied, "Permission denied"};
    record("rename " + std::string(from) + " -> " + std::string(to));
    return inner_.rename(from, to);
}

platform::FsResult FaultyFileSystem::link(std::string_view existing, std::string_view newName) {
    if (linkFailure)
        return {*linkFailure, platform::describe(*linkFailure)};
    return inner_.link(existing, newName);
}

std::unique_ptr<platform::InputFile> FaultyFileSystem::openRead(std::string_view path,
                                                                platform::FsResult& result,
                                                                platform::LinkPolicy links) {
    auto file = inner_.openRead(path, result, links);
    if (!file)
        return nullptr;
    return std::make_unique<FaultyInput>(std::move(file), *this, path);
}

std::unique_ptr<platform::OutputFile> FaultyFileSystem::createFresh(std::string_view path,
                                                                    platform::FsResult& result) {
    auto file = inner_.createFresh(path, result);
    if (!file)
        return nullptr;
    return std::make_unique<FaultyOutput>(std::move(file), *this, path,
                                          inner_.hostPath(path).value_or(std::string(path)));
}

} // namespace brisko::test

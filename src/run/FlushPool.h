#pragma once

#include "platform/FileSystem.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace brisko::run {

// A few threads that put written files on the disk. A flush waits for the disk, and flushes
// issued side by side share the file system's journal commits, so several of them together
// take little longer than one. The threads only ever flush the files handed to them; whoever
// hands one over leaves it alone until its flush is done. Threads are started as they are
// needed, up to the limit, and joined when the pool goes.
class FlushPool {
public:
    explicit FlushPool(std::size_t maxThreads);
    FlushPool(const FlushPool&) = delete;
    FlushPool& operator=(const FlushPool&) = delete;
    ~FlushPool();

    // Flushes the file on one of the threads; the future holds the flush's result.
    std::future<platform::FsResult> flush(platform::OutputFile& file);

private:
    void work();

    std::size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<platform::FsResult()>> jobs_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace brisko::run

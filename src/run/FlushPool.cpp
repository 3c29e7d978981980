#include "run/FlushPool.h"

namespace brisko::run {

FlushPool::FlushPool(std::size_t maxThreads) : maxThreads_(maxThreads) {}

FlushPool::~FlushPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

std::future<platform::FsResult> FlushPool::flush(platform::OutputFile& file) {
    std::packaged_task<platform::FsResult()> job([&file] { return file.flush(); });
    std::future<platform::FsResult> result = job.get_future();
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (idle_ < jobs_.size() && threads_.size() < maxThreads_)
            threads_.emplace_back([this] { work(); });
    }
    wake_.notify_one();
    return result;
}

void FlushPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty())
            return; // stopping, with nothing left to flush
        std::packaged_task<platform::FsResult()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

} // namespace brisko::run

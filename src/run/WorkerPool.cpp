#include "run/WorkerPool.h"

namespace brisko::run {

WorkerPool::WorkerPool(std::size_t maxThreads, std::size_t bufferSize)
    : maxThreads_(maxThreads), bufferSize_(bufferSize),
      ownBuffer_(std::make_unique_for_overwrite<std::byte[]>(bufferSize)) {}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkerPool::post(std::function<void(Buffer)> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (idle_ < jobs_.size() && threads_.size() < maxThreads_)
            threads_.emplace_back([this] { work(); });
    }
    wake_.notify_one();
}

void WorkerPool::work() {
    const std::unique_ptr<std::byte[]> buffer =
        std::make_unique_for_overwrite<std::byte[]>(bufferSize_);
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty())
            return; // stopping, with nothing left to do
        std::function<void(Buffer)> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job({buffer.get(), bufferSize_});
        lock.lock();
    }
}

} // namespace brisko::run

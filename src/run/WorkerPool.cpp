#include "run/WorkerPool.h"

namespace brisko::run {

WorkerPool::WorkerPool(std::size_t maxThreads) : maxThreads_(maxThreads) {}

WorkerPool::~WorkerPool() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void WorkerPool::post(std::function<void()> job) {
    {
        const std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
        if (idle_ < jobs_.size() && threads_.size() < maxThreads_)
            threads_.emplace_back([this] { work(); });
    }
    wake_.notify_one();
}

void WorkerPool::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        ++idle_;
        wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
        --idle_;
        if (jobs_.empty())
            return; // stopping, with nothing left to do
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        lock.lock();
    }
}

} // namespace brisko::run

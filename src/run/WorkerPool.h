#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <type_traits>
#include <vector>

namespace brisko::run {

// A few threads that carry out jobs handed to them, such as writing a small copy and putting it
// on the disk. A flush waits for the disk, and flushes issued side by side share the file
// system's journal commits, so several of them together take little longer than one. Each
// thread has a buffer of its own that its jobs work in, and so has the thread that hands the
// jobs out. Threads are started as they are needed, up to the limit, and joined when the pool
// goes (after the jobs still queued).
class WorkerPool {
public:
    using Buffer = std::span<std::byte>;
    template <typename Job> using Result = std::invoke_result_t<Job&, Buffer>;

    WorkerPool(std::size_t maxThreads, std::size_t bufferSize);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // Runs the job on one of the threads, with that thread's buffer; the future holds what it
    // returns, or what it throws.
    template <typename Job> std::future<Result<Job>> run(Job job) {
        auto task = std::make_shared<std::packaged_task<Result<Job>(Buffer)>>(std::move(job));
        std::future<Result<Job>> result = task->get_future();
        post([task](Buffer buffer) { (*task)(buffer); });
        return result;
    }
    // Runs the job at once on the calling thread, with that thread's buffer: the future is
    // ready on return.
    template <typename Job> std::future<Result<Job>> runHere(Job job) {
        std::packaged_task<Result<Job>(Buffer)> task(std::move(job));
        std::future<Result<Job>> result = task.get_future();
        task(ownBuffer());
        return result;
    }
    // The buffer of the thread that hands the jobs out.
    Buffer ownBuffer() { return {ownBuffer_.get(), bufferSize_}; }

private:
    void post(std::function<void(Buffer)> job);
    void work();

    std::size_t maxThreads_;
    std::size_t bufferSize_;
    std::unique_ptr<std::byte[]> ownBuffer_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void(Buffer)>> jobs_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace brisko::run

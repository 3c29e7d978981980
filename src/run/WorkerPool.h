#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <type_traits>
#include <vector>

namespace brisko::run {

// A few threads that carry out jobs handed to them, such as writing a small copy and putting it
// on the disk. A flush waits for the disk, and flushes issued side by side share the file
// system's journal commits, so several of them together take little longer than one. Threads
// are started as they are needed, up to the limit, and joined when the pool goes (after the
// jobs still queued).
class WorkerPool {
public:
    explicit WorkerPool(std::size_t maxThreads);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // Runs the job on one of the threads; the future holds what it returns.
    template <typename Job> std::future<std::invoke_result_t<Job&>> run(Job job) {
        using Result = std::invoke_result_t<Job&>;
        auto task = std::make_shared<std::packaged_task<Result()>>(std::move(job));
        std::future<Result> result = task->get_future();
        post([task] { (*task)(); });
        return result;
    }

private:
    void post(std::function<void()> job);
    void work();

    std::size_t maxThreads_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    std::size_t idle_ = 0;
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

} // namespace brisko::run

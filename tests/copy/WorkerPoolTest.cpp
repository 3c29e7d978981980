#include "run/WorkerPool.h"

#include <atomic>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <set>
#include <stdexcept>

namespace brisko::run {
namespace {

constexpr std::size_t kBufferSize = 4096;

TEST(WorkerPoolTest, ResultsAndExceptionsComeBackThroughTheFutures) {
    WorkerPool pool(3, kBufferSize);
    std::vector<std::future<int>> squares;
    for (int i = 0; i < 20; ++i)
        squares.push_back(pool.run([i](WorkerPool::Buffer) { return i * i; }));
    auto broken = [](WorkerPool::Buffer) -> int { throw std::runtime_error("broken"); };
    std::future<int> failed = pool.run(broken);
    std::future<int> failedHere = pool.runHere(broken);

    ASSERT_EQ(failedHere.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_THROW(failedHere.get(), std::runtime_error);
    EXPECT_THROW(failed.get(), std::runtime_error);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(squares[static_cast<std::size_t>(i)].get(), i * i);
}

TEST(WorkerPoolTest, EachThreadWorksInABufferOfItsOwn) {
    WorkerPool pool(2, kBufferSize);
    // The two jobs wait for each other, so they run at the same time, on two threads. (Not a
    // std::latch: its wait can miss the last arrival where the standard library has no futex.)
    std::mutex mutex;
    std::condition_variable arrived;
    int running = 0;
    auto job = [&](WorkerPool::Buffer buffer) {
        std::unique_lock lock(mutex);
        ++running;
        arrived.notify_all();
        arrived.wait(lock, [&] { return running == 2; });
        return buffer;
    };
    std::future<WorkerPool::Buffer> first = pool.run(job);
    std::future<WorkerPool::Buffer> second = pool.run(job);
    const std::vector<WorkerPool::Buffer> buffers{
        first.get(), second.get(), pool.runHere([](WorkerPool::Buffer own) { return own; }).get()};

    std::set<std::byte*> distinct;
    for (const WorkerPool::Buffer& buffer : buffers) {
        EXPECT_EQ(buffer.size(), kBufferSize);
        distinct.insert(buffer.data());
    }
    EXPECT_EQ(distinct.size(), 3u);
    EXPECT_EQ(buffers[2].data(), pool.ownBuffer().data());
}

TEST(WorkerPoolTest, GoingAwayFinishesTheQueuedJobsFirst) {
    std::atomic<int> done = 0;
    {
        WorkerPool pool(2, kBufferSize);
        for (int i = 0; i < 50; ++i)
            pool.run([&done](WorkerPool::Buffer) { ++done; });
    }
    EXPECT_EQ(done, 50);
}

} // namespace
} // namespace brisko::run

#include "run/WorkerPool.h"

#include <atomic>
#include <gtest/gtest.h>
#include <latch>
#include <stdexcept>

namespace brisko::run {
namespace {

constexpr std::size_t kBufferSize = 4096;

TEST(WorkerPoolTest, ResultsAndExceptionsComeBackThroughTheFutures) {
    WorkerPool pool(3, kBufferSize);
    std::vector<std::future<int>> results;
    for (int i = 0; i < 20; ++i)
        results.push_back(pool.run([i](WorkerPool::Buffer) { return i * i; }));
    auto failing = pool.run([](WorkerPool::Buffer) -> int { throw std::runtime_error("broken"); });
    auto here = pool.runHere([](WorkerPool::Buffer) -> int { throw std::runtime_error("here"); });

    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(results[static_cast<std::size_t>(i)].get(), i * i);
    EXPECT_THROW(failing.get(), std::runtime_error);
    ASSERT_EQ(here.wait_for(std::chrono::seconds(0)), std::future_status::ready);
    EXPECT_THROW(here.get(), std::runtime_error);
}

TEST(WorkerPoolTest, EachThreadWorksInABufferOfItsOwn) {
    WorkerPool pool(2, kBufferSize);
    std::latch bothRunning(2); // the two jobs run at the same time, on two threads
    auto job = [&bothRunning](WorkerPool::Buffer buffer) {
        bothRunning.arrive_and_wait();
        return buffer;
    };
    auto first = pool.run(job);
    auto second = pool.run(job);
    const WorkerPool::Buffer here =
        pool.runHere([](WorkerPool::Buffer buffer) { return buffer; }).get();

    const WorkerPool::Buffer one = first.get();
    const WorkerPool::Buffer two = second.get();
    for (const WorkerPool::Buffer& buffer : {one, two, here})
        EXPECT_EQ(buffer.size(), kBufferSize);
    EXPECT_NE(one.data(), two.data());
    EXPECT_NE(one.data(), here.data());
    EXPECT_NE(two.data(), here.data());
    EXPECT_EQ(here.data(), pool.ownBuffer().data());
}

TEST(WorkerPoolTest, GoingAwayFinishesTheQueuedJobsFirst) {
    std::atomic<int> done = 0;
    {
        WorkerPool pool(2, kBufferSize);
        for (int i = 0; i < 50; ++i)
            pool.run([&done](WorkerPool::Buffer buffer) {
                buffer.front() = std::byte{1}; // the buffer is there to write in
                ++done;
            });
    }
    EXPECT_EQ(done, 50);
}

} // namespace
} // namespace brisko::run

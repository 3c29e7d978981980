#include "platform/ChildProcess.h"
#include "platform/win/WinCommandLine.h"

#include <gtest/gtest.h>
#include <shellapi.h>

using brisko::platform::ChildProcess;
using brisko::platform::StopSignal;

namespace {

std::shared_ptr<ChildProcess> startCmd(const std::string& command) {
    std::shared_ptr<ChildProcess> process;
    EXPECT_EQ(ChildProcess::start({"cmd.exe", "/c", command}, "", ChildProcess::Priority::Normal,
                                  process),
              0);
    return process;
}

} // namespace

TEST(WinCommandLine, IsSplitBackIntoTheSameArguments) {
    const std::vector<std::vector<std::wstring>> cases = {
        {L"prog", L"plain", L"two words", L""},
        {L"prog", L"say \"hi\"", L"C:\\dir with blank\\", L"a\\\\b", L"end\\\"quote"},
        {L"prog", L"tab\there", L"\\\\server\\share", L"trailing\\\\"},
    };
    for (const std::vector<std::wstring>& arguments : cases) {
        const std::wstring line = brisko::platform::windowsCommandLine(arguments);
        int count = 0;
        LPWSTR* split = CommandLineToArgvW(line.c_str(), &count);
        ASSERT_NE(split, nullptr);
        std::vector<std::wstring> back(split, split + count);
        LocalFree(split);
        EXPECT_EQ(back, arguments) << std::string(line.begin(), line.end());
    }
}

TEST(WinChildProcess, ReportsTheExitCodeAndStopsWaitingWhenTold) {
    const std::shared_ptr<ChildProcess> ended = startCmd("exit 3");
    ASSERT_TRUE(ended);
    EXPECT_NE(ended->id(), 0);
    EXPECT_EQ(ended->waitForEnd(ChildProcess::kWaitForever), ChildProcess::WaitOutcome::Ended);
    EXPECT_TRUE(ended->hasEnded());
    EXPECT_EQ(ended->collectExitCode(), 3);

    // A program that runs a few seconds: a short wait times out, a raised signal ends the wait.
    const std::shared_ptr<ChildProcess> running = startCmd("ping -n 4 127.0.0.1 >nul");
    ASSERT_TRUE(running);
    EXPECT_EQ(running->waitForEnd(50), ChildProcess::WaitOutcome::TimedOut);
    EXPECT_FALSE(running->hasEnded());
    StopSignal giveUp;
    giveUp.raise();
    EXPECT_EQ(running->waitForEnd(ChildProcess::kWaitForever, &giveUp),
              ChildProcess::WaitOutcome::GaveUp);

    std::shared_ptr<ChildProcess> none;
    EXPECT_EQ(
        ChildProcess::start({"no-such-program-here.exe"}, "", ChildProcess::Priority::Idle, none),
        ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(none);
}

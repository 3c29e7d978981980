#include "batch/BatchOptions.h"
#include "run/Startup.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace brisko {
namespace {

// Windows names its drives itself: a drive map asked for in any way is refused, plainly.
TEST(WinStartup, DriveMapIsRefused) {
    const batch::ParseResult parsed = batch::parseBatchOptions({"--drive", "C=D:\\", "x.brk"});
    EXPECT_NE(parsed.error.find("not used on Windows"), std::string::npos) << parsed.error;

    EXPECT_THROW(run::Startup({"L=C:\\left"}), run::StartupError);
    SetEnvironmentVariableW(L"BRISKO_DRIVES", L"L=C:\\left");
    EXPECT_THROW(run::Startup({}), run::StartupError);
    SetEnvironmentVariableW(L"BRISKO_DRIVES", nullptr);
    run::Startup startup({});
    EXPECT_NE(startup.ownExecutable.find(".exe"), std::string::npos);
}

} // namespace
} // namespace brisko

#include "run/Startup.h"

#include <gtest/gtest.h>

namespace brisko::run {
namespace {

TEST(StartupDriveMap, TakesTheVariableThenTheOptions) {
    struct Case {
        std::optional<std::string> variable; // BRISKO_DRIVES
        std::vector<std::string> options;    // the --drive values
        std::string driveC;                  // "-": not mapped
        std::string driveF;
    };
    const Case cases[] = {
        {std::nullopt, {}, "-", "-"},
        {"C=/srv/data", {}, "/srv/data", "-"},
        {std::nullopt, {"F=/media/b", "C=/c", "f=/b2"}, "/c", "/b2"},
        {"C=/srv/data;F=/f", {"c=/other"}, "/other", "/f"},
        {std::nullopt, {"F=backup"}, "-", "/start/backup"},
    };
    for (const Case& c : cases) {
        const platform::DriveMap drives = buildDriveMap(c.variable, c.options, "/start");
        EXPECT_EQ(drives.hostFolder('C').value_or("-"), c.driveC) << c.variable.value_or("-");
        EXPECT_EQ(drives.hostFolder('F').value_or("-"), c.driveF) << c.variable.value_or("-");
    }
}

TEST(StartupDriveMap, NamesTheFirstMalformedValue) {
    struct Case {
        std::optional<std::string> variable;
        std::vector<std::string> options;
        std::string error;
    };
    const Case cases[] = {
        {std::nullopt, {"C"}, "--drive takes LETTER=HOSTDIR, not C"},
        {std::nullopt, {"C=/c", "=/x", "D"}, "--drive takes LETTER=HOSTDIR, not =/x"},
        {"nonsense", {"C"}, "BRISKO_DRIVES is not a list of LETTER=HOSTDIR entries: nonsense"},
    };
    for (const Case& c : cases) {
        try {
            buildDriveMap(c.variable, c.options, "/start");
            ADD_FAILURE() << "no error for " << c.error;
        } catch (const StartupError& failure) {
            EXPECT_EQ(failure.what(), c.error);
        }
    }
}

} // namespace
} // namespace brisko::run

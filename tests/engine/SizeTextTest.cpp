#include "engine/SizeText.h"

#include <cstdint>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <string>

namespace brisko::engine {
namespace {

TEST(FormatSizeTest, GroupsThousands) {
    struct Case {
        std::int64_t bytes;
        char separator;
        const char* text;
    };
    const Case cases[] = {
        {0, ',', "0"},
        {999, ',', "999"},
        {1000, ',', "1,000"},
        {1234567, ',', "1,234,567"},
        {1234567, '.', "1.234.567"},
        {1234567, '\0', "1234567"},
        {-1500, ',', "-1,500"},
        {-999, ',', "-999"},
        {5'000'000'000, ',', "5,000,000,000"}, // beyond 32 bits
        {std::numeric_limits<std::int64_t>::max(), ',', "9,223,372,036,854,775,807"},
        {std::numeric_limits<std::int64_t>::min(), ',', "-9,223,372,036,854,775,808"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatSize(c.bytes, c.separator), c.text) << c.bytes;
}

TEST(FormatSizesTest, SignsTheDelta) {
    struct Case {
        std::int64_t newSize;
        std::int64_t oldSize;
        const char* size;
        const char* delta;
    };
    const Case cases[] = {
        {2000, 1500, "2,000", "+500"}, {1500, 2000, "1,500", "-500"},
        {2000, 2000, "2,000", "0"},    {2000, 0, "2,000", "+2,000"}, // a missing target counts as 0
        {0, 4096, "0", "-4,096"},      {0, 0, "0", "0"},
    };
    for (const Case& c : cases) {
        const SizeTexts texts = formatSizes(c.newSize, c.oldSize, ',');
        EXPECT_EQ(texts.size, c.size) << c.newSize << " over " << c.oldSize;
        EXPECT_EQ(texts.delta, c.delta) << c.newSize << " over " << c.oldSize;
    }
}

// Sets LC_ALL for one test and puts the old value back afterwards.
class LocaleVariable {
public:
    explicit LocaleVariable(const char* value) {
        if (const char* old = std::getenv("LC_ALL"))
            old_ = old;
        setenv("LC_ALL", value, 1);
    }
    ~LocaleVariable() {
        if (old_)
            setenv("LC_ALL", old_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> old_;
};

TEST(LocaleThousandsSeparatorTest, CommaWhenTheLocaleDoesNotGroup) {
    LocaleVariable locale("C");
    EXPECT_EQ(localeThousandsSeparator(), ',');
}

TEST(LocaleThousandsSeparatorTest, CommaWhenTheLocaleCannotBeMade) {
    LocaleVariable locale("xx_NOWHERE.nothing");
    EXPECT_EQ(localeThousandsSeparator(), ',');
}

} // namespace
} // namespace brisko::engine

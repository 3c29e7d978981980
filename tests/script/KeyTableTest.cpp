#include "script/KeyTable.h"

#include "support/CasePrinter.h"

#include <gtest/gtest.h>

namespace brisko::script {
namespace {

TEST(KeyTable, EveryEntrySitsAtItsKeysPlaceAndIsFoundInAnyCase) {
    for (const KeyDefinition& definition : keyTable()) {
        EXPECT_EQ(&keyDefinition(definition.key), &definition) << definition.name;
        EXPECT_EQ(findKey(definition.name), definition.key);
    }
    EXPECT_EQ(findKey("sessionfiles"), Key::SessionFiles);
    EXPECT_EQ(findKey("COMPAREAFTERCOPY"), Key::CompareAfterCopy);
    EXPECT_EQ(findKey("Execute"), std::nullopt);
    EXPECT_EQ(findKey("L="), std::nullopt);
    EXPECT_EQ(findKey(""), std::nullopt);
}

TEST(KeyTable, AllowedValueListsAreSplitAndTrimmed) {
    EXPECT_EQ(keyDefinition(Key::BeforeCopy).allowedValues,
              (std::vector<std::string>{"NoPause", "Pause"}));
    EXPECT_EQ(keyDefinition(Key::UpdateMode).allowedValues,
              (std::vector<std::string>{"Update", "LMaster", "RMaster", "1LTR", "2RTL"}));
    EXPECT_TRUE(keyDefinition(Key::Message).allowedValues.empty());
}

struct AbbreviationCase {
    Key key;
    const char* value;
    std::optional<std::string> expected;
};

PRINT_CASE_AS(AbbreviationCase, keyDefinition(c.key).name << "=" << c.value);

class AllowedValueCases : public ::testing::TestWithParam<AbbreviationCase> {};

TEST_P(AllowedValueCases, FirstAllowedValueThatTheTextBeginsIsTaken) {
    const AbbreviationCase& c = GetParam();
    EXPECT_EQ(matchAllowedValue(keyDefinition(c.key), c.value), c.expected)
        << keyDefinition(c.key).name << "=" << c.value;
}

INSTANTIATE_TEST_SUITE_P(Abbreviations, AllowedValueCases,
                         ::testing::Values(AbbreviationCase{Key::UpdateMode, "lm", "LMaster"},
                                           AbbreviationCase{Key::UpdateMode, "U", "Update"},
                                           AbbreviationCase{Key::UpdateMode, "1", "1LTR"},
                                           AbbreviationCase{Key::UpdateMode, "2rtl", "2RTL"},
                                           AbbreviationCase{Key::UpdateMode, "X", std::nullopt},
                                           AbbreviationCase{Key::UpdateMode, "Updates",
                                                            std::nullopt},
                                           AbbreviationCase{Key::Compare, "b", "Binary"},
                                           AbbreviationCase{Key::Compare, "", std::nullopt},
                                           AbbreviationCase{Key::SubFolders, "e", "Excluded"},
                                           AbbreviationCase{Key::SubFolders, "y", "Yes"},
                                           AbbreviationCase{Key::BeforeCopy, "p", "Pause"},
                                           AbbreviationCase{Key::BeforeCopy, "no", "NoPause"},
                                           AbbreviationCase{Key::WhenFinish, "C", "Close"},
                                           AbbreviationCase{Key::MissingFolder, "s", "Skip"}));

} // namespace
} // namespace brisko::script

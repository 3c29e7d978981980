#include "script/ValueExpansion.h"

#include "support/CasePrinter.h"
#include "support/FixedEnvironment.h"
#include "support/ManualClock.h"

#include <gtest/gtest.h>

namespace brisko::script {
namespace {

using test::kFifthOfMarch2024;

struct DelimitedCase {
    const char* text;
    std::size_t start;
    std::size_t end;
    const char* token;
};

PRINT_CASE_AS(DelimitedCase, c.text);

class ExtractDelimitedCases : public ::testing::TestWithParam<DelimitedCase> {};

TEST_P(ExtractDelimitedCases, FindsPositionsCountedFromOne) {
    const DelimitedCase& c = GetParam();
    const char opening = std::string_view(c.text).find('%') != std::string_view::npos ? '%' : '{';
    const char closing = opening == '%' ? '%' : '}';
    const Delimited found = extractDelimited(c.text, opening, closing);
    EXPECT_EQ(found.start, c.start) << c.text;
    EXPECT_EQ(found.end, c.end) << c.text;
    EXPECT_EQ(found.token, c.token) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    ExtractDelimited, ExtractDelimitedCases,
    ::testing::Values(DelimitedCase{"A{DOW}B", 2, 6, "DOW"}, DelimitedCase{"{}", 1, 2, ""},
                      DelimitedCase{"text}more{DOW}", 10, 6, ""},
                      DelimitedCase{"no braces", 0, 0, ""}, DelimitedCase{"{open", 1, 0, ""},
                      DelimitedCase{"%TEMP%\\X", 1, 6, "TEMP"}, DelimitedCase{"%%", 1, 2, ""},
                      DelimitedCase{"X%A", 2, 0, ""}));

struct MacroCase {
    const char* name;
    std::time_t when;
    const char* expected;
};

PRINT_CASE_AS(MacroCase, c.name << " at " << c.when);

class DateMacroCases : public ::testing::TestWithParam<MacroCase> {};

TEST_P(DateMacroCases, GivesTheLocalDate) {
    const MacroCase& c = GetParam();
    test::ManualClock clock(c.when);
    EXPECT_EQ(expandDateMacro(c.name, clock), c.expected) << c.name << " at " << c.when;
}

INSTANTIATE_TEST_SUITE_P(
    DateMacros, DateMacroCases,
    ::testing::Values(
        MacroCase{"DAYNUM", kFifthOfMarch2024, "05"}, MacroCase{"DOW", kFifthOfMarch2024, "TUE"},
        MacroCase{"WEEK", kFifthOfMarch2024, "10"}, MacroCase{"MTHNUM", kFifthOfMarch2024, "03"},
        MacroCase{"MTHTXT", kFifthOfMarch2024, "MAR"}, MacroCase{"YEAR2", kFifthOfMarch2024, "02"},
        MacroCase{"YEAR4", kFifthOfMarch2024, "2024"}, MacroCase{"daynum", kFifthOfMarch2024, "05"},
        MacroCase{"UNKNOWN", kFifthOfMarch2024, ""},
        MacroCase{"WEEK", 1704067200, "01"},    // 1 January 2024
        MacroCase{"WEEK", 1704585600, "01"},    // 7 January 2024
        MacroCase{"WEEK", 1704672000, "02"},    // 8 January 2024
        MacroCase{"WEEK", 1735603200, "53"},    // 31 December 2024 (day 366)
        MacroCase{"DOW", 1704585600, "SUN"},    // 7 January 2024
        MacroCase{"MTHTXT", 1735603200, "DEC"}, // 31 December 2024
        MacroCase{"YEAR2", 946684800, "00"}));  // 1 January 2000

struct ExpansionCase {
    const char* value;
    const char* expected;
};

PRINT_CASE_AS(ExpansionCase, c.value);

class ValueExpansionCases : public ::testing::TestWithParam<ExpansionCase> {};

TEST_P(ValueExpansionCases, ExpandsDatesThenVariables) {
    const ExpansionCase& c = GetParam();
    test::ManualClock clock(kFifthOfMarch2024);
    test::FixedEnvironment environment({{"TEMP", "/tmp"},
                                        {"SELF", "%SELF%"},
                                        {"LOOP", "a%LOOP%b"},
                                        {"BRACE", "{DOW}"},
                                        {"EMPTY", ""}});
    EXPECT_EQ(expandValue(c.value, clock, environment), c.expected) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    ValueExpansion, ValueExpansionCases,
    ::testing::Values(
        ExpansionCase{"\\BACKUP\\{YEAR4}{MTHNUM}{DAYNUM}", "\\BACKUP\\20240305"},
        ExpansionCase{"{mthtxt}-{Dow}", "MAR-TUE"}, ExpansionCase{"{UNKNOWN}", ""},
        ExpansionCase{"A{UNKNOWN}B", "AB"},
        // "{}" stops the date loop; variables are still expanded.
        ExpansionCase{"{}{DOW}%TEMP%", "{}{DOW}/tmp"},
        ExpansionCase{"text}more{DOW}", "text}more{DOW}"}, ExpansionCase{"%TEMP%\\X", "/tmp\\X"},
        ExpansionCase{"%NOT_SET%\\X", "\\X"},
        ExpansionCase{"%temp%", ""}, // names are looked up as written
        ExpansionCase{"%%TEMP%", "%%TEMP%"}, ExpansionCase{"A%%B%TEMP%", "A%%B%TEMP%"},
        ExpansionCase{"%TEMP%%TEMP%", "/tmp/tmp"}, ExpansionCase{"%EMPTY%X", "X"},
        ExpansionCase{"%TEMP", "%TEMP"},
        // A value is inserted as it stands: neither searched for variables nor for macros.
        ExpansionCase{"%SELF%", "%SELF%"}, ExpansionCase{"%LOOP%|%TEMP%", "a%LOOP%b|/tmp"},
        ExpansionCase{"%BRACE%", "{DOW}"}));

TEST(ValueExpansion, ReadsLongVariablesWhole) {
    test::ManualClock clock(kFifthOfMarch2024);
    const std::string longValue(5000, 'L');
    test::FixedEnvironment environment({{"LONG", longValue}});
    EXPECT_EQ(expandValue("%LONG%!", clock, environment), longValue + "!");
}

TEST(ValueExpansion, ExpandsManyReferencesInOnePass) {
    test::ManualClock clock(kFifthOfMarch2024);
    test::FixedEnvironment environment;
    environment.set("SELF", "%SELF%");
    std::string value;
    std::string expected;
    for (int i = 0; i < 28000; ++i) {
        value += "{DOW}%SELF%{X}.";
        expected += "TUE%SELF%.";
    }
    EXPECT_EQ(expandValue(value, clock, environment), expected);
}

} // namespace
} // namespace brisko::script

#include "script/SplitList.h"

#include "support/CasePrinter.h"

#include <gtest/gtest.h>

namespace brisko::script {
namespace {

struct SplitCase {
    const char* text;
    const char* separators;
    std::vector<std::string> items;
};

PRINT_CASE_AS(SplitCase, "\"" << c.text << "\"");

class SplitListCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitListCases, TrimsItemsAndDropsEmptyOnes) {
    const SplitCase& c = GetParam();
    EXPECT_EQ(splitList(c.text, c.separators), c.items) << "text: \"" << c.text << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    SplitList, SplitListCases,
    ::testing::Values(SplitCase{"", ",", {}}, SplitCase{" , ,, ", ",", {}},
                      SplitCase{"NoPause, Pause", ",;", {"NoPause", "Pause"}},
                      SplitCase{"DB1;DB2,DB3", ",;", {"DB1", "DB2", "DB3"}},
                      SplitCase{" *.CDX ,\t*.PX\t", ",", {"*.CDX", "*.PX"}},
                      SplitCase{"C:,20,extra", ",", {"C:", "20", "extra"}},
                      SplitCase{"C:\\PROGRA~1\\\\X\\", "\\", {"C:", "PROGRA~1", "X"}},
                      SplitCase{"notepad  a.txt b", " ", {"notepad", "a.txt", "b"}},
                      SplitCase{"a;b", ",", {"a;b"}}));

TEST(Trim, RemovesBlanksAndControlCharactersButKeepsUtf8) {
    EXPECT_EQ(trim("\t  Execute \r\n"), "Execute");
    EXPECT_EQ(trim("\x01\x1f"), "");
    EXPECT_EQ(trim(" \xc3\xbc "), "\xc3\xbc"); // ü keeps both of its bytes
    EXPECT_EQ(trim("a b"), "a b");
}

} // namespace
} // namespace brisko::script

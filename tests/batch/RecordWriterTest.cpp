#include "batch/RecordWriter.h"

#include <gtest/gtest.h>
#include <sstream>

namespace brisko::batch {
namespace {

TEST(RecordWriter, SeparatesFieldsByTabAndKeepsOneLine) {
    std::ostringstream out;
    writeRecord(out, {"row", "-", "Message", "=", "two\tparts\r\nand more"});
    writeRecord(out, {"errors", "0"});
    EXPECT_EQ(out.str(), "row\t-\tMessage\t=\ttwo parts  and more\nerrors\t0\n");
}

TEST(RecordWriter, KeepsEmptyFields) {
    std::ostringstream out;
    writeRecord(out, {"row", "-", "", "", ";comment"});
    EXPECT_EQ(out.str(), "row\t-\t\t\t;comment\n");
}

TEST(RecordWriter, EscapesControlCharactersAndKeepsUtf8) {
    struct FieldCase {
        std::string_view field;
        std::string_view written;
    };
    using namespace std::string_view_literals;
    const FieldCase cases[] = {
        {"C:\\A\x01"sv, "C:\\A\\x01"sv}, // a backslash stays as it is
        {"\x01\x1B[2J"sv, "\\x01\\x1B[2J"sv},
        {"\x00\x1F\x7F"sv, "\\x00\\x1F\\x7F"sv},
        {"caf\xC3\xA9 \xE2\x82\xAC"sv, "caf\xC3\xA9 \xE2\x82\xAC"sv},
    };
    for (const FieldCase& c : cases) {
        std::ostringstream out;
        writeRecord(out, {"history", c.field});
        EXPECT_EQ(out.str(), "history\t" + std::string(c.written) + "\n") << c.field;
    }
}

} // namespace
} // namespace brisko::batch

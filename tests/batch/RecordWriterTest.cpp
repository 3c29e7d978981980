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

} // namespace
} // namespace brisko::batch

#include "platform/Unicode.h"

#include <gtest/gtest.h>

namespace brisko::platform {
namespace {

struct TextCase {
    std::string input;
    std::string expected;
};
// Bytes as a test name shows them: printable ASCII as it is, the rest as \xHH.
void printBytes(const std::string& bytes, std::ostream* os) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            *os << c;
        else
            *os << "\\x" << kHex[byte >> 4] << kHex[byte & 0xF];
    }
}

void PrintTo(const TextCase& c, std::ostream* os) {
    printBytes(c.input, os);
}

class ToUpperTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ToUpperTest, UpperCases) {
    EXPECT_EQ(toUpper(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, ToUpperTest,
    ::testing::Values(TextCase{"abc xyz 019", "ABC XYZ 019"},
                      TextCase{"über àéîõø þ", "ÜBER ÀÉÎÕØ Þ"}, // Latin-1 Supplement
                      TextCase{"÷ × µ", "÷ × µ"},               // signs stay
                      TextCase{"ß", "ß"},                       // no single capital
                      TextCase{"ÿ", "Ÿ"},                       // capital lives in Extended-A
                      TextCase{"ąčęłńśźżőűĳŋ", "ĄČĘŁŃŚŹŻŐŰĲŊ"}, // Latin Extended-A
                      TextCase{"ı", "ı"},                       // would fold into ASCII
                      TextCase{"αβγ ως άέήίόύώ ϊ", "ΑΒΓ ΩΣ ΆΈΉΊΌΎΏ Ϊ"}, // Greek
                      TextCase{"привет ёђ ґ ӂ ӑ", "ПРИВЕТ ЁЂ Ґ Ӂ Ӑ"},   // Cyrillic
                      TextCase{"ÄBC", "ÄBC"}));

INSTANTIATE_TEST_SUITE_P(InvalidBytesKept, ToUpperTest,
                         ::testing::Values(TextCase{"a\xFF"
                                                    "b",
                                                    "A\xFF"
                                                    "B"},
                                           TextCase{"x\xC3", "X\xC3"},           // cut short
                                           TextCase{"\xC0\xAFz", "\xC0\xAFZ"},   // overlong
                                           TextCase{"\xE9t\xE9", "\xE9T\xE9"})); // 1252

TEST(EqualsIgnoreCaseTest, ComparesUnicodeAware) {
    EXPECT_TRUE(equalsIgnoreCase("Übersicht", "ÜBERSICHT"));
    EXPECT_TRUE(equalsIgnoreCase("übersicht", "ÜBERSICHT"));
    EXPECT_TRUE(equalsIgnoreCase("ΟΔΟΣ", "οδος"));
    EXPECT_TRUE(equalsIgnoreCase("σ", "ς"));
    EXPECT_FALSE(equalsIgnoreCase("straße", "STRASSE"));
    EXPECT_FALSE(equalsIgnoreCase("abc", "abcd"));
    EXPECT_FALSE(equalsIgnoreCase("\xFC", "\xDC")); // invalid UTF-8 is compared as bytes
}

struct Utf8Case {
    std::string bytes;
    bool valid;
};
void PrintTo(const Utf8Case& c, std::ostream* os) {
    printBytes(c.bytes, os);
}

class Utf8ValidityTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ValidityTest, Validates) {
    EXPECT_EQ(isValidUtf8(GetParam().bytes), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Sequences, Utf8ValidityTest,
                         ::testing::Values(Utf8Case{"", true}, Utf8Case{"plain", true},
                                           Utf8Case{"Ü€😀", true}, Utf8Case{"\xC0\xAF", false},
                                           Utf8Case{"\xE0\x80\xAF", false},     // overlong
                                           Utf8Case{"\xED\xA0\x80", false},     // surrogate
                                           Utf8Case{"\xF4\x90\x80\x80", false}, // > U+10FFFF
                                           Utf8Case{"\x80", false},             // stray
                                           Utf8Case{"\xE2\x82", false},         // cut short
                                           Utf8Case{"Gr\xFC\xDF", false}));

class Windows1252Test : public ::testing::TestWithParam<TextCase> {};

TEST_P(Windows1252Test, Converts) {
    EXPECT_EQ(windows1252ToUtf8(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, Windows1252Test,
                         ::testing::Values(TextCase{"plain", "plain"}, TextCase{"\x80", "€"},
                                           TextCase{"\x8A\x8C\x8E\x9F", "ŠŒŽŸ"},
                                           TextCase{"\x93quoted\x94", "“quoted”"},
                                           TextCase{"\x96\x97\x99", "–—™"},
                                           TextCase{"\x81\x9D", "\xC2\x81\xC2\x9D"}, // undefined
                                           TextCase{"\xA0\xE9\xFF", "\xC2\xA0"
                                                                    "éÿ"}));

TEST(DecodeTextTest, TakesUtf8AsItIs) {
    EXPECT_EQ(decodeText("Grüße €"), "Grüße €");
}

TEST(DecodeTextTest, FallsBackToWindows1252) {
    EXPECT_EQ(decodeText("Gr\xFC\xDF"
                         "e \x80"),
              "Grüße €");
}

TEST(DecodeTextTest, DropsTheByteOrderMark) {
    EXPECT_EQ(decodeText("\xEF\xBB\xBFKey=Wert"), "Key=Wert");
    EXPECT_EQ(decodeText("\xEF\xBB\xBF"), "");
    EXPECT_EQ(decodeText("a\xEF\xBB\xBF"), "a\xEF\xBB\xBF"); // only a leading one
}

} // namespace
} // namespace brisko::platform

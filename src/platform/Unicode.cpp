#include "platform/Unicode.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace brisko::platform {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

unsigned char byteAt(std::string_view text, std::size_t pos) {
    return static_cast<unsigned char>(text[pos]);
}

bool isContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Decodes the code point that starts at pos. Returns its length in bytes, or 0 when the bytes
// there are not valid UTF-8 (overlong forms, surrogates and values past U+10FFFF included).
std::size_t decodeAt(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const unsigned char lead = byteAt(text, pos);
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80; // allowed range of the second byte
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (pos + length > text.size())
        return 0;
    const unsigned char second = byteAt(text, pos + 1);
    if (second < low || second > high)
        return 0;
    char32_t value = lead & (0xFFu >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char next = byteAt(text, pos + i);
        if (!isContinuation(next))
            return 0;
        value = (value << 6) | (next & 0x3Fu);
    }
    codePoint = value;
    return length;
}

void appendUtf8(std::string& out, char32_t codePoint) {
    auto put = [&out](char32_t bits) { out.push_back(static_cast<char>(bits)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

// Windows-1252 bytes 0x80..0x9F; the five undefined ones keep their C1 code points.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool inRange(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last;
}

// In blocks where capital and small letters alternate, the small letter is the one whose
// parity differs from that of the block's first (capital) letter.
char32_t upperOfAlternating(char32_t c, char32_t firstCapital) {
    return ((c - firstCapital) % 2 == 1) ? c - 1 : c;
}

// Upper case of one code point: Latin-1 Supplement, Latin Extended-A, Greek and Cyrillic.
// Letters whose capital would change the text's length or fold into ASCII (ß, ŉ, ı, ſ, ΐ, ΰ)
// stay as they are; so does the micro sign.
char32_t upperOf(char32_t c) {
    if (c < 0x80)
        return (c >= 'a' && c <= 'z') ? c - 0x20 : c;
    if (inRange(c, 0xE0, 0xFE) && c != 0xF7)
        return c - 0x20;
    if (c == 0xFF)
        return 0x178;
    if (inRange(c, 0x100, 0x12F) || inRange(c, 0x132, 0x137))
        return upperOfAlternating(c, 0x100);
    if (inRange(c, 0x139, 0x148))
        return upperOfAlternating(c, 0x139);
    if (inRange(c, 0x14A, 0x177))
        return upperOfAlternating(c, 0x14A);
    if (inRange(c, 0x179, 0x17E))
        return upperOfAlternating(c, 0x179);
    if (inRange(c, 0x3B1, 0x3CB) && c != 0x3C2)
        return c - 0x20;
    switch (c) {
    case 0x3C2: // final sigma
        return 0x3A3;
    case 0x3AC:
        return 0x386;
    case 0x3AD:
        return 0x388;
    case 0x3AE:
        return 0x389;
    case 0x3AF:
        return 0x38A;
    case 0x3CC:
        return 0x38C;
    case 0x3CD:
        return 0x38E;
    case 0x3CE:
        return 0x38F;
    case 0x4CF:
        return 0x4C0;
    default:
        break;
    }
    if (inRange(c, 0x430, 0x44F))
        return c - 0x20;
    if (inRange(c, 0x450, 0x45F))
        return c - 0x50;
    if (inRange(c, 0x460, 0x481) || inRange(c, 0x48A, 0x4BF))
        return upperOfAlternating(c, 0x460);
    if (inRange(c, 0x4C1, 0x4CE))
        return upperOfAlternating(c, 0x4C1);
    if (inRange(c, 0x4D0, 0x52F))
        return upperOfAlternating(c, 0x4D0);
    return c;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    char32_t ignored = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::size_t length = decodeAt(bytes, pos, ignored);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char ch : bytes) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80)
            out.push_back(ch);
        else if (byte < 0xA0)
            appendUtf8(out, kWindows1252High[byte - 0x80u]);
        else
            appendUtf8(out, byte);
    }
    return out;
}

std::string decodeText(std::string_view bytes) {
    if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        bytes.remove_prefix(kByteOrderMark.size());
    if (isValidUtf8(bytes))
        return std::string(bytes);
    return windows1252ToUtf8(bytes);
}

std::string toUpper(std::string_view text) {
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) { // most names: their letters are folded without decoding
        std::string out(text);
        for (char& c : out) {
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - ('a' - 'A'));
        }
        return out;
    }
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t codePoint = 0;
        const std::size_t length = decodeAt(text, pos, codePoint);
        if (length == 0) {
            out.push_back(text[pos]); // not UTF-8: kept as it is
            ++pos;
            continue;
        }
        appendUtf8(out, upperOf(codePoint));
        pos += length;
    }
    return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a == b || toUpper(a) == toUpper(b);
}

} // namespace brisko::platform

#include "batch/RecordWriter.h"

namespace brisko::batch {

namespace {

// One character of a field: TAB, CR and LF become a blank, other control characters a visible
// "\xHH", so that no name can break a record or drive the terminal. UTF-8 bytes pass as they are.
void appendFieldCharacter(std::string& line, char c) {
    if (c == '\t' || c == '\r' || c == '\n') {
        line += ' ';
        return;
    }
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
        line += c;
        return;
    }
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    line += "\\x";
    line += kHexDigits[byte >> 4];
    line += kHexDigits[byte & 0x0F];
}

} // namespace

void writeRecord(std::ostream& out, std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            line += '\t';
        first = false;
        for (char c : field)
            appendFieldCharacter(line, c);
    }
    line += '\n';
    out << line;
    out.flush();
}

} // namespace brisko::batch

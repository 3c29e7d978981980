#include "batch/RecordWriter.h"

namespace brisko::batch {

void writeRecord(std::ostream& out, std::initializer_list<std::string_view> fields) {
    std::string line;
    bool first = true;
    for (std::string_view field : fields) {
        if (!first)
            line += '\t';
        first = false;
        for (char c : field)
            line += (c == '\t' || c == '\r' || c == '\n') ? ' ' : c;
    }
    line += '\n';
    out << line;
    out.flush();
}

} // namespace brisko::batch

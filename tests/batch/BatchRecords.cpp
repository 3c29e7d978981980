#include "BatchProcess.h"

namespace brisko::test {

Records records(const std::string& out) {
    std::vector<std::vector<std::string>> result;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::vector<std::string> fields;
        std::size_t fieldStart = start;
        while (true) {
            std::size_t tab = out.find('\t', fieldStart);
            if (tab == std::string::npos || tab > end) {
                fields.push_back(out.substr(fieldStart, end - fieldStart));
                break;
            }
            fields.push_back(out.substr(fieldStart, tab - fieldStart));
            fieldStart = tab + 1;
        }
        result.push_back(std::move(fields));
        start = end + 1;
    }
    return result;
}

Records only(const Records& all, const std::string& name) {
    Records picked;
    for (const auto& record : all)
        if (!record.empty() && record[0] == name)
            picked.push_back(record);
    return picked;
}

} // namespace brisko::test

#include "platform/PathNames.h"

namespace brisko::platform {

void appendPathNames(std::string_view text, std::size_t floor, std::vector<std::string>& names) {
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = pos;
        while (end < text.size() && !isPathSeparator(text[end]))
            ++end;
        const std::string_view name = text.substr(pos, end - pos);
        if (name == "..") {
            if (names.size() > floor)
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        pos = end + 1;
    }
}

namespace {

std::size_t lastSeparator(std::string_view host) {
    for (std::size_t i = host.size(); i-- > 0;)
        if (isPathSeparator(host[i]))
            return i;
    return std::string_view::npos;
}

} // namespace

std::string_view hostFolderOf(std::string_view host) {
    const std::size_t separator = lastSeparator(host);
    if (separator == std::string_view::npos)
        return {};
    const std::string_view folder = host.substr(0, separator);
    if (folder.empty() || folder.back() == ':')
        return host.substr(0, separator + 1); // the root itself
    return folder;
}

std::string_view hostNameOf(std::string_view host) {
    const std::size_t separator = lastSeparator(host);
    return separator == std::string_view::npos ? host : host.substr(separator + 1);
}

} // namespace brisko::platform

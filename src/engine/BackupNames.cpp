#include "engine/BackupNames.h"

#include "script/SplitList.h"

namespace brisko::engine {

std::vector<std::string> backupExtensions(std::string_view backupList) {
    return script::splitList(backupList, ",;");
}

std::string backupPath(std::string_view folder, std::string_view name, std::string_view extension) {
    // A leading dot belongs to the base name: otherwise every dot-file of a folder would share
    // one backup name, and rotating one file's backups would drop another's.
    const std::size_t dot = name.find('.', name.empty() ? 0 : 1);
    const std::string_view base = name.substr(0, dot);
    std::string path;
    path.reserve(folder.size() + base.size() + extension.size() + 2);
    path.append(folder).append(1, '\\').append(base).append(1, '.').append(extension);
    return path;
}

} // namespace brisko::engine

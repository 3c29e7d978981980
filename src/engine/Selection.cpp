#include "engine/Selection.h"

#include "platform/Unicode.h"

namespace brisko::engine {

namespace {

// The FileSpec record that applies to a file name (the master record "*.*" when the tables
// hold none).
const script::FileSpec& fileSpecOf(const script::FileSpecTables& tables,
                                   const FileSpecMatcher& matcher, std::string_view name) {
    static const script::FileSpec kMasterRecord = [] {
        script::FileSpec record;
        record.mask = "*.*";
        return record;
    }();
    const std::size_t index = matcher.find(name);
    return index < tables.fileSpecs.size() ? tables.fileSpecs[index] : kMasterRecord;
}

} // namespace

bool isTemporaryName(std::string_view name) {
    return !name.empty() && name.front() == '$' &&
           platform::equalsIgnoreCase(name, script::kTempFileName);
}

const script::FileSpec* selectedFileSpec(const script::SessionSettings& settings,
                                         const FileSpecMatcher& specs, std::string_view name,
                                         std::string_view folder, std::string_view sourceRoot,
                                         bool masterScan) {
    if (isTemporaryName(name))
        return nullptr;
    // "*.*" selects every name, so the usual mask needs no test.
    if (!masterScan && settings.sessionFiles != "*.*" && !maskMatch(name, settings.sessionFiles))
        return nullptr;
    if (isExcluded(settings.tables, name, folder, false, sourceRoot))
        return nullptr;
    const script::FileSpec& spec = fileSpecOf(settings.tables, specs, name);
    return spec.process ? &spec : nullptr;
}

bool entersFolder(const script::SessionSettings& settings, std::string_view name,
                  std::string_view folder, std::string_view sourceRoot) {
    return settings.subFolders && !isExcluded(settings.tables, name, folder, true, sourceRoot);
}

} // namespace brisko::engine

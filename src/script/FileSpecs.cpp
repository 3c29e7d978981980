#include "script/FileSpecs.h"

#include "script/KeyTable.h"
#include "script/SplitList.h"

#include <algorithm>
#include <unordered_map>

namespace brisko::script {

namespace {

// A new record takes the defaults, not the master record's settings.
FileSpec newFileSpec(std::string mask) {
    FileSpec spec;
    spec.mask = std::move(mask);
    return spec;
}

} // namespace

void FileSpecTables::reset() {
    FileSpec temporaryFile = newFileSpec(std::string(kTempFileName));
    temporaryFile.process = false; // copies in progress are never processed themselves
    fileSpecs = {newFileSpec("*.*"), temporaryFile};
    currentFileSpec = 0;
    exclusions.clear();
}

namespace {

void selectFileSpec(FileSpecTables& tables, std::string_view mask) {
    auto found = std::find_if(tables.fileSpecs.begin(), tables.fileSpecs.end(),
                              [&](const FileSpec& spec) { return spec.mask == mask; });
    if (found == tables.fileSpecs.end()) {
        tables.fileSpecs.push_back(newFileSpec(std::string(mask)));
        found = std::prev(tables.fileSpecs.end());
    }
    tables.currentFileSpec = static_cast<std::size_t>(found - tables.fileSpecs.begin());
}

MissingFileRule missingFileRule(std::string_view value, MissingFileRule standing) {
    if (value == "ASK")
        return MissingFileRule::Ask;
    if (value == "CREATE")
        return MissingFileRule::Create;
    if (value == "DELETE")
        return MissingFileRule::Delete;
    return standing;
}

} // namespace

void applyFileSpecKey(FileSpecTables& tables, std::string_view key, std::string_view value) {
    const std::optional<Key> found = findKey(key);
    if (!found)
        return;
    if (*found == Key::FileSpec) {
        selectFileSpec(tables, value);
        return;
    }
    FileSpec& current = tables.fileSpecs.at(tables.currentFileSpec);
    switch (*found) {
    case Key::Compare:
        current.compare = value == "DATESIZE" ? CompareRule::DateSize : CompareRule::Binary;
        break;
    case Key::Backup: {
        current.backup = std::string(value);
        const std::string owner = current.mask; // the table may grow below
        applyExclusions(tables, value, owner);
        break;
    }
    case Key::MissingFile:
        current.missingFile = missingFileRule(value, current.missingFile);
        break;
    case Key::Ignore:
        current.process = value != "YES";
        break;
    default:
        break;
    }
}

void applyExclusions(FileSpecTables& tables, std::string_view list, std::string_view owner) {
    const std::vector<std::string> items = splitList(list, ",;");
    if (owner.empty()) {
        for (ExcludeEntry& entry : tables.exclusions)
            entry.inForce = false;
    }
    // The entries by mask, so that a long list costs no more than one pass over the table.
    std::unordered_multimap<std::string, std::size_t> byMask;
    byMask.reserve(tables.exclusions.size() + items.size());
    for (std::size_t i = 0; i < tables.exclusions.size(); ++i)
        byMask.emplace(tables.exclusions[i].mask, i);

    for (const std::string& item : items) {
        std::string mask = owner.empty() ? item : "*." + item;
        const auto [first, last] = byMask.equal_range(mask);
        for (auto found = first; found != last; ++found) {
            ExcludeEntry& entry = tables.exclusions[found->second];
            if (owner.empty())
                entry.inForce = true;
            else
                entry.backupOf = std::string(owner);
        }
        if (first == last) {
            byMask.emplace(mask, tables.exclusions.size());
            tables.exclusions.push_back(ExcludeEntry{
                .mask = std::move(mask), .inForce = owner.empty(), .backupOf = std::string(owner)});
        }
    }
}

} // namespace brisko::script

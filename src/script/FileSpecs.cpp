#include "script/FileSpecs.h"

#include "script/KeyTable.h"
#include "script/SplitList.h"

#include <algorithm>

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
    for (const std::string& item : items) {
        const std::string mask = owner.empty() ? item : "*." + item;
        bool known = false;
        for (ExcludeEntry& entry : tables.exclusions) {
            if (entry.mask != mask)
                continue;
            known = true;
            if (owner.empty())
                entry.inForce = true;
            else
                entry.backupOf = std::string(owner);
        }
        if (!known) {
            tables.exclusions.push_back(ExcludeEntry{
                .mask = mask, .inForce = owner.empty(), .backupOf = std::string(owner)});
        }
    }
}

} // namespace brisko::script

#include "script/KeyTable.h"

#include "platform/Unicode.h"
#include "script/SplitList.h"

namespace brisko::script {

namespace {

KeyDefinition define(Key key, std::string name, std::string_view allowedList = {}) {
    return KeyDefinition{key, std::move(name), splitList(allowedList, ",;")};
}

std::array<KeyDefinition, kKeyCount> buildKeyTable() {
    return {
        define(Key::Message, "Message"),
        define(Key::ExitFolder, "ExitFolder"),
        define(Key::ExitProgram, "ExitProgram"),
        define(Key::FileSpecLibrary, "FileSpecLibrary"),
        define(Key::Include, "Include"),
        define(Key::IncludeTry, "IncludeTry"),
        define(Key::FileSpec, "FileSpec"),
        define(Key::Compare, "Compare", "DateSize,Binary"),
        define(Key::Backup, "Backup"),
        define(Key::MissingFile, "MissingFile", "Ask,Create,Delete"),
        define(Key::Ignore, "Ignore", "Yes,No"),
        define(Key::SessionFiles, "SessionFiles"),
        define(Key::RightPath, "RightPath"),
        define(Key::LeftPath, "LeftPath"),
        define(Key::RightRoot, "RightRoot"),
        define(Key::LeftRoot, "LeftRoot"),
        define(Key::Exclude, "Exclude"),
        define(Key::UpdateMode, "UpdateMode", "Update,LMaster,RMaster,1LTR,2RTL"),
        define(Key::SubFolders, "SubFolders", "Included,Excluded,Yes,No"),
        define(Key::MissingFolder, "MissingFolder", "UserAsk,Auto,Skip"),
        define(Key::LeftWrite, "LeftWrite"),
        define(Key::RightWrite, "RightWrite"),
        define(Key::Title, "Title"),
        define(Key::WhenFinish, "WhenFinish", "Stay,Close"),
        define(Key::BeforeCopy, "BeforeCopy", "NoPause, Pause"),
        define(Key::CompareAfterCopy, "CompareAfterCopy", "Yes,No"),
    };
}

} // namespace

const std::array<KeyDefinition, kKeyCount>& keyTable() {
    static const std::array<KeyDefinition, kKeyCount> table = buildKeyTable();
    return table;
}

const KeyDefinition& keyDefinition(Key key) {
    return keyTable()[static_cast<std::size_t>(key)];
}

std::optional<Key> findKey(std::string_view name) {
    for (const KeyDefinition& definition : keyTable()) {
        if (platform::equalsIgnoreCase(definition.name, name))
            return definition.key;
    }
    return std::nullopt;
}

std::optional<std::string> matchAllowedValue(const KeyDefinition& definition,
                                             std::string_view value) {
    if (value.empty())
        return std::nullopt;
    const std::string wanted = platform::toUpper(value);
    for (const std::string& allowed : definition.allowedValues) {
        if (platform::toUpper(allowed).starts_with(wanted))
            return allowed;
    }
    return std::nullopt;
}

} // namespace brisko::script

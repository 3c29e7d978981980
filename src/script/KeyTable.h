#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::script {

// The 26 keys of the script language, in table order.
enum class Key {
    Message,
    ExitFolder,
    ExitProgram,
    FileSpecLibrary,
    Include,
    IncludeTry,
    FileSpec,
    Compare,
    Backup,
    MissingFile,
    Ignore,
    SessionFiles,
    RightPath,
    LeftPath,
    RightRoot,
    LeftRoot,
    Exclude,
    UpdateMode,
    SubFolders,
    MissingFolder,
    LeftWrite,
    RightWrite,
    Title,
    WhenFinish,
    BeforeCopy,
    CompareAfterCopy,
};

inline constexpr int kKeyCount = 26;

struct KeyDefinition {
    Key key;
    std::string name;                       // mixed-case spelling, e.g. "SessionFiles"
    std::vector<std::string> allowedValues; // empty: a free value
};

const std::array<KeyDefinition, kKeyCount>& keyTable();
const KeyDefinition& keyDefinition(Key key);
// The key of that name, compared without regard to case.
std::optional<Key> findKey(std::string_view name);
// The first allowed value (in list order and spelling) that the value, ignoring case, begins;
// nothing for an empty value or no match.
std::optional<std::string> matchAllowedValue(const KeyDefinition& definition,
                                             std::string_view value);

} // namespace brisko::script

#pragma once

#include "script/KeyTable.h"

#include <string>
#include <string_view>

namespace brisko::script {

// Why a script line is not understood, in words that show the way to the fix.

// A line without '=' that is neither a comment nor a command.
std::string lineWithoutSign(std::string_view line);
// A key that is not in the table, with the nearest key when one is close.
std::string unknownKey(std::string_view keyText);
// A value that is not one of the key's allowed values, with the list.
std::string valueNotAllowed(const KeyDefinition& definition, std::string_view value);
// A root or path written as a host folder (/tmp/home, ./home, ~/x), which a script cannot
// name: empty when the value is a drive-form root or path. home stands for a leading '~'.
std::string hostFolderValue(Key key, std::string_view value, std::string_view home);

} // namespace brisko::script

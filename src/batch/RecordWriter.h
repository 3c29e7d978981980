#pragma once

#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>

namespace brisko::batch {

// Writes one record: the fields separated by a TAB, ended by a line break. A TAB, CR or LF
// inside a field is written as a blank so that a record always stays one line; any other
// control character is written as "\xHH" (two upper-case hex digits).
void writeRecord(std::ostream& out, std::initializer_list<std::string_view> fields);

} // namespace brisko::batch

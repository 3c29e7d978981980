#include "script/ValueExpansion.h"

#include "platform/DosStamp.h"
#include "platform/Unicode.h"

#include <array>

namespace brisko::script {

namespace {

std::string twoDigits(int number) {
    std::string text = std::to_string(number);
    return text.size() < 2 ? "0" + text : text;
}

// Deletes the delimited token with its delimiters and puts the replacement in its place;
// returns the index just after the replacement.
std::size_t replaceDelimited(std::string& text, std::size_t offset, const Delimited& found,
                             std::string_view replacement) {
    const std::size_t first = offset + found.start - 1;
    text.replace(first, found.end - found.start + 1, replacement);
    return first + replacement.size();
}

} // namespace

Delimited extractDelimited(std::string_view text, char opening, char closing) {
    Delimited result;
    const std::size_t open = text.find(opening);
    std::string rest(text);
    if (open != std::string_view::npos) {
        result.start = open + 1;
        rest.erase(open, 1);
    }
    // The closing character is searched with the opening one removed, so the same character
    // can serve as both; its position is then the one in the unchanged text.
    const std::size_t close = rest.find(closing);
    if (close != std::string::npos)
        result.end = close + 2;
    if (result.start != 0 && result.end > result.start + 1)
        result.token = std::string(text.substr(result.start, result.end - result.start - 1));
    return result;
}

std::string expandDateMacro(std::string_view name, const platform::Clock& clock) {
    static constexpr std::array<const char*, 7> kDays = {"SUN", "MON", "TUE", "WED",
                                                         "THU", "FRI", "SAT"};
    static constexpr std::array<const char*, 12> kMonths = {
        "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

    const std::string macro = platform::toUpper(name);
    const platform::LocalDateTime today = platform::localDateTime(clock.now());
    if (macro == "DAYNUM")
        return twoDigits(today.day);
    if (macro == "DOW")
        return kDays[static_cast<std::size_t>(today.weekday % 7)];
    if (macro == "WEEK")
        return twoDigits((today.yearDay + 6) / 7);
    if (macro == "MTHNUM")
        return twoDigits(today.month);
    if (macro == "MTHTXT")
        return kMonths[static_cast<std::size_t>((today.month + 11) % 12)];
    if (macro == "YEAR2" || macro == "YEAR4") {
        std::string year = std::to_string(today.year);
        year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
        // The second and third characters of the year, not its last two digits.
        return macro == "YEAR4" ? year : year.substr(1, 2);
    }
    return {};
}

std::string expandValue(std::string_view value, const platform::Clock& clock,
                        const platform::Environment& environment) {
    std::string text(value);

    // Date macros: the loop ends at the first empty token ("{}", a lone or misplaced brace).
    for (Delimited found = extractDelimited(text, '{', '}'); !found.token.empty();
         found = extractDelimited(text, '{', '}')) {
        replaceDelimited(text, 0, found, expandDateMacro(found.token, clock));
    }

    // Environment variables: the search goes on after each inserted value, so a value that
    // holds a reference (to itself, say) is taken as it stands and cannot loop.
    std::size_t offset = 0;
    for (Delimited found = extractDelimited(text, '%', '%'); !found.token.empty();
         found = extractDelimited(std::string_view(text).substr(offset), '%', '%')) {
        const std::optional<std::string> variable = environment.get(found.token);
        offset = replaceDelimited(text, offset, found, variable.value_or(std::string()));
    }
    return text;
}

} // namespace brisko::script

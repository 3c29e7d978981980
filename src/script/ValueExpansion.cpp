#include "script/ValueExpansion.h"

#include "platform/DosStamp.h"
#include "platform/Unicode.h"

#include <array>
#include <optional>

namespace brisko::script {

namespace {

std::string twoDigits(int number) {
    std::string text = std::to_string(number);
    return text.size() < 2 ? "0" + text : text;
}

// The next token between an opening and a closing character, searched from a position on: the
// first opening character and the first closing character after it. None (nullopt) when either
// is missing, when a closing character comes first, or when the token between them is empty.
struct Token {
    std::size_t open;  // index of the opening character
    std::size_t close; // index of the closing character
};
std::optional<Token> nextToken(std::string_view text, std::size_t from, char opening,
                               char closing) {
    const std::size_t open = text.find(opening, from);
    if (open == std::string_view::npos)
        return std::nullopt;
    const std::size_t firstClose = text.find(closing, from);
    if (firstClose != std::string_view::npos && firstClose < open)
        return std::nullopt;
    const std::size_t close = text.find(closing, open + 1);
    if (close == std::string_view::npos || close == open + 1)
        return std::nullopt;
    return Token{open, close};
}

// Replaces every token in one pass, building the result: the text before each token, then its
// replacement. Replacements are never searched again; the first place where no token follows
// ends the replacing, and the rest is kept as it stands.
template <typename Replace>
std::string replaceTokens(std::string_view text, char opening, char closing, Replace replace) {
    std::string result;
    result.reserve(text.size());
    std::size_t from = 0;
    while (const std::optional<Token> token = nextToken(text, from, opening, closing)) {
        result.append(text.substr(from, token->open - from));
        result += replace(text.substr(token->open + 1, token->close - token->open - 1));
        from = token->close + 1;
    }
    result.append(text.substr(from));
    return result;
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
    // Date macros first: an empty token ("{}", a lone or misplaced brace) ends them. A
    // replacement holds no braces, so the search goes on after it as over the rebuilt text.
    const std::string dated = replaceTokens(
        value, '{', '}', [&](std::string_view name) { return expandDateMacro(name, clock); });

    // Then environment variables, over the text with its dates: a value inserted is taken as it
    // stands (it may refer to itself) and cannot loop.
    return replaceTokens(dated, '%', '%', [&](std::string_view name) {
        return environment.get(std::string(name)).value_or(std::string());
    });
}

} // namespace brisko::script

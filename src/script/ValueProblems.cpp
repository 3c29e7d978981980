#include "script/ValueProblems.h"

#include "platform/Unicode.h"
#include "script/SplitList.h"

#include <algorithm>
#include <vector>

namespace brisko::script {

namespace {

// The number of single-character edits that turn one upper-cased text into the other.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string listOf(const std::vector<std::string>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += i + 1 == values.size() ? " or " : ", ";
        text += values[i];
    }
    return text;
}

bool isCommandName(std::string_view text) {
    return platform::equalsIgnoreCase(text, "EXECUTE") || platform::equalsIgnoreCase(text, "RESET");
}

} // namespace

std::string lineWithoutSign(std::string_view line) {
    const std::string upper = platform::toUpper(line);
    for (const KeyDefinition& definition : keyTable()) {
        const std::string name = platform::toUpper(definition.name);
        if (upper.starts_with(name) && (upper.size() == name.size() || upper[name.size()] == ' '))
            return "a key line needs '=' between key and value: " + definition.name + "=...";
    }
    return "not a key line (Key=Value), a command (Execute, Reset) or a comment (; ...)";
}

std::string unknownKey(std::string_view keyText) {
    if (isCommandName(keyText))
        return std::string(keyText) + " is a command and takes no value: write it alone";
    if (keyText.empty())
        return "the key is missing before '='";
    const std::string upper = platform::toUpper(keyText);
    const KeyDefinition* nearest = nullptr;
    std::size_t best = 0;
    for (const KeyDefinition& definition : keyTable()) {
        const std::size_t distance = editDistance(upper, platform::toUpper(definition.name));
        if (nearest == nullptr || distance < best) {
            nearest = &definition;
            best = distance;
        }
    }
    std::string text = "unknown key " + std::string(keyText);
    if (nearest != nullptr && best <= std::max<std::size_t>(2, upper.size() / 3))
        text += "; did you mean " + nearest->name + "?";
    return text;
}

std::string valueNotAllowed(const KeyDefinition& definition, std::string_view value) {
    if (value.empty())
        return definition.name + " needs a value: " + listOf(definition.allowedValues);
    return std::string(value) + " is not a value of " + definition.name + ": " +
           listOf(definition.allowedValues);
}

std::string hostFolderValue(Key key, std::string_view value, std::string_view home) {
    const bool root = key == Key::LeftRoot || key == Key::RightRoot;
    if (!root && key != Key::LeftPath && key != Key::RightPath)
        return {};
    // A root may carry a priority after ','; a path may name an absolute folder after '#'.
    std::string folder = root ? trim(value.substr(0, value.find(','))) : std::string(value);
    if (!root && folder.starts_with('#'))
        folder.erase(0, 1);
    const bool hostForm = folder.starts_with('/') || folder.starts_with('~') || folder == "." ||
                          folder == ".." || folder.starts_with("./") || folder.starts_with("../");
    if (!hostForm)
        return {};
    if (folder.starts_with('~') && !home.empty())
        folder = std::string(home) + folder.substr(1);
    const bool left = key == Key::LeftRoot || key == Key::LeftPath;
    const std::string letter = left ? "C" : "D";
    const std::string side = left ? "Left" : "Right";
#ifdef _WIN32
    return std::string(value) + " is not a drive path: write " + side + "Root=" + letter +
           ": (a drive letter or \\\\SERVER\\SHARE) and " + side + "Path=\\FOLDER";
#else
    return std::string(value) +
           " is a host folder, which scripts name through a drive letter: " + "give --drive " +
           letter + "=" + folder + " (or BRISKO_DRIVES) and write " + side + "Root=" + letter +
           ":" + (root ? "" : " with " + side + "Path=\\");
#endif
}

} // namespace brisko::script

#include "batch/BatchOptions.h"

namespace brisko::batch {

namespace {

bool isRootParameter(const std::string& text) {
    return text.size() >= 2 && text[1] == '=' &&
           (text[0] == 'L' || text[0] == 'l' || text[0] == 'R' || text[0] == 'r');
}

// A map option: "--NAME VALUE" or "--NAME=VALUE". Takes its value into values and returns true
// when arguments[i] is one (i then stands on the value); an error when the value is missing.
bool takeMapOption(const std::vector<std::string>& arguments, std::size_t& i, std::string_view name,
                   std::string_view valueForm, std::vector<std::string>& values,
                   std::string& error) {
    const std::string& argument = arguments[i];
    const std::string withValue = std::string(name) + "=";
    if (argument != name && !argument.starts_with(withValue))
        return false;
#ifdef _WIN32
    error = std::string(name) +
            " is not used on Windows: " + (name == "--drive" ? "drive letters are" : "shares are") +
            " the system's own";
    return true;
#endif
    if (argument != name) {
        values.push_back(argument.substr(withValue.size()));
    } else if (i + 1 < arguments.size()) {
        values.push_back(arguments[++i]);
    } else {
        error = std::string(name) + " needs a value " + std::string(valueForm);
    }
    return true;
}

} // namespace

const char* batchUsage() {
    return "usage: brisko2-batch [--drive X=DIR]... [--share \\\\SERVER\\SHARE=DIR]...\n"
           "                     [--check | --dry-run] [--continue] [--verify]\n"
           "                     [--allow-empty-master] SCRIPT [L=ROOT] [R=ROOT]\n";
}

ParseResult parseBatchOptions(const std::vector<std::string>& arguments) {
    ParseResult parsed;
    BatchOptions& options = parsed.options;
    bool modeGiven = false;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool isOption = !optionsEnded && argument.size() > 1 && argument.starts_with("-");
        if (!isOption) {
            options.parameters.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (takeMapOption(arguments, i, "--drive", "LETTER=HOSTDIR", options.drives,
                                 parsed.error) ||
                   takeMapOption(arguments, i, "--share", "\\\\SERVER\\SHARE=HOSTDIR",
                                 options.shares, parsed.error)) {
            if (!parsed.error.empty())
                return parsed;
        } else if (argument == "--check" || argument == "--dry-run") {
            BatchMode mode = argument == "--check" ? BatchMode::Check : BatchMode::DryRun;
            if (modeGiven && mode != options.mode) {
                parsed.error = "--check and --dry-run cannot be given together";
                return parsed;
            }
            modeGiven = true;
            options.mode = mode;
        } else if (argument == "--continue") {
            options.continueAfterPause = true;
        } else if (argument == "--verify") {
            options.verify = true;
        } else if (argument == "--allow-empty-master") {
            options.allowEmptyMaster = true;
        } else {
            parsed.error = "unknown option " + argument;
            return parsed;
        }
    }
    if (options.help)
        return parsed;
    if (options.parameters.empty()) {
        parsed.error = "no script named";
    } else if (options.parameters.size() > 3) {
        parsed.error = "too many parameters after the script";
    } else {
        for (std::size_t i = 1; i < options.parameters.size(); ++i) {
            if (!isRootParameter(options.parameters[i])) {
                parsed.error = "expected L=ROOT or R=ROOT, not " + options.parameters[i];
                break;
            }
        }
    }
    return parsed;
}

} // namespace brisko::batch

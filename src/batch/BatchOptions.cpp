#include "batch/BatchOptions.h"

namespace brisko::batch {

namespace {

bool isRootParameter(const std::string& text) {
    return text.size() >= 2 && text[1] == '=' &&
           (text[0] == 'L' || text[0] == 'l' || text[0] == 'R' || text[0] == 'r');
}

} // namespace

const char* batchUsage() {
    return "usage: brisko2-batch [--drive X=DIR]... [--check | --dry-run] [--continue] [--verify]\n"
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
        } else if (argument == "--drive" || argument.starts_with("--drive=")) {
#ifdef _WIN32
            parsed.error = "--drive is not used on Windows: drive letters are the system's own";
            return parsed;
#endif
            std::string value;
            if (argument == "--drive") {
                if (i + 1 >= arguments.size()) {
                    parsed.error = "--drive needs a value LETTER=HOSTDIR";
                    return parsed;
                }
                value = arguments[++i];
            } else {
                value = argument.substr(8);
            }
            options.drives.push_back(value);
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

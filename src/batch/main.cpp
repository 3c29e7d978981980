#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/Console.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

namespace {

// The run's status, unless its records (standard output) or its progress line (standard
// error) could not be written: a caller must never take lost records for a finished run.
int checkedOutput(int status) {
    using namespace brisko::batch;
    std::cout.flush();
    std::cerr.flush();
    if (std::cout.good() && std::cerr.good())
        return status;
    if (!std::cout.good()) {
        std::cerr.clear();
        std::cerr << "brisko2-batch: the records could not be written to standard output\n";
    }
    return kExitOutputFailed;
}

int runProgram(int argc, char** argv) {
    using namespace brisko::batch;
    std::vector<std::string> arguments = commandLineArguments(argc, argv);
    ParseResult parsed = parseBatchOptions(arguments);
    if (parsed.options.help) {
        std::cout << batchUsage();
        return kExitDone;
    }
    if (!parsed.error.empty()) {
        std::cerr << "brisko2-batch: " << parsed.error << "\n" << batchUsage();
        return kExitUsage;
    }
    try {
        return runBatch(parsed.options, std::cout, std::cerr);
    } catch (const std::exception& failure) {
        std::cerr << "brisko2-batch: " << failure.what() << "\n";
        return kExitStopped;
    }
}

} // namespace

int main(int argc, char** argv) {
    return checkedOutput(runProgram(argc, argv));
}

#include "batch/BatchOptions.h"
#include "batch/BatchRun.h"
#include "batch/Console.h"

#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
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

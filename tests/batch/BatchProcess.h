#pragma once

#include <string>
#include <vector>

namespace brisko::test {

struct ProcessResult {
    int exitStatus = -1;
    std::string out;
    std::string err;
};

// Runs brisko2-batch with the arguments (and extra environment entries NAME=VALUE) and waits.
ProcessResult runBatchProcess(const std::vector<std::string>& arguments,
                              const std::vector<std::string>& environment = {});

// Starts brisko2-batch like runBatchProcess, sends it a signal after the delay, and waits.
ProcessResult runBatchProcessAndSignal(const std::vector<std::string>& arguments, int signal,
                                       int delayMilliseconds);

// Splits standard output into records, each a list of its TAB-separated fields.
std::vector<std::vector<std::string>> records(const std::string& out);

} // namespace brisko::test

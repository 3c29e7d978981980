#pragma once

#include <functional>
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

#ifndef _WIN32
// Runs brisko2-batch like runBatchProcess with its standard output written to a file of one's
// choosing (such as /dev/full); out stays empty.
ProcessResult runBatchProcessWritingTo(const std::vector<std::string>& arguments,
                                       const std::string& outputFile);

// Starts brisko2-batch like runBatchProcess, sends it a signal as soon as ready() holds (or the
// child has ended), and waits.
ProcessResult runBatchProcessAndSignal(const std::vector<std::string>& arguments, int signal,
                                       const std::function<bool()>& ready);
#endif

using Records = std::vector<std::vector<std::string>>;

// Splits standard output into records, each a list of its TAB-separated fields.
Records records(const std::string& out);

// The records of one name ("history", "ask", ...), in order.
Records only(const Records& all, const std::string& name);

} // namespace brisko::test

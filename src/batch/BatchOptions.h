#pragma once

#include <string>
#include <vector>

namespace brisko::batch {

enum class BatchMode { Run, Check, DryRun };

// The console runner's command line:
//   brisko2-batch [--drive X=DIR]... [--share \\SERVER\SHARE=DIR]... [--check | --dry-run]
//                 [--continue] [--verify] [--allow-empty-master] SCRIPT [L=ROOT] [R=ROOT]
struct BatchOptions {
    std::vector<std::string> drives; // LETTER=HOSTDIR, in order
    std::vector<std::string> shares; // \\SERVER\SHARE=HOSTDIR, in order
    BatchMode mode = BatchMode::Run;
    bool continueAfterPause = false;
    bool verify = false;
    bool allowEmptyMaster = false; // a master session with an empty master root runs all the same
    bool help = false;
    std::vector<std::string> parameters; // the script, then up to two roots
};

struct ParseResult {
    BatchOptions options;
    std::string error; // empty when the command line is right
};

ParseResult parseBatchOptions(const std::vector<std::string>& arguments);

const char* batchUsage();

} // namespace brisko::batch

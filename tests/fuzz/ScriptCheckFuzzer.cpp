// A script's bytes through the console runner's --check: the load (includes, FileSpec
// libraries, every key's value), the error report and the records. The script lies in a
// temporary folder mapped as drive S:, beside a file to include, a FileSpec library and a chain
// of includes deeper than the loader takes.

#include "FuzzInput.h"
#include "batch/BatchRun.h"
#include "support/TempTree.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

using brisko::test::TempTree;

// The temporary folder behind drive S:, laid out once for every input.
struct Workspace {
    Workspace() {
        tree.write("INC.BRK", "Message=included\r\nSessionFiles=*.TXT\r\nInclude=S:\\INC.BRK\r\n");
        tree.write("LIB.TXT", "FileSpec=*.DBF\nBackup=DB1,DB2\nCompare=Binary\n");
        tree.makeFolder("DATA");
        constexpr int kChainLength = 40;
        for (int i = 0; i < kChainLength; ++i)
            tree.write("DEEP/N" + std::to_string(i) + ".BRK",
                       "Include=S:\\DEEP\\N" + std::to_string(i + 1) + ".BRK\n");
    }

    TempTree tree;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The same environment for every input: no drives or shares but the fuzzer's own, and fixed
    // variables for %NAME% references.
    for (const char* name : {"BRISKO_DRIVES", "BRISKO_SHARES", "BRISKO_SSH"})
        unsetenv(name);
    setenv("TZ", "UTC", 1);
    setenv("HOME", "/home/fuzz", 1);
    setenv("FUZZ", "%FUZZ%{YEAR4}", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Workspace workspace;
    TempTree& tree = workspace.tree;
    tree.write("SCRIPT.BRK", brisko::fuzz::inputText(data, size));

    brisko::batch::BatchOptions options;
    options.drives = {"S=" + brisko::test::utf8Of(tree.root())};
    options.mode = brisko::batch::BatchMode::Check;
    options.parameters = {"S:\\SCRIPT.BRK"};
    std::ostringstream out;
    std::ostringstream err;
    brisko::batch::runBatch(options, out, err);
    return 0;
}

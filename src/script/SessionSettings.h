#pragma once

#include "script/FileSpecs.h"

#include <string>
#include <vector>

namespace brisko::script {

enum class UpdateMode { Update, OneLTR, TwoRTL, LMaster, RMaster };
enum class MissingFolderRule { UserAsk, Auto, Skip };

inline constexpr int kDefaultRootPriority = 10;
inline constexpr int kCommandLineRootPriority = 100;

// The standing values of all script keys at a point of a run.
struct SessionSettings {
    std::string sessionFiles = "*.*";
    std::string leftPath;
    std::string rightPath;
    std::string leftRoot;
    std::string rightRoot;
    int leftRootPriority = kDefaultRootPriority;
    int rightRootPriority = kDefaultRootPriority;
    int rootParamCount = 0; // "L=" and "R=" command-line parameters applied since the last load
    std::string leftFullPath;
    std::string rightFullPath;
    // Roots and paths as the script wrote them (the fields above are upper-cased), and the
    // full paths joined from them: a folder that must be created takes this case.
    std::string leftPathAsWritten;
    std::string rightPathAsWritten;
    std::string leftRootAsWritten;
    std::string rightRootAsWritten;
    std::string leftFullPathAsWritten;
    std::string rightFullPathAsWritten;
    UpdateMode updateMode = UpdateMode::Update;
    bool subFolders = true;
    MissingFolderRule missingFolder = MissingFolderRule::UserAsk;
    std::string exitFolder;
    std::string exitProgram;
    std::string leftWrite;
    std::string rightWrite;
    FileSpecTables tables;
    int sessionCount = 0;
    std::vector<std::string> sessionMessages; // index = session number; entry 0 unused

    SessionSettings() { tables.reset(); }
};

// Empties both roots, as written and upper-cased; their priorities stay.
void clearRoots(SessionSettings& settings);
// The full form (start of a run, a fresh load) also restarts the session count and messages;
// the partial form is the Reset command. Roots are kept while command-line roots stand.
void resetSettings(SessionSettings& settings, bool full);
// After every Execute: plain exclusions end, and the per-session keys fall back.
void resetAfterExecute(SessionSettings& settings);

} // namespace brisko::script

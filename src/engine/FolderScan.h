#pragma once

#include "engine/CompareRules.h"
#include "engine/Matching.h"
#include "engine/Session.h"
#include "engine/TargetIndex.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace brisko::engine {

// The walk of one pass: a source tree against a target tree, depth-first, the files of a
// folder before its subfolders, the subfolders in case-insensitive order. The update scan
// (modes Update, 1LTR, 2RTL) selects files by SessionFiles; the master scan (LMaster, RMaster)
// takes every file and carries along the master tree's folder, so that each folder knows
// whether it is the master side or the copy side. A symbolic link is selected and judged like
// a file, and never entered.
class FolderScan {
public:
    FolderScan(Session& session, bool leftToRight);

    // Scans from the root pair; false when the scan ended on an abort.
    bool run(const std::string& source, const std::string& target);

private:
    struct FolderPair {
        std::string source;
        std::string target;
        std::string master;  // master scan only
        std::string sortKey; // the source name in upper case
        // Which folders the two paths hold, when they exist (the roots' are in the chains).
        std::optional<platform::FileIdentity> sourceIdentity;
        std::optional<platform::FileIdentity> targetIdentity;
        // The target's parent was listed without it: it is not looked for again.
        bool targetMissing = false;
    };

    bool scanPair(const FolderPair& pair);
    // The entries of one folder pair: files are judged at once, subfolders that may be
    // entered go to the queue.
    RuleOutcome scanEntries(const FolderPair& pair, std::vector<FolderPair>& queue);
    RuleOutcome scanListedEntries(const FolderPair& pair, const platform::Listing& listing,
                                  std::vector<FolderPair>& queue);
    // Upper-cases the names of a listing and counts each spelling ignoring case.
    void foldCaseNames(const platform::Listing& listing);
    void considerFolder(const FolderPair& pair, const platform::DirEntry& entry,
                        const TargetIndex& targets, std::vector<FolderPair>& queue);
    // caseTwin: other names in the folder differ from this one only in case.
    RuleOutcome considerFile(const FolderPair& pair, const platform::DirEntry& entry,
                             const TargetIndex& targets, bool caseTwin);
    bool isMasterSide(const FolderPair& pair) const;

    Session& session_;
    EngineContext& context_;
    bool leftToRight_;
    bool masterScan_;
    const std::string& sourceRoot_;
    CompareRules rules_;
    FileSpecMatcher fileSpecs_; // the FileSpec records stay as they are while a pass scans
    // The current folder's names upper-cased (by position), whether another name of the
    // folder has the same (a case twin), and the folders among them entered so far.
    std::vector<std::string> folded_;
    std::vector<bool> caseTwins_;
    std::unordered_set<std::string_view> foldersSeen_;
    std::string sourcePath_;
    // The folders above the scan on each side, from the host's root down to the current pair:
    // a subfolder that is one of them loops back and is passed over.
    std::vector<platform::FileIdentity> sourceAbove_;
    std::vector<platform::FileIdentity> targetAbove_;
};

} // namespace brisko::engine

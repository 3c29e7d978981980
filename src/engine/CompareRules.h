#pragma once

#include "engine/EngineContext.h"
#include "engine/ListingCache.h"
#include "engine/Session.h"
#include "engine/SharedText.h"
#include "engine/StampCheck.h"
#include "engine/TargetIndex.h"
#include "platform/FileSystem.h"
#include "script/FileSpecs.h"

#include <string>
#include <string_view>

namespace brisko::engine {

// One source file or link that a scan selected, and what the target folder holds under its name.
struct FilePair {
    const std::string& sourceFolder;
    const std::string& targetFolder;
    const std::string& sourcePath; // sourceFolder + "\" + the source's name
    const platform::DirEntry& source;
    const TargetIndex::Found& target;
    const script::FileSpec& spec;
    // The name has case twins: it is looked up, copied and deleted under its exact spelling.
    bool exactName = false;
};

enum class RuleOutcome {
    Continue, // go on with the next entry
    EndScan,  // the run was aborted by a stamp: the scan ends at once
};

// What a pass decides about each selected file: the stamp checks, then a copy one way or the
// other, a deletion, a question to the operator, or nothing. In an update scan the later file
// wins; in a master scan the master side wins whenever the stamps differ. A link is judged
// against a link by its target text, and is never read through.
class CompareRules {
public:
    CompareRules(Session& session, bool leftToRight)
        : session_(session), context_(session.context), listings_(session.listings),
          leftToRight_(leftToRight), masterScan_(session.masterMode()),
          stamps_(session.context.clock) {}

    // masterSide: in a master scan, whether the source folder is in the master tree.
    RuleOutcome judge(const FilePair& pair, bool masterSide);

private:
    StampVerdict checkFileStamp(const std::string& folder, const platform::DirEntry& entry,
                                bool isTarget, platform::DosStamp now);
    void judgeExistingTarget(const FilePair& pair, bool masterSide);
    void judgeLinks(const FilePair& pair, bool masterSide);
    void listSourceDelete(const FilePair& pair);
    void missingTargetFile(const FilePair& pair);
    void compareEqualFiles(const FilePair& pair);
    void askAboutSameStamp(const FilePair& pair, const std::string& text, bool binaryFailed);
    void listForward(const FilePair& pair, bool binaryFailed);
    void listReversed(const FilePair& pair, bool binaryFailed);
    // target folder + "\" + the source's name: the path a copy from this source would target.
    const std::string& copyTargetPath(const FilePair& pair);

    Session& session_;
    EngineContext& context_;
    ListingCache& listings_;
    bool leftToRight_;
    bool masterScan_;
    CurrentStamp stamps_;
    std::string pathBuffer_;
    TextShare texts_;
};

} // namespace brisko::engine

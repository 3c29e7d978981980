#include "engine/CompareRules.h"

#include "engine/ActionList.h"
#include "engine/BinaryCompare.h"
#include "engine/ScanReports.h"
#include "platform/DrivePath.h"

#include <optional>

namespace brisko::engine {

namespace {

constexpr const char* kDifferentSizes = "Files with same Time Stamp but with Different sizes !";
constexpr const char* kBinaryFailed = "Binary Compare Failed";
constexpr const char* kLinksDiffer = "Links with same Time Stamp but different targets !";

// How a same-stamp question shows one side: a file with its size, a link with its target.
std::string describedPath(const std::string& folder, const platform::DirEntry& entry) {
    if (entry.attributes.link)
        return platform::drive_path::join(folder, entry.name) + " -> " + entry.linkTarget;
    return platform::drive_path::join(folder, entry.name) + " (" + std::to_string(entry.size) +
           " Bytes)";
}

// A copy of one entry into another folder, with what the scan saw at its target (seen; none
// when nothing was there).
CopyRequest copyRequest(TextShare& texts, const std::string& sourceFolder,
                        const platform::DirEntry& source, const std::string& targetFolder,
                        const platform::DirEntry* seen, bool leftToRight,
                        const script::FileSpec& spec, bool binaryFailed) {
    CopyRequest request;
    request.sourceFolder = texts.share(sourceFolder);
    request.targetFolder = texts.share(targetFolder);
    request.binaryFailed = binaryFailed;
    request.leftToRight = leftToRight;
    request.name = source.name;
    request.sourceSize = source.size;
    request.sourceStamp = source.stamp;
    request.backupList = texts.share(spec.backup);
    request.link = source.attributes.link;
    request.linkTarget = source.linkTarget;
    if (seen != nullptr) {
        request.targetExisted = true;
        request.targetSize = seen->size;
        request.targetStamp = seen->stamp;
    }
    return request;
}

bool isAccepted(StampVerdict verdict) {
    return verdict == StampVerdict::Accepted || verdict == StampVerdict::Stamped;
}

// What a stamp that was not accepted means for the scan.
RuleOutcome outcomeOf(StampVerdict verdict) {
    return verdict == StampVerdict::EndScan ? RuleOutcome::EndScan : RuleOutcome::Continue;
}

} // namespace

RuleOutcome CompareRules::judge(const FilePair& pair, bool masterSide) {
    const platform::DosStamp now = stamps_.now();
    const StampVerdict sourceStamp = checkFileStamp(pair.sourceFolder, pair.source, false, now);
    if (!isAccepted(sourceStamp))
        return outcomeOf(sourceStamp);

    const TargetIndex::Found& target = pair.target;
    const bool sourceIsLink = pair.source.attributes.link;
    switch (target.kind) {
    case TargetIndex::Found::Kind::Unusable:
        reportPassedOver(context_, copyTargetPath(pair), target.problem);
        return RuleOutcome::Continue;
    case TargetIndex::Found::Kind::Folder:
        if (sourceIsLink)
            reportLinkClash(session_, pair.sourcePath);
        else
            reportPassedOver(context_,
                             platform::drive_path::join(pair.targetFolder, target.entry->name),
                             kFolderWhereFileExpected);
        return RuleOutcome::Continue;
    case TargetIndex::Found::Kind::Missing:
        // Only a mirror takes a name as missing beside its case variants: an update could
        // delete the source for it.
        if (!masterScan_ && target.severalByCase)
            reportPassedOver(context_, copyTargetPath(pair), kDiffersOnlyInCase);
        else if (!masterScan_)
            missingTargetFile(pair);
        else if (masterSide)
            listForward(pair, false);
        else if (!context_.plan.hasFileToDelete(pair.sourcePath))
            listSourceDelete(pair);
        return RuleOutcome::Continue;
    case TargetIndex::Found::Kind::File:
        if (sourceIsLink) {
            reportLinkClash(session_, pair.sourcePath);
            return RuleOutcome::Continue;
        }
        break;
    case TargetIndex::Found::Kind::Link:
        if (!sourceIsLink) {
            reportLinkClash(session_,
                            platform::drive_path::join(pair.targetFolder, target.entry->name));
            return RuleOutcome::Continue;
        }
        break;
    }

    const StampVerdict targetStamp = checkFileStamp(pair.targetFolder, *target.entry, true, now);
    if (!isAccepted(targetStamp))
        return outcomeOf(targetStamp);
    if (sourceIsLink)
        judgeLinks(pair, masterSide);
    else
        judgeExistingTarget(pair, masterSide);
    return RuleOutcome::Continue;
}

StampVerdict CompareRules::checkFileStamp(const std::string& folder,
                                          const platform::DirEntry& entry, bool isTarget,
                                          platform::DosStamp now) {
    const bool updateSource = !masterScan_ && !isTarget;
    if (stampStanding(entry.stamp, now, updateSource) == StampStanding::InTune)
        return StampVerdict::Accepted; // the common case, without building the path
    StampedFile file{platform::drive_path::join(folder, entry.name), entry.stamp, entry.size,
                     isTarget};
    const StampVerdict verdict = checkStamp(context_, file, masterScan_, leftToRight_, now);
    if (verdict == StampVerdict::Stamped)
        listings_.forget(folder); // the other pass must see the new stamp
    return verdict;
}

void CompareRules::judgeExistingTarget(const FilePair& pair, bool masterSide) {
    const platform::DirEntry& source = pair.source;
    const platform::DirEntry& target = *pair.target.entry;
    const bool sameStamp = source.stamp == target.stamp;

    if (sameStamp && !context_.plan.isCopyTarget(copyTargetPath(pair))) {
        if (source.size == target.size)
            compareEqualFiles(pair);
        else
            askAboutSameStamp(pair, kDifferentSizes, false);
        return;
    }
    if (sameStamp && source.size != target.size)
        return; // already the target of a listed copy: settled
    // The stamps differ (or equal files are already settled): in an update scan the later
    // file is copied by the pass that has it on its source side; in a master scan the master
    // side is copied whichever is later.
    const bool copy = masterScan_ ? masterSide : source.stamp > target.stamp;
    if (copy)
        listForward(pair, false);
}

void CompareRules::judgeLinks(const FilePair& pair, bool masterSide) {
    const platform::DirEntry& source = pair.source;
    const platform::DirEntry& target = *pair.target.entry;
    if (source.linkTarget == target.linkTarget)
        return; // in step, whatever the stamps say
    if (masterScan_) {
        if (masterSide)
            listForward(pair, false);
        return;
    }
    if (source.stamp == target.stamp) {
        if (!context_.plan.isCopyTarget(copyTargetPath(pair)))
            askAboutSameStamp(pair, kLinksDiffer, false);
        return;
    }
    if (source.stamp > target.stamp)
        listForward(pair, false);
}

void CompareRules::listSourceDelete(const FilePair& pair) {
    PathAction source;
    source.path = pair.sourcePath;
    source.size = pair.source.size;
    source.stamp = pair.source.stamp;
    source.link = pair.source.attributes.link;
    source.exactName = pair.exactName;
    listFileDelete(context_, std::move(source));
}

void CompareRules::missingTargetFile(const FilePair& pair) {
    const script::MissingFileRule rule = pair.spec.missingFile;
    std::optional<DialogAnswer> answer; // none when nothing was asked
    if (rule == script::MissingFileRule::Ask && !context_.plan.isCopyTarget(copyTargetPath(pair)) &&
        !context_.plan.hasFileToDelete(pair.sourcePath)) {
        const Question question{.details = MissingItemQuestion{.caption = "Missing File",
                                                               .sourcePath = pair.sourcePath,
                                                               .targetPath = copyTargetPath(pair)},
                                .leftToRight = leftToRight_};
        answer = askOperator(context_, question);
    }

    if (answer == DialogAnswer::Yes || rule == script::MissingFileRule::Create) {
        listForward(pair, false); // Create Target
    } else if (answer == DialogAnswer::Cancel) {
        listSourceDelete(pair); // Delete Source
    } else if (rule == script::MissingFileRule::Delete) {
        if (!context_.plan.hasFileToDelete(pair.sourcePath))
            listSourceDelete(pair);
    } else if (answer == DialogAnswer::No) {
        context_.host.abortAll(); // the Abort button
    }
}

void CompareRules::compareEqualFiles(const FilePair& pair) {
    if (pair.spec.compare != script::CompareRule::Binary)
        return;
    const std::string targetPath =
        platform::drive_path::join(pair.targetFolder, pair.target.entry->name);
    if (!binaryCompare(context_, pair.sourcePath, targetPath, pair.source.size))
        askAboutSameStamp(pair, kBinaryFailed, true);
}

void CompareRules::askAboutSameStamp(const FilePair& pair, const std::string& text,
                                     bool binaryFailed) {
    const Question question{
        .details =
            SameStampQuestion{.text = text,
                              .sourceFile = describedPath(pair.sourceFolder, pair.source),
                              .targetFile = describedPath(pair.targetFolder, *pair.target.entry)},
        .leftToRight = leftToRight_};
    switch (askOperator(context_, question)) {
    case DialogAnswer::Yes: // Copy To Target
        listForward(pair, binaryFailed);
        break;
    case DialogAnswer::Retry: // Reversed Copy
        listReversed(pair, binaryFailed);
        break;
    case DialogAnswer::Abort:
        context_.host.abortAll();
        break;
    default: // Keep as is, also the time-out
        break;
    }
}

void CompareRules::listForward(const FilePair& pair, bool binaryFailed) {
    const TargetIndex::Found::Kind kind = pair.target.kind;
    const bool hasTarget =
        kind == TargetIndex::Found::Kind::File || kind == TargetIndex::Found::Kind::Link;
    CopyRequest request =
        copyRequest(texts_, pair.sourceFolder, pair.source, pair.targetFolder,
                    hasTarget ? pair.target.entry : nullptr, leftToRight_, pair.spec, binaryFailed);
    request.exactName = pair.exactName;
    listCopy(context_, request);
}

void CompareRules::listReversed(const FilePair& pair, bool binaryFailed) {
    // From the target back onto the source: folders, sizes and direction swap, and the name
    // is spelled as on the side the copy comes from.
    CopyRequest request =
        copyRequest(texts_, pair.targetFolder, *pair.target.entry, pair.sourceFolder, &pair.source,
                    !leftToRight_, pair.spec, binaryFailed);
    request.exactName = pair.exactName;
    listCopy(context_, request);
}

const std::string& CompareRules::copyTargetPath(const FilePair& pair) {
    pathBuffer_.assign(pair.targetFolder);
    pathBuffer_ += '\\';
    pathBuffer_ += pair.source.name;
    return pathBuffer_;
}

} // namespace brisko::engine

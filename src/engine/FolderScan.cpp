#include "engine/FolderScan.h"

#include "engine/Matching.h"
#include "engine/ScanReports.h"
#include "engine/SessionChecks.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"

#include <algorithm>

namespace brisko::engine {

namespace {

// The temporary copy of a file in its target folder: never planned in any direction.
bool isTemporaryCopy(std::string_view name) {
    return !name.empty() && name.front() == '$' &&
           platform::equalsIgnoreCase(name, script::kTempFileName);
}

FolderFound folderFoundFor(const TargetIndex::Found& found) {
    switch (found.kind) {
    case TargetIndex::Found::Kind::Folder:
        return {FolderFound::Kind::Folder, {}};
    case TargetIndex::Found::Kind::File:
        return {FolderFound::Kind::Unusable, std::string(kFileWhereFolderExpected)};
    case TargetIndex::Found::Kind::Link:
        return {FolderFound::Kind::Unusable, std::string(kLinkFacesEntry)};
    case TargetIndex::Found::Kind::Unusable:
        return {FolderFound::Kind::Unusable, found.problem};
    case TargetIndex::Found::Kind::Missing:
        if (found.severalByCase) // a folder is never made beside its case twins
            return {FolderFound::Kind::Unusable, std::string(kDiffersOnlyInCase)};
        break;
    }
    return {FolderFound::Kind::Missing, {}};
}

const script::FileSpec& fileSpecOf(const script::FileSpecTables& tables,
                                   const FileSpecMatcher& matcher, std::string_view name) {
    static const script::FileSpec kMasterRecord = [] {
        script::FileSpec record;
        record.mask = "*.*";
        return record;
    }();
    const std::size_t index = matcher.find(name);
    return index < tables.fileSpecs.size() ? tables.fileSpecs[index] : kMasterRecord;
}

} // namespace

FolderScan::FolderScan(Session& session, bool leftToRight)
    : session_(session), context_(session.context), leftToRight_(leftToRight),
      masterScan_(session.masterMode()), sourceRoot_(session.sourceRoot(leftToRight)),
      rules_(session, leftToRight), fileSpecs_(session.context.settings.tables) {}

bool FolderScan::run(const std::string& source, const std::string& target) {
    return scanPair(FolderPair{source, target, masterScan_ ? session_.masterRoot() : "", ""});
}

bool FolderScan::isMasterSide(const FolderPair& pair) const {
    return masterScan_ && pair.source == pair.master;
}

bool FolderScan::scanPair(const FolderPair& pair) {
    EngineHost& host = context_.host;
    if (leftToRight_)
        host.showFolders(pair.source, pair.target);
    else
        host.showFolders(pair.target, pair.source);

    std::vector<FolderPair> queue;
    if (scanEntries(pair, queue) == RuleOutcome::EndScan || host.abortRequested())
        return false;

    // The folder's own listings have been handed back; only this queue stays while going deeper.
    std::sort(queue.begin(), queue.end(), [](const FolderPair& a, const FolderPair& b) {
        return a.sortKey != b.sortKey ? a.sortKey < b.sortKey : a.source < b.source;
    });
    for (const FolderPair& subfolder : queue) {
        if (host.abortRequested() || !scanPair(subfolder))
            return false;
    }
    return true;
}

RuleOutcome FolderScan::scanEntries(const FolderPair& pair, std::vector<FolderPair>& queue) {
    platform::Listing listing = session_.listings.list(pair.source);
    if (!listing.result.ok()) {
        // A folder that is not there has nothing to scan (it may be listed for creation);
        // one that cannot be read is said so, and nothing below it is listed.
        if (listing.result.status != platform::FsStatus::NotFound)
            reportPassedOver(context_, pair.source, kFolderCouldNotBeRead);
        return RuleOutcome::Continue;
    }
    for (const platform::SkippedEntry& skipped : listing.skipped)
        reportPassedOver(context_, platform::drive_path::join(pair.source, skipped.name),
                         passedOverBecause(skipped.reason),
                         skipped.special ? RowColour::Plain : RowColour::Red);
    RuleOutcome outcome = RuleOutcome::Continue;
    if (!listing.entries.empty())
        outcome = scanListedEntries(pair, listing, queue);
    session_.listings.handBack(pair.source, std::move(listing));
    return outcome;
}

RuleOutcome FolderScan::scanListedEntries(const FolderPair& pair, const platform::Listing& listing,
                                          std::vector<FolderPair>& queue) {
    EngineHost& host = context_.host;
    TargetIndex targets;
    if (!targets.load(session_.listings, pair.target)) {
        // Without the target's listing no file of the pair could be told missing or present.
        reportPassedOver(context_, pair.target, kCouldNotBeRead);
        return RuleOutcome::Continue;
    }

    RuleOutcome outcome = RuleOutcome::Continue;
    foldCaseNames(listing);
    for (std::size_t i = 0; i < listing.entries.size(); ++i) {
        const platform::DirEntry& entry = listing.entries[i];
        host.pump();
        if (host.abortRequested())
            break;
        if (!entry.attributes.directory && isTemporaryCopy(entry.name))
            continue;
        const bool caseTwin = foldCounts_[folded_[i]] > 1;
        if (entry.attributes.directory) {
            // Of folders whose names differ only in case, the first is entered.
            if (caseTwin && !foldersSeen_.insert(folded_[i]).second)
                reportPassedOver(context_, platform::drive_path::join(pair.source, entry.name),
                                 kDiffersOnlyInCase);
            else
                considerFolder(pair, entry, targets, queue);
        } else if (considerFile(pair, entry, targets, caseTwin) == RuleOutcome::EndScan) {
            outcome = RuleOutcome::EndScan;
            break;
        }
    }
    session_.listings.handBack(pair.target, targets.release());
    return outcome;
}

void FolderScan::foldCaseNames(const platform::Listing& listing) {
    folded_.clear();
    foldCounts_.clear();
    foldersSeen_.clear();
    folded_.reserve(listing.entries.size());
    for (const platform::DirEntry& entry : listing.entries)
        folded_.push_back(platform::toUpper(entry.name));
    for (const std::string& name : folded_)
        ++foldCounts_[name];
}

void FolderScan::considerFolder(const FolderPair& pair, const platform::DirEntry& entry,
                                const TargetIndex& targets, std::vector<FolderPair>& queue) {
    const script::SessionSettings& settings = context_.settings;
    if (!settings.subFolders || context_.plan.hasFolderToDelete(pair.source) ||
        isExcluded(settings.tables, entry.name, pair.source, true, sourceRoot_))
        return;

    const TargetIndex::Found found = targets.find(entry.name);
    if (found.kind == TargetIndex::Found::Kind::Link) {
        // Never entered, never replaced: the link and the folder both stay.
        reportLinkClash(session_, platform::drive_path::join(pair.target, found.entry->name));
        return;
    }
    FolderPair subfolder;
    subfolder.source = platform::drive_path::join(pair.source, entry.name);
    // An existing target folder keeps its own spelling, so that paths name what is on disk.
    subfolder.target = platform::drive_path::join(
        pair.target, found.entry != nullptr ? found.entry->name : entry.name);
    const FolderFound state = folderFoundFor(found);
    const bool mayCreate = !masterScan_ || isMasterSide(pair);
    if (!checkTargetFolder(session_, subfolder.target, leftToRight_, mayCreate, subfolder.source,
                           &state))
        return;
    if (masterScan_)
        subfolder.master = platform::drive_path::join(pair.master, entry.name);
    subfolder.sortKey = platform::toUpper(entry.name);
    queue.push_back(std::move(subfolder));
}

RuleOutcome FolderScan::considerFile(const FolderPair& pair, const platform::DirEntry& entry,
                                     const TargetIndex& targets, bool caseTwin) {
    const script::SessionSettings& settings = context_.settings;
    // "*.*" selects every name, so the usual mask needs no test.
    if (!masterScan_ && settings.sessionFiles != "*.*" &&
        !maskMatch(entry.name, settings.sessionFiles))
        return RuleOutcome::Continue;
    if (isExcluded(settings.tables, entry.name, pair.source, false, sourceRoot_))
        return RuleOutcome::Continue;
    const script::FileSpec& spec = fileSpecOf(settings.tables, fileSpecs_, entry.name);
    if (!spec.process)
        return RuleOutcome::Continue;

    sourcePath_.assign(pair.source);
    sourcePath_ += '\\';
    sourcePath_ += entry.name;
    context_.host.setCurrentFile(sourcePath_);
    // A name with case twins on either side is matched, read and written exactly as it is.
    const TargetIndex::Found target = targets.find(entry.name, caseTwin);
    const bool exactName = caseTwin || target.severalByCase;
    return rules_.judge(
        FilePair{pair.source, pair.target, sourcePath_, entry, target, spec, exactName},
        isMasterSide(pair));
}

} // namespace brisko::engine

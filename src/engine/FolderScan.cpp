#include "engine/FolderScan.h"

#include "engine/Matching.h"
#include "engine/ScanReports.h"
#include "engine/Selection.h"
#include "engine/SessionChecks.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"

#include <algorithm>

namespace brisko::engine {

namespace {

// Keeps a folder's identity among those above the scan while the scan is in or below it.
class FolderAbove {
public:
    FolderAbove(std::vector<platform::FileIdentity>& above,
                const std::optional<platform::FileIdentity>& identity)
        : above_(above), kept_(identity.has_value()) {
        if (kept_)
            above_.push_back(*identity);
    }
    ~FolderAbove() {
        if (kept_)
            above_.pop_back();
    }
    FolderAbove(const FolderAbove&) = delete;
    FolderAbove& operator=(const FolderAbove&) = delete;

private:
    std::vector<platform::FileIdentity>& above_;
    bool kept_;
};

// Which folder an entry of a listing is: as the listing says, or asked where it does not say.
std::optional<platform::FileIdentity> identityOf(platform::FileSystem& fileSystem,
                                                 const platform::DirEntry& entry,
                                                 const std::string& path) {
    if (entry.identity.inode != 0)
        return entry.identity;
    return fileSystem.identityOf(path);
}

// Whether a folder is one of the folders above it (a folder mounted inside itself): entering
// it would scan the same tree again.
bool loopsBack(const std::optional<platform::FileIdentity>& identity,
               const std::vector<platform::FileIdentity>& above) {
    return identity && std::find(above.begin(), above.end(), *identity) != above.end();
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

} // namespace

FolderScan::FolderScan(Session& session, bool leftToRight)
    : session_(session), context_(session.context), leftToRight_(leftToRight),
      masterScan_(session.masterMode()), sourceRoot_(session.sourceRoot(leftToRight)),
      rules_(session, leftToRight), fileSpecs_(session.context.settings.tables) {}

bool FolderScan::run(const std::string& source, const std::string& target) {
    sourceAbove_ = context_.fileSystem.folderChain(source);
    targetAbove_ = context_.fileSystem.folderChain(target);
    // The roots' own identities are the first of their chains.
    return scanPair(FolderPair{source, target, masterScan_ ? session_.masterRoot() : "", "",
                               std::nullopt, std::nullopt});
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

    const FolderAbove sourceAbove(sourceAbove_, pair.sourceIdentity);
    const FolderAbove targetAbove(targetAbove_, pair.targetIdentity);
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
    // The second pass walks the target side: a folder missing there it never reaches.
    if (!pair.targetMissing)
        session_.listings.handBack(pair.source, std::move(listing));
    return outcome;
}

RuleOutcome FolderScan::scanListedEntries(const FolderPair& pair, const platform::Listing& listing,
                                          std::vector<FolderPair>& queue) {
    EngineHost& host = context_.host;
    TargetIndex targets;
    if (pair.targetMissing) {
        targets.loadMissing(); // on a network location every look costs a round trip
    } else if (!targets.load(session_.listings, pair.target)) {
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
        if (!entry.attributes.directory && isTemporaryName(entry.name))
            continue;
        const bool caseTwin = caseTwins_[i];
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
    foldersSeen_.clear();
    folded_.reserve(listing.entries.size());
    for (const platform::DirEntry& entry : listing.entries)
        folded_.push_back(platform::toUpper(entry.name));
    caseTwins_.assign(folded_.size(), false);
    // Listings come sorted by their upper-cased names, so twins stand side by side; a listing
    // in another order is counted name by name.
    if (std::is_sorted(folded_.begin(), folded_.end())) {
        for (std::size_t i = 1; i < folded_.size(); ++i)
            if (folded_[i] == folded_[i - 1])
                caseTwins_[i] = caseTwins_[i - 1] = true;
        return;
    }
    std::unordered_map<std::string_view, int> counts;
    for (const std::string& name : folded_)
        ++counts[name];
    for (std::size_t i = 0; i < folded_.size(); ++i)
        caseTwins_[i] = counts[folded_[i]] > 1;
}

void FolderScan::considerFolder(const FolderPair& pair, const platform::DirEntry& entry,
                                const TargetIndex& targets, std::vector<FolderPair>& queue) {
    const script::SessionSettings& settings = context_.settings;
    if (!entersFolder(settings, entry.name, pair.source, sourceRoot_) ||
        context_.plan.hasFolderToDelete(pair.source))
        return;
    if (isTemporaryName(entry.name)) {
        // Made on the other side, it would take the name every copy into its parent needs.
        reportPassedOver(context_, platform::drive_path::join(pair.source, entry.name),
                         kTemporaryNameFolder);
        return;
    }

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
    subfolder.sourceIdentity = identityOf(context_.fileSystem, entry, subfolder.source);
    if (loopsBack(subfolder.sourceIdentity, sourceAbove_)) {
        reportOnce(session_, subfolder.source, kFolderLoopsBack);
        return;
    }
    if (found.kind == TargetIndex::Found::Kind::Folder) {
        subfolder.targetIdentity = identityOf(context_.fileSystem, *found.entry, subfolder.target);
        if (loopsBack(subfolder.targetIdentity, targetAbove_)) {
            reportOnce(session_, subfolder.target, kFolderLoopsBack);
            return;
        }
    }
    subfolder.targetMissing = found.kind == TargetIndex::Found::Kind::Missing;
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
    const script::FileSpec* spec = selectedFileSpec(context_.settings, fileSpecs_, entry.name,
                                                    pair.source, sourceRoot_, masterScan_);
    if (spec == nullptr)
        return RuleOutcome::Continue;

    sourcePath_.assign(pair.source);
    sourcePath_ += '\\';
    sourcePath_ += entry.name;
    context_.host.setCurrentFile(sourcePath_);
    // A name with case twins on either side is matched, read and written exactly as it is, and
    // so are its backups, which would otherwise reach a twin's.
    const TargetIndex::Found target = targets.find(entry.name, caseTwin);
    const bool exactName = caseTwin || targets.hasCaseVariants(entry.name);
    return rules_.judge(
        FilePair{pair.source, pair.target, sourcePath_, entry, target, *spec, exactName},
        isMasterSide(pair));
}

} // namespace brisko::engine

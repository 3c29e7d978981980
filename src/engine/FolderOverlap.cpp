#include "engine/FolderOverlap.h"

#include "engine/Selection.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace brisko::engine {

namespace {

namespace drive_path = platform::drive_path;

constexpr std::string_view kSameFolder =
    "Left and right folders are the same folder - session skipped";
constexpr std::string_view kLeftWithinRight =
    "Left and right folders overlap - the left folder lies within the right - session skipped";
constexpr std::string_view kRightWithinLeft =
    "Left and right folders overlap - the right folder lies within the left - session skipped";

// Where a path stands on disk: the folder chain of its deepest folder that exists, and the
// names below that folder that do not exist yet, outermost first.
struct Anchor {
    std::vector<platform::FileIdentity> chain;
    std::vector<std::string> missing;
};

Anchor anchorOf(platform::FileSystem& fileSystem, std::string_view path) {
    Anchor anchor;
    for (std::string_view at = path;;) {
        anchor.chain = fileSystem.folderChain(at);
        if (!anchor.chain.empty())
            return anchor;
        const std::string_view up = drive_path::parent(at);
        if (up == at)
            return {}; // nothing on the way exists
        anchor.missing.insert(anchor.missing.begin(), std::string(drive_path::lastName(at)));
        at = up;
    }
}

// How many folders inner lies below outer (0: they are one); nothing when it is not within it.
// levels is set to how many of them exist.
std::optional<std::size_t> depthWithin(const Anchor& inner, const Anchor& outer,
                                       std::size_t& levels) {
    if (inner.chain.empty() || outer.chain.empty())
        return std::nullopt;
    if (outer.missing.empty()) {
        const auto at = std::find(inner.chain.begin(), inner.chain.end(), outer.chain.front());
        if (at == inner.chain.end())
            return std::nullopt;
        levels = static_cast<std::size_t>(at - inner.chain.begin());
        return levels + inner.missing.size();
    }
    // A folder still to be created holds only what is written below it.
    if (inner.chain.front() != outer.chain.front() || inner.missing.size() < outer.missing.size())
        return std::nullopt;
    for (std::size_t i = 0; i < outer.missing.size(); ++i) {
        if (!platform::equalsIgnoreCase(inner.missing[i], outer.missing[i]))
            return std::nullopt;
    }
    levels = 0;
    return inner.missing.size() - outer.missing.size();
}

// The names that lead from the outer folder down to the inner one, as on disk: each existing
// level is the subfolder that holds the next folder of the inner chain. Nothing when the way
// down cannot be found.
std::optional<std::vector<std::string>> namesDown(platform::FileSystem& fileSystem,
                                                  const std::string& outer, const Anchor& inner,
                                                  std::size_t levels, std::size_t depth) {
    std::vector<std::string> names;
    std::string folder = outer;
    for (std::size_t level = levels; level-- > 0;) {
        const platform::Listing listing = fileSystem.list(folder);
        const auto next = std::find_if(
            listing.entries.begin(), listing.entries.end(), [&](const platform::DirEntry& entry) {
                return entry.attributes.directory &&
                       fileSystem.identityOf(drive_path::join(folder, entry.name)) ==
                           inner.chain[level];
            });
        if (next == listing.entries.end())
            return std::nullopt;
        names.push_back(next->name);
        folder = drive_path::join(folder, next->name);
    }
    // The folders still to be created, as written.
    names.insert(names.end(), inner.missing.end() - static_cast<std::ptrdiff_t>(depth - levels),
                 inner.missing.end());
    return names;
}

// Whether the pass that reads the outer tree never goes down the names to the inner folder.
bool keptOut(const script::SessionSettings& settings, const std::string& outer,
             const std::vector<std::string>& names) {
    std::string folder = outer;
    for (const std::string& name : names) {
        if (!entersFolder(settings, name, folder, outer))
            return true;
        folder = drive_path::join(folder, name);
    }
    return false;
}

} // namespace

bool checkFoldersApart(Session& session) {
    EngineContext& context = session.context;
    const std::string& left = context.settings.leftFullPath;
    const std::string& right = context.settings.rightFullPath;
    const Anchor leftAnchor = anchorOf(context.fileSystem, left);
    const Anchor rightAnchor = anchorOf(context.fileSystem, right);

    std::size_t levels = 0;
    std::string_view status;
    std::optional<std::size_t> depth = depthWithin(leftAnchor, rightAnchor, levels);
    bool leftInner = true;
    if (!depth) {
        depth = depthWithin(rightAnchor, leftAnchor, levels);
        leftInner = false;
    }
    if (!depth)
        return true;
    if (*depth == 0) {
        status = kSameFolder;
    } else {
        const std::string& outer = leftInner ? right : left;
        const std::optional<std::vector<std::string>> names = namesDown(
            context.fileSystem, outer, leftInner ? leftAnchor : rightAnchor, levels, *depth);
        if (names && keptOut(context.settings, outer, *names))
            return true;
        status = leftInner ? kLeftWithinRight : kRightWithinLeft;
    }
    context.host.reportProblem(
        HistoryRow{left, right, "", "", std::string(status), RowColour::Red});
    return false;
}

} // namespace brisko::engine

#include "engine/CarriedContent.h"

#include "engine/Matching.h"
#include "engine/Selection.h"
#include "platform/DrivePath.h"

namespace brisko::engine {

namespace {

// A search of one tree that ends at the first thing its pass would carry over.
class ContentSearch {
public:
    ContentSearch(Session& session, const std::string& root)
        : session_(session), settings_(session.context.settings), specs_(settings_.tables),
          root_(root), masterScan_(session.masterMode()) {}

    // Nothing when the folder cannot be listed.
    std::optional<bool> holdsContent(const std::string& folder) {
        platform::Listing listing = session_.listings.list(folder);
        if (!listing.result.ok())
            return std::nullopt;
        const bool found = anyContent(folder, listing);
        session_.listings.handBack(folder, std::move(listing));
        return found;
    }

private:
    bool anyContent(const std::string& folder, const platform::Listing& listing) {
        for (const platform::SkippedEntry& skipped : listing.skipped) {
            if (!skipped.special)
                return true;
        }
        for (const platform::DirEntry& entry : listing.entries) {
            if (!entry.attributes.directory &&
                selectedFileSpec(settings_, specs_, entry.name, folder, root_, masterScan_))
                return true;
        }
        for (const platform::DirEntry& entry : listing.entries) {
            if (!entry.attributes.directory || isTemporaryName(entry.name) ||
                !entersFolder(settings_, entry.name, folder, root_))
                continue;
            if (holdsContent(platform::drive_path::join(folder, entry.name)).value_or(true))
                return true;
        }
        return false;
    }

    Session& session_;
    const script::SessionSettings& settings_;
    const FileSpecMatcher specs_;
    const std::string& root_;
    bool masterScan_;
};

} // namespace

std::optional<bool> carriesContent(Session& session, const std::string& root) {
    return ContentSearch(session, root).holdsContent(root);
}

} // namespace brisko::engine

#pragma once

#include "platform/posix/HostNames.h"

#include <map>
#include <string>

namespace brisko::test {

// Host names held in memory and matched exactly, as a case-sensitive host matches them: a map of
// host folders to the names in them. Paths are absolute and separated by '/'.
class FakeHostNames final : public platform::HostNames {
public:
    // Both make the folders on the way.
    void addFolder(const std::string& host);
    void addFile(const std::string& host);
    // Removes a name, and everything below it when it is a folder.
    void remove(const std::string& host);
    // The folder can still be entered (its names looked up) but no longer listed.
    void makeUnlistable(const std::string& folder);

    platform::HostLookup lookUp(const std::string& host, platform::LinkHandling links) override;
    platform::FsResult listNames(const std::string& folder,
                                 std::vector<std::string>& names) override;

private:
    struct Folder {
        std::map<std::string, bool> names; // name -> whether it is a folder
        bool listable = true;
    };

    std::map<std::string, Folder> folders_{{"/", Folder{}}};
};

} // namespace brisko::test

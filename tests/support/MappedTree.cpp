#include "support/MappedTree.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

namespace brisko::test {

namespace fs = std::filesystem;

MappedTree::MappedTree(std::vector<Drive> drives) : drives_(std::move(drives)) {
    for (const Drive& drive : drives_)
        makeFolder(drive.folder);
}

platform::DriveMap MappedTree::driveMap() const {
    platform::DriveMap map(root().string());
    for (const Drive& drive : drives_) {
        if (!map.addEntry(std::string(1, drive.letter) + "=" + path(drive.folder).string()))
            throw std::runtime_error("cannot map drive " + std::string(1, drive.letter));
    }
    return map;
}

std::vector<std::string> MappedTree::driveOptions() const {
    std::vector<std::string> options;
    for (const Drive& drive : drives_) {
        options.push_back("--drive");
        options.push_back(std::string(1, drive.letter) + "=" + path(drive.folder).string());
    }
    return options;
}

void MappedTree::lay(const std::vector<TreeEntry>& entries,
                     std::optional<std::time_t> defaultTime) {
    for (const TreeEntry& entry : entries) {
        const auto time = entry.time ? entry.time : defaultTime;
        if (entry.path.ends_with('/')) {
            makeFolder(entry.path);
        } else if (entry.content.starts_with("->")) {
            makeFolder(fs::path(entry.path).parent_path().string());
            fs::create_symlink(entry.content.substr(2), path(entry.path));
            // The link's own time; its target, if any, is left alone.
            const struct timespec times[2] = {{time.value_or(0), 0}, {time.value_or(0), 0}};
            if (time &&
                utimensat(AT_FDCWD, path(entry.path).c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
                throw std::runtime_error("cannot set the time of " + entry.path);
        } else {
            write(entry.path, entry.content);
            if (time)
                setTime(entry.path, *time);
        }
    }
}

TreeListing MappedTree::listing(std::string_view folder) const {
    TreeListing found;
    const fs::path top = path(folder);
    for (const auto& entry : fs::recursive_directory_iterator(top)) {
        const std::string relative = entry.path().lexically_relative(top).generic_string();
        if (entry.is_symlink())
            found[relative] = "->" + fs::read_symlink(entry.path()).string();
        else if (entry.is_directory() && fs::is_empty(entry.path()))
            found[relative + "/"] = "";
        else if (!entry.is_directory())
            found[relative] = read((fs::path(folder) / relative).string());
    }
    return found;
}

} // namespace brisko::test

#include "engine/BackupNames.h"

#include "engine/Matching.h"
#include "platform/DrivePath.h"
#include "platform/Unicode.h"
#include "script/SplitList.h"

#include <algorithm>

namespace brisko::engine {

namespace {

std::string pathOf(std::string_view folder, std::string_view name, std::string_view extension) {
    std::string path;
    path.reserve(folder.size() + name.size() + extension.size() + 2);
    path.append(folder).append(1, '\\').append(name).append(1, '.').append(extension);
    return path;
}

// The part of a name earlier versions named backups after: up to its first '.', a leading
// '.' included.
std::string_view earlierBase(std::string_view name) {
    return name.substr(0, name.find('.', name.empty() ? 0 : 1));
}

bool isFile(platform::FileSystem& fileSystem, const std::string& path) {
    const platform::PathInfo info = fileSystem.stat(path);
    return info.result.ok() && !info.entry.attributes.directory;
}

// Something is there, or the name cannot be looked at.
bool taken(platform::FileSystem& fileSystem, const std::string& path) {
    return fileSystem.stat(path).result.status != platform::FsStatus::NotFound;
}

bool sharesAnExtension(const std::vector<std::string>& some,
                       const std::vector<std::string>& others) {
    return std::any_of(some.begin(), some.end(), [&](const std::string& extension) {
        return std::any_of(others.begin(), others.end(), [&](const std::string& other) {
            return platform::equalsIgnoreCase(extension, other);
        });
    });
}

// Another file of the folder that earlier versions gave the same backup names.
bool anotherClaimant(const platform::Listing& listing, const script::FileSpecTables& tables,
                     std::string_view name, const std::vector<std::string>& extensions) {
    const std::string base = platform::toUpper(earlierBase(name));
    const FileSpecMatcher matcher(tables);
    for (const platform::DirEntry& entry : listing.entries) {
        if (entry.attributes.directory || entry.attributes.link || entry.name == name ||
            platform::toUpper(earlierBase(entry.name)) != base || isBackupName(tables, entry.name))
            continue;
        // A name without an extension was taken by any mask of its base by earlier versions:
        // whatever its FileSpec is now, it may have made them.
        if (earlierBase(entry.name).size() == entry.name.size())
            return true;
        const std::size_t spec = matcher.find(entry.name);
        if (spec < tables.fileSpecs.size() &&
            sharesAnExtension(backupExtensions(tables.fileSpecs[spec].backup), extensions))
            return true;
    }
    return false;
}

} // namespace

std::vector<std::string> backupExtensions(std::string_view backupList) {
    return script::splitList(backupList, ",;");
}

std::string backupPath(std::string_view folder, std::string_view name, std::string_view extension) {
    return pathOf(folder, name, extension);
}

std::string earlierBackupPath(std::string_view folder, std::string_view name,
                              std::string_view extension) {
    return pathOf(folder, earlierBase(name), extension);
}

BackupChainNames backupChainNames(std::string_view folder, std::string_view name,
                                  std::string_view backupList, bool takeOverEarlier) {
    BackupChainNames chain;
    chain.extensions = backupExtensions(backupList);
    for (const std::string& extension : chain.extensions) {
        chain.paths.push_back(backupPath(folder, name, extension));
        if (takeOverEarlier)
            chain.earlier.push_back(earlierBackupPath(folder, name, extension));
    }
    return chain;
}

bool ownsEarlierBackups(platform::FileSystem& fileSystem, const script::FileSpecTables& tables,
                        std::string_view folder, std::string_view name,
                        std::string_view backupList) {
    const BackupChainNames chain = backupChainNames(folder, name, backupList, true);
    // A name without an inner '.' has kept its backup names.
    if (chain.earlier == chain.paths)
        return false;
    const std::string target = platform::drive_path::join(folder, name);
    bool anyEarlier = false;
    for (const std::string& path : chain.earlier) {
        if (platform::equalsIgnoreCase(path, target))
            return false;
        anyEarlier = anyEarlier || isFile(fileSystem, path);
    }
    if (!anyEarlier)
        return false;
    for (const std::string& path : chain.paths) {
        if (taken(fileSystem, path))
            return false;
    }
    const platform::Listing listing = fileSystem.list(folder);
    return listing.result.ok() && !anotherClaimant(listing, tables, name, chain.extensions);
}

} // namespace brisko::engine

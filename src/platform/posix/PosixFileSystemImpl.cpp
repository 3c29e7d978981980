#include "platform/posix/PosixFileSystemImpl.h"

#include "platform/Refusals.h"
#include "platform/posix/FolderWalk.h"
#include "platform/posix/PosixErrors.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

// The host path of names below base.
std::string joinNames(const std::string& base, const std::vector<std::string>& names,
                      std::size_t count) {
    std::string host = base;
    for (std::size_t i = 0; i < count && i < names.size(); ++i)
        host = joinHost(host, names[i]);
    return host;
}

std::string joinNames(const std::string& base, const std::vector<std::string>& names) {
    return joinNames(base, names, names.size());
}

// The names of host below base (host begins with base).
std::vector<std::string> namesBelow(const std::string& base, const std::string& host) {
    std::vector<std::string> names;
    for (std::size_t start = std::min(base.size(), host.size()); start < host.size();) {
        const std::size_t end = std::min(host.find('/', start), host.size());
        if (end > start)
            names.push_back(host.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// The folder of a parsed path's last name as written: two paths with the same key name the same
// folder.
std::string folderKeyOf(const ParsedPath& parsed) {
    const auto& names = parsed.route.components;
    std::string key = parsed.route.base;
    key += parsed.driveForm ? '|' : '/';
    for (std::size_t i = 0; i + 1 < names.size(); ++i)
        key += names[i] + '/';
    return key;
}
} // namespace

std::string lastName(const std::string& host) {
    const auto slash = host.rfind('/');
    return slash == std::string::npos ? host : host.substr(slash + 1);
}

std::string parentOf(const std::string& host) {
    const auto slash = host.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : host.substr(0, slash);
}

bool linkStatus(const Target& target, struct stat& info) {
    if (target.status && !target.driveFolder) {
        info = *target.status;
        return true;
    }
    return fstatat(target.at(), target.entry(), &info, AT_SYMLINK_NOFOLLOW) == 0;
}

std::string currentHostFolder() {
    std::string buffer(PATH_MAX, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size()) != nullptr)
            return buffer.c_str();
        if (errno != ERANGE)
            return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

bool PosixFileSystem::Impl::parse(std::string_view path, ParsedPath& parsed) {
    std::string current;
    if (isRelativeProgramPath(path)) {
        current = currentHostFolder();
        if (current.empty()) {
            parsed.result = {FsStatus::NotFound, "the current folder no longer exists"};
            return false;
        }
    }
    parsed = parseProgramPath(path, drives, current);
    return parsed.result.ok();
}

LinkHandling PosixFileSystem::Impl::onTheWay(const ParsedPath& parsed) {
    return parsed.driveForm ? LinkHandling::Inspect : LinkHandling::Follow;
}

HeldFolder PosixFileSystem::Impl::walkTo(const ParsedPath& parsed,
                                         const std::vector<std::string>& names, std::size_t count,
                                         FsResult& result) {
    const LinkHandling links = onTheWay(parsed);
    if (links == LinkHandling::Follow)
        return HeldFolder(walkFolders(parsed.route.base, names, count, links, result));
    const std::string host = joinNames(parsed.route.base, names, count);
    if (HeldFolder kept = walkedFolders.find(host); kept.valid()) {
        result = FsResult::success();
        return kept;
    }
    HeldFolder folder(walkFolders(parsed.route.base, names, count, links, result));
    walkedFolders.keep(host, folder);
    return folder;
}

Resolution PosixFileSystem::Impl::reach(const ParsedPath& parsed, bool exactLast, Target& target,
                                        const Target* sibling) {
    const HostRoute& route = parsed.route;
    const auto& names = route.components;
    if (names.empty())
        return resolver.resolve(route, exactLast); // the drive's own folder
    const std::size_t folders = names.size() - 1;
    FsResult walked;
    HeldFolder folder;
    target.folderKey = folderKeyOf(parsed);
    if (sibling != nullptr && sibling->folder.valid() && sibling->folderKey == target.folderKey)
        folder = sibling->folder;
    if (!folder.valid())
        folder = walkTo(parsed, names, folders, walked);
    struct stat info {};
    if (folder.valid()) {
        if (fstatat(folder.get(), names.back().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            Resolution found;
            found.count = found.found = names.size();
            found.host = found.existing = joinNames(route.base, names);
            found.status = info;
            target.folder = std::move(folder);
            target.name = names.back();
            return found;
        }
        walked = lastFailure();
    }
    if (walked.status != FsStatus::NotFound) {
        Resolution failed;
        failed.result = std::move(walked);
        failed.count = names.size();
        failed.host = joinNames(route.base, names);
        return failed;
    }
    Resolution resolution = resolver.resolveAbsent(route, exactLast);
    if (!resolution.result.ok() && !resolution.onlyLastMissing())
        return resolution;
    const std::vector<std::string> onDisk = namesBelow(route.base, resolution.host);
    if (onDisk.size() != names.size()) {
        resolution.result = {FsStatus::InvalidName, "a name the path cannot carry"};
        return resolution;
    }
    if (!folder.valid() || !std::equal(names.begin(), names.begin() + folders, onDisk.begin())) {
        folder = walkTo(parsed, onDisk, folders, walked);
        if (!folder.valid()) {
            resolution.result = std::move(walked);
            return resolution;
        }
    }
    if (resolution.result.ok()) {
        if (fstatat(folder.get(), onDisk.back().c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            resolution.result = lastFailure();
            return resolution;
        }
        resolution.status = info;
    }
    target.folder = std::move(folder);
    target.name = onDisk.back();
    return resolution;
}

Target PosixFileSystem::Impl::locate(std::string_view path, Need need, bool exactLast,
                                     const Target* sibling) {
    Target target;
    ParsedPath parsed;
    if (!parse(path, parsed)) {
        target.result = parsed.result;
        return target;
    }
    const auto& names = parsed.route.components;
    Resolution resolution = reach(parsed, exactLast, target, sibling);
    target.result = resolution.result;
    target.host = resolution.host;
    target.driveFolder = names.empty();
    target.status = resolution.status;
    if (!names.empty())
        target.requestedName = names.back();
    // Something is made only in a folder that the walk reached.
    if (need == Need::Creatable && resolution.onlyLastMissing() && target.folder.valid()) {
        target.result = FsResult::success();
        target.missing = true;
    }
    return target;
}

FsResult PosixFileSystem::Impl::makeFolders(std::string_view path, bool exactLast) {
    ParsedPath parsed;
    if (!parse(path, parsed))
        return parsed.result;
    const HostRoute& route = parsed.route;
    Resolution resolution = resolver.resolveAbsent(route, exactLast);
    if (resolution.result.status != FsStatus::NotFound || resolution.count == 0)
        return resolution.result;
    resolver.forgetAll();
    const std::vector<std::string> existing = namesBelow(route.base, resolution.existing);
    FsResult result;
    UniqueFd folder = walkFolders(route.base, existing, existing.size(), onTheWay(parsed), result);
    for (std::size_t i = resolution.found; i < resolution.count && folder.valid(); ++i) {
        const char* name = route.components[i].c_str();
        if (mkdirat(folder.get(), name, 0777) != 0 && errno != EEXIST)
            return lastFailure();
        folder = openFolderAt(folder.get(), name, onTheWay(parsed), O_PATH, result);
    }
    if (result.status == FsStatus::NotAFolder)
        return refusal::fileHasThatName();
    if (result.status == FsStatus::Unsupported)
        return refusal::linkOnTheWay();
    return result;
}

Target PosixFileSystem::Impl::plainEntry(std::string_view path, HostEntry& entry, bool exactLast) {
    Target target = locate(path, Need::Existing, exactLast);
    if (!target.ok())
        return target;
    if (target.status && !target.driveFolder) {
        DosStampCache stamps;
        entry = inspectEntry(*target.status, target.at(), target.entry(), lastName(target.host),
                             stamps);
    } else {
        entry = inspectEntry(target.at(), target.entry(), lastName(target.host), target.links());
    }
    target.result = entry.result;
    return target;
}

Target PosixFileSystem::Impl::plainEntry(std::string_view path, bool exactLast) {
    HostEntry ignored;
    return plainEntry(path, ignored, exactLast);
}

Target PosixFileSystem::Impl::ownEntry(std::string_view path, struct stat& info, bool exactLast) {
    Target target = plainEntry(path, exactLast);
    if (!target.ok())
        return target;
    if (target.status && !target.driveFolder) {
        info = *target.status;
        return target;
    }
    if (fstatat(target.at(), target.entry(), &info, target.noFollow()) != 0)
        target.result = lastFailure();
    return target;
}
PosixFileSystem::Impl::TargetPair
PosixFileSystem::Impl::locatePair(std::string_view from, std::string_view to, bool exactLast) {
    TargetPair pair;
    pair.from = locate(from, Need::Existing, exactLast);
    if (!pair.from.ok()) {
        pair.result = pair.from.result;
        return pair;
    }
    pair.to = locate(to, Need::Creatable, exactLast, &pair.from);
    pair.result = pair.to.result;
    return pair;
}

} // namespace brisko::platform

#include "platform/RoutedFileSystem.h"

#include "platform/DrivePath.h"

namespace brisko::platform {

namespace {

FsResult acrossFileSystems() {
    return {FsStatus::Unsupported, "the two names are on different machines"};
}

} // namespace

RoutedFileSystem::RoutedFileSystem(std::unique_ptr<FileSystem> host, Drives drives)
    : ownHost_(std::move(host)), ownDrives_(std::move(drives)), host_(*ownHost_) {
    for (auto& [key, drive] : ownDrives_)
        routes_.emplace(key, drive.get());
}

RoutedFileSystem::RoutedFileSystem(FileSystem& host, Routes routes)
    : host_(host), routes_(std::move(routes)) {}

RoutedFileSystem::~RoutedFileSystem() = default;

FileSystem& RoutedFileSystem::routeOf(std::string_view path) {
    if (routes_.empty() || !drive_path::hasDrive(path))
        return host_;
    const auto found = routes_.find(drive_path::driveKey(path));
    return found == routes_.end() ? host_ : *found->second;
}

FileSystem* RoutedFileSystem::commonRoute(std::string_view first, std::string_view second) {
    FileSystem& route = routeOf(first);
    return &route == &routeOf(second) ? &route : nullptr;
}

std::optional<std::string> RoutedFileSystem::hostPath(std::string_view path) {
    return routeOf(path).hostPath(path);
}

Listing RoutedFileSystem::list(std::string_view folder) {
    return routeOf(folder).list(folder);
}

PathInfo RoutedFileSystem::stat(std::string_view path) {
    return routeOf(path).stat(path);
}

std::optional<FileIdentity> RoutedFileSystem::identityOf(std::string_view path) {
    return routeOf(path).identityOf(path);
}

std::vector<FileIdentity> RoutedFileSystem::folderChain(std::string_view folder) {
    return routeOf(folder).folderChain(folder);
}

bool RoutedFileSystem::driveExists(std::string_view drive) {
    return routeOf(drive).driveExists(drive);
}

std::string RoutedFileSystem::whyNoDrive(std::string_view drive) {
    return routeOf(drive).whyNoDrive(drive);
}

FsResult RoutedFileSystem::setReadOnly(std::string_view path, bool readOnly) {
    return routeOf(path).setReadOnly(path, readOnly);
}

FsResult RoutedFileSystem::clearAttributes(std::string_view path) {
    return routeOf(path).clearAttributes(path);
}

FsResult RoutedFileSystem::copyAttributes(std::string_view from, std::string_view to) {
    if (FileSystem* common = commonRoute(from, to))
        return common->copyAttributes(from, to);
    const std::optional<std::uint32_t> bits = routeOf(from).permissions(from);
    if (!bits)
        return FsResult::success(); // a link, or a system without permission bits: nothing to carry
    return routeOf(to).setPermissions(to, *bits);
}

std::optional<std::uint32_t> RoutedFileSystem::permissions(std::string_view path) {
    return routeOf(path).permissions(path);
}

FsResult RoutedFileSystem::setPermissions(std::string_view path, std::uint32_t bits) {
    return routeOf(path).setPermissions(path, bits);
}

FsResult RoutedFileSystem::removeFile(std::string_view path) {
    return routeOf(path).removeFile(path);
}

FsResult RoutedFileSystem::rename(std::string_view from, std::string_view to) {
    FileSystem* common = commonRoute(from, to);
    return common ? common->rename(from, to) : acrossFileSystems();
}

FsResult RoutedFileSystem::link(std::string_view existing, std::string_view newName) {
    FileSystem* common = commonRoute(existing, newName);
    return common ? common->link(existing, newName) : acrossFileSystems();
}

FsResult RoutedFileSystem::createLink(std::string_view path, std::string_view targetText) {
    return routeOf(path).createLink(path, targetText);
}

FsResult RoutedFileSystem::createFolders(std::string_view path) {
    return routeOf(path).createFolders(path);
}

FsResult RoutedFileSystem::removeFolder(std::string_view path) {
    return routeOf(path).removeFolder(path);
}

std::optional<std::int64_t> RoutedFileSystem::freeBytes(std::string_view drive) {
    return routeOf(drive).freeBytes(drive);
}

std::unique_ptr<InputFile> RoutedFileSystem::openRead(std::string_view path, FsResult& result,
                                                      LinkPolicy links) {
    return routeOf(path).openRead(path, result, links);
}

std::unique_ptr<OutputFile> RoutedFileSystem::createFresh(std::string_view path, FsResult& result) {
    return routeOf(path).createFresh(path, result);
}

void RoutedFileSystem::dropCache(std::string_view path) {
    routeOf(path).dropCache(path);
}

FsResult RoutedFileSystem::flushFolder(std::string_view folder) {
    return routeOf(folder).flushFolder(folder);
}

FsResult RoutedFileSystem::setStamp(std::string_view path, DosStamp stamp) {
    return routeOf(path).setStamp(path, stamp);
}

void RoutedFileSystem::forgetCachedNames() {
    host_.forgetCachedNames();
    for (auto& [key, route] : routes_)
        route->forgetCachedNames();
}

FileSystem& RoutedFileSystem::exactNames() {
    if (!exactView_) {
        Routes exact;
        for (auto& [key, route] : routes_)
            exact.emplace(key, &route->exactNames());
        exactView_.reset(new RoutedFileSystem(host_.exactNames(), std::move(exact)));
    }
    return *exactView_;
}

std::string RoutedFileSystem::currentFolder() {
    return host_.currentFolder();
}

FsResult RoutedFileSystem::setCurrentFolder(std::string_view path) {
    return routeOf(path).setCurrentFolder(path);
}

} // namespace brisko::platform

#include "engine/Plan.h"

#include <algorithm>
#include <numeric>

namespace brisko::engine {

bool Plan::addFileToDelete(const std::string& path, std::int64_t size) {
    PathAction file;
    file.path = path;
    file.size = size;
    return addFileToDelete(std::move(file));
}

bool Plan::addFileToDelete(PathAction file) {
    if (!fileDeleteIndex_.insert(file.path).second)
        return false;
    filesToDelete_.push_back(std::move(file));
    return true;
}

bool Plan::addFolderToCreate(const std::string& path) {
    PathAction folder;
    folder.path = path;
    return addFolderToCreate(std::move(folder));
}

bool Plan::addFolderToCreate(PathAction folder) {
    if (!folderCreateIndex_.insert(folder.path).second)
        return false;
    foldersToCreate_.push_back(std::move(folder));
    return true;
}

bool Plan::addFolderToDelete(const std::string& path) {
    PathAction folder;
    folder.path = path;
    return addFolderToDelete(std::move(folder));
}

bool Plan::addFolderToDelete(PathAction folder) {
    if (!folderDeleteIndex_.insert(folder.path).second)
        return false;
    foldersToDelete_.push_back(std::move(folder));
    return true;
}

bool Plan::addCopy(CopyAction copy) {
    if (copyTargetIndex_.contains(filesToCopy_, copy.targetFolder, copy.name))
        return false;
    filesToCopy_.push_back(std::move(copy));
    copyTargetIndex_.add(filesToCopy_, filesToCopy_.size() - 1);
    return true;
}

bool Plan::hasFileToDelete(std::string_view path) const {
    return fileDeleteIndex_.find(path) != fileDeleteIndex_.end();
}

bool Plan::hasFolderToCreate(std::string_view path) const {
    return folderCreateIndex_.find(path) != folderCreateIndex_.end();
}

bool Plan::hasFolderToDelete(std::string_view path) const {
    return folderDeleteIndex_.find(path) != folderDeleteIndex_.end();
}

bool Plan::isCopyTarget(std::string_view path) const {
    // Asked for every pair of equal files: a plan without copies answers without hashing.
    return !copyTargetIndex_.empty() && copyTargetIndex_.contains(filesToCopy_, path);
}

bool Plan::empty() const {
    return filesToDelete_.empty() && foldersToCreate_.empty() && foldersToDelete_.empty() &&
           filesToCopy_.empty();
}

void Plan::clear() {
    filesToDelete_.clear();
    foldersToCreate_.clear();
    foldersToDelete_.clear();
    filesToCopy_.clear();
    fileDeleteIndex_.clear();
    folderCreateIndex_.clear();
    folderDeleteIndex_.clear();
    copyTargetIndex_.clear();
    sessionBytes_.assign(1, 0);
}

void Plan::addSessionBytes(int session, std::int64_t bytes) {
    const auto index = static_cast<std::size_t>(std::max(session, 0));
    openSessions(static_cast<int>(index));
    sessionBytes_[index] += bytes;
}

void Plan::openSessions(int lastSession) {
    const auto size = static_cast<std::size_t>(std::max(lastSession, 0)) + 1;
    if (sessionBytes_.size() < size)
        sessionBytes_.resize(size, 0);
}

std::int64_t Plan::totalBytes() const {
    return std::accumulate(sessionBytes_.begin(), sessionBytes_.end(), std::int64_t{0});
}

} // namespace brisko::engine

#include "run/TemporaryFile.h"

#include "platform/DrivePath.h"

namespace brisko::run {

TemporaryFile::TemporaryFile(platform::FileSystem& fileSystem, const std::string& folder)
    : fileSystem_(fileSystem), path_(platform::drive_path::join(folder, kName)) {}

TemporaryFile::~TemporaryFile() {
    discard();
}

platform::FsResult TemporaryFile::create() {
    platform::FsResult result;
    output_ = fileSystem_.createFresh(path_, result);
    if (!output_ && removeLeftoverLink())
        output_ = fileSystem_.createFresh(path_, result);
    created_ = output_ != nullptr;
    if (output_)
        identity_ = output_->identity();
    return result;
}

bool TemporaryFile::removeLeftoverLink() {
    const platform::PathInfo there = fileSystem_.stat(path_);
    return there.result.ok() && there.entry.attributes.link && fileSystem_.removeFile(path_).ok();
}

platform::FsResult TemporaryFile::createLink(const std::string& targetText) {
    // The file claims the name (a leftover is replaced, a live one refused) and keeps its lock
    // while the link takes its place.
    if (platform::FsResult claimed = create(); !claimed.ok())
        return claimed;
    if (platform::FsResult removed = fileSystem_.removeFile(path_); !removed.ok())
        return removed;
    created_ = false;
    platform::FsResult made = fileSystem_.createLink(path_, targetText);
    if (!made.ok())
        return made;
    created_ = true;
    link_ = true;
    identity_ = fileSystem_.identityOf(path_);
    return made;
}

platform::FsResult TemporaryFile::flush() {
    return output_->flush();
}

bool TemporaryFile::stillOurs() {
    if (!identity_)
        return true; // a file system that cannot tell files apart
    return fileSystem_.identityOf(path_) == identity_;
}

platform::FsResult TemporaryFile::whyNotOurs() {
    const platform::PathInfo now = fileSystem_.stat(path_);
    if (now.result.ok() || now.result.status == platform::FsStatus::NotFound)
        return {platform::FsStatus::InUse, {}};
    return now.result;
}

void TemporaryFile::handOver() {
    created_ = false;
    if (output_) {
        output_->close();
        output_.reset();
    }
}

void TemporaryFile::discard() {
    const bool removeIt = created_ && stillOurs();
    created_ = false;
    if (removeIt) {
        if (!link_)
            fileSystem_.clearAttributes(path_);
        fileSystem_.removeFile(path_);
    }
    // Closed last: the lock keeps other runs off the name until it is gone.
    if (output_) {
        output_->close();
        output_.reset();
    }
}

} // namespace brisko::run

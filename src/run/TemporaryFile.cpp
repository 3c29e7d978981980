#include "run/TemporaryFile.h"

namespace brisko::run {

TemporaryFile::TemporaryFile(platform::FileSystem& fileSystem, const std::string& folder)
    : fileSystem_(fileSystem), path_(folder + "\\" + kName) {}

TemporaryFile::~TemporaryFile() {
    discard();
}

platform::FsResult TemporaryFile::create() {
    platform::FsResult result;
    output_ = fileSystem_.createFresh(path_, result);
    created_ = output_ != nullptr;
    return result;
}

platform::FsResult TemporaryFile::flushAndClose() {
    platform::FsResult flushed = output_->flush();
    platform::FsResult closed = output_->close();
    output_.reset();
    return flushed.ok() ? closed : flushed;
}

void TemporaryFile::discard() {
    if (output_) {
        output_->close();
        output_.reset();
    }
    if (!created_)
        return;
    created_ = false;
    fileSystem_.clearAttributes(path_);
    fileSystem_.removeFile(path_);
}

} // namespace brisko::run

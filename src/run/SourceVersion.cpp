#include "run/SourceVersion.h"

namespace brisko::run {

SourceVersion::SourceVersion(platform::FileSystem& fileSystem, std::string path,
                             platform::PathInfo named, const platform::InputFile& opened)
    : fileSystem_(fileSystem), path_(std::move(path)), named_(std::move(named)),
      opened_(opened.version()) {
    // Without a version of the handle there is no identity to hold the name to.
    if (opened_)
        namedIdentity_ = fileSystem_.identityOf(path_);
}

bool SourceVersion::openedAsNamed() const {
    if (!named_.result.ok())
        return false;
    return !opened_ || (opened_->size == named_.entry.size && namedIdentity_ == opened_->identity);
}

bool SourceVersion::unchanged(const platform::InputFile& input) const {
    if (opened_ && input.version() != opened_)
        return false;
    const platform::PathInfo now = fileSystem_.stat(path_);
    if (!now.result.ok() || now.entry.size != named_.entry.size ||
        now.entry.stamp != named_.entry.stamp)
        return false;
    return !opened_ || fileSystem_.identityOf(path_) == opened_->identity;
}

} // namespace brisko::run

#pragma once

#include "platform/FileSystem.h"

#include <optional>
#include <string>

namespace brisko::run {

// A source as it was when it was opened for copying, by name and on its open handle. A copy of
// it is whole only when the source still looks the same both ways after its last byte is read:
// a rewrite in place moves the handle's change time even when its stamp is put back, and a new
// file under the name has another identity.
class SourceVersion {
public:
    // named: the look at the name just before it was opened.
    SourceVersion(platform::FileSystem& fileSystem, std::string path, platform::PathInfo named,
                  const platform::InputFile& opened);

    // Whether the open file is the one the name showed (not replaced in between).
    bool openedAsNamed() const;
    // Whether the source is still as it was opened, on the handle and by name.
    bool unchanged(const platform::InputFile& input) const;

    const platform::DirEntry& entry() const { return named_.entry; }

private:
    platform::FileSystem& fileSystem_;
    std::string path_;
    platform::PathInfo named_;
    std::optional<platform::FileVersion> opened_;
    std::optional<platform::FileIdentity> namedIdentity_;
};

} // namespace brisko::run

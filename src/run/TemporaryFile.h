#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <optional>
#include <string>

namespace brisko::run {

// The temporary file "$BRISKO$.$$$" that a copy is written into inside the target folder
// before it takes the target's name. It stays open, holding its lock, until it has the
// target's name or is discarded, so that no other run takes it over meanwhile. Whatever this
// object created is removed again when it goes, unless it was handed over under the target's
// name.
class TemporaryFile {
public:
    static constexpr const char* kName = "$BRISKO$.$$$";

    TemporaryFile(platform::FileSystem& fileSystem, const std::string& folder);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::string& path() const { return path_; }

    // Creates the file afresh: a leftover regular file or symbolic link is replaced (a link is
    // never followed), while one that another run is writing (InUse), or a folder or device of
    // that name, is refused and left alone.
    platform::FsResult create();
    // Claims the name as create() does, then puts a symbolic link holding targetText there.
    platform::FsResult createLink(const std::string& targetText);
    // The open file; valid after create() until the object hands over or discards it.
    platform::OutputFile& output() { return *output_; }
    // Puts the data on the disk; the file stays open.
    platform::FsResult flush();
    // Whether the name still holds what this object made there (nobody replaced it).
    bool stillOurs();
    // Why the name no longer holds it: InUse when something else is there, or the file system's
    // failure when the name cannot be looked at now (a connection lost).
    platform::FsResult whyNotOurs();
    // The file now has the target's name: it is closed and nothing is left to remove.
    void handOver();
    // Closes (errors ignored), clears the attributes and deletes the file, if it was created.
    void discard();

private:
    // Removes a symbolic link at the name, as a run cut short while copying a link leaves it;
    // whether one went.
    bool removeLeftoverLink();

    platform::FileSystem& fileSystem_;
    std::string path_;
    std::unique_ptr<platform::OutputFile> output_;
    std::optional<platform::FileIdentity> identity_;
    bool created_ = false;
    bool link_ = false;
};

} // namespace brisko::run

#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>

namespace brisko::run {

// The temporary file "$BRISKO$.$$$" that a copy is written into inside the target folder
// before it takes the target's name. Whatever this object created is removed again when it
// goes, unless it was handed over under the target's name.
class TemporaryFile {
public:
    static constexpr const char* kName = "$BRISKO$.$$$";

    TemporaryFile(platform::FileSystem& fileSystem, const std::string& folder);
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    const std::string& path() const { return path_; }

    // Creates the file afresh: a leftover regular file is replaced, while a link, folder or
    // device of that name is refused and left alone.
    platform::FsResult create();
    // The open file; valid between create() and close().
    platform::OutputFile& output() { return *output_; }
    // Puts the data on the disk and closes the file.
    platform::FsResult flushAndClose();
    // The file now has the target's name: nothing is left to remove.
    void handOver() { created_ = false; }
    // Closes (errors ignored), clears the attributes and deletes the file, if it was created.
    void discard();

private:
    platform::FileSystem& fileSystem_;
    std::string path_;
    std::unique_ptr<platform::OutputFile> output_;
    bool created_ = false;
};

} // namespace brisko::run

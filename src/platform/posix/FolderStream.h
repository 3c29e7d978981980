#pragma once

#include "platform/FileSystem.h"

#include <dirent.h>
#include <string>

namespace brisko::platform {

enum class FinalLink {
    Refuse, // the folder itself must not be a symbolic link
    Follow, // a link on the way is followed as the system follows it
};

// Reads the names of one folder in the order the system keeps them.
class FolderStream {
public:
    // Opens host; on failure ok() is false and result() says why (NotAFolder for a file,
    // Unsupported for a link that was to be refused).
    FolderStream(const std::string& host, FinalLink links);
    // Opens name relative to the open folder parent (or AT_FDCWD), in the same way.
    FolderStream(int parent, const char* name, FinalLink links);
    ~FolderStream();
    FolderStream(const FolderStream&) = delete;
    FolderStream& operator=(const FolderStream&) = delete;

    bool ok() const { return result_.ok(); }
    const FsResult& result() const { return result_; }
    // The folder's descriptor, for calls relative to it.
    int fd() const;
    // The next name ("." and ".." included), nullptr at the end or when reading failed
    // (result() then holds the failure).
    const char* next();

private:
    DIR* dir_ = nullptr;
    FsResult result_;
};

} // namespace brisko::platform

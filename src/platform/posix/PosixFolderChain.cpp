#include "platform/posix/PosixFileSystem.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>

namespace brisko::platform {

std::vector<FileIdentity> PosixFileSystem::folderChain(std::string_view folder) {
    std::vector<FileIdentity> chain;
    const std::optional<std::string> host = hostPath(folder);
    if (!host)
        return chain;
    // The path with every link and "." or ".." taken out, as the system resolves it.
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(host->c_str(), nullptr),
                                                               &std::free);
    if (resolved == nullptr)
        return chain;
    std::string path(resolved.get());
    for (;;) {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            return chain; // a folder above that cannot be looked at ends the chain
        chain.push_back(FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                                     static_cast<std::uint64_t>(info.st_ino)});
        if (path == "/")
            return chain;
        const std::size_t slash = path.rfind('/');
        path.resize(slash == 0 ? 1 : slash);
    }
}

} // namespace brisko::platform

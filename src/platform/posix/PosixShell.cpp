#include "platform/posix/PosixShell.h"

#include "platform/ChildProcess.h"
#include "platform/Refusals.h"
#include "platform/posix/PosixErrors.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace brisko::platform {

namespace {

constexpr const char* kDefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";
constexpr const char* kDocumentOpener = "xdg-open";

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::string currentFolder() {
    char buffer[4096];
    return getcwd(buffer, sizeof buffer) != nullptr ? std::string(buffer) : std::string();
}

// A path taken against a folder unless it is absolute.
std::string against(const std::string& folder, const std::string& path) {
    if (path.empty() || path.front() == '/' || folder.empty())
        return path;
    return folder + "/" + path;
}

// The executable file of a name on PATH, as an absolute path (so that the child's change of
// folder cannot change what is run).
std::optional<std::string> findOnPath(const std::string& name) {
    const char* variable = std::getenv("PATH");
    const std::string searchPath = variable != nullptr ? variable : kDefaultSearchPath;
    const std::string here = currentFolder();
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = searchPath.find(':', start);
        const std::string folder = searchPath.substr(start, end - start);
        // An empty entry stands for the current folder.
        const std::string candidate = against(here, folder.empty() ? name : folder + "/" + name);
        if (isExecutableFile(candidate))
            return candidate;
        if (end == std::string::npos)
            return std::nullopt;
        start = end + 1;
    }
}

// Starts an executable file; arguments[0] is the name the program sees as its own. It stays in
// our session and is never waited for.
FsResult spawn(const std::string& executable, const std::vector<std::string>& arguments,
               const std::string& workingFolder) {
    ChildProcess::Request request;
    request.arguments = arguments;
    request.executable = executable;
    request.folder = workingFolder;
    request.session = ChildProcess::Session::Ours;
    const int error = ChildProcess::launch(request);
    return error == 0 ? FsResult::success() : resultFromErrno(error);
}

FsResult openDocument(const std::string& document, const std::string& workingFolder) {
    const std::optional<std::string> opener = findOnPath(kDocumentOpener);
    if (!opener)
        return {FsStatus::Unsupported, "no program to open documents (xdg-open) was found"};
    return spawn(*opener, {kDocumentOpener, document}, workingFolder);
}

} // namespace

FsResult PosixShell::open(const std::string& program, const std::vector<std::string>& parameters,
                          const std::string& workingFolder) {
    if (program.empty())
        return refusal::noProgramNamed();
    std::vector<std::string> arguments{program};
    arguments.insert(arguments.end(), parameters.begin(), parameters.end());

    if (program.find('/') == std::string::npos) {
        if (std::optional<std::string> found = findOnPath(program))
            return spawn(*found, arguments, workingFolder);
    }
    const std::string folder = workingFolder.empty() ? currentFolder() : workingFolder;
    const std::string path = against(against(currentFolder(), folder), program);
    if (isExecutableFile(path))
        return spawn(path, arguments, workingFolder);
    if (exists(path))
        return openDocument(path, workingFolder);
    return refusal::noProgramOrFile(program);
}

std::string runningProgramPath() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

} // namespace brisko::platform

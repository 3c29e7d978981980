#include "support/TempTree.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

namespace brisko::test {

namespace fs = std::filesystem;

TempTree::TempTree() {
    std::string pattern = (fs::temp_directory_path() / "brisko-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot create a temporary folder");
    root_ = pattern;
}

TempTree::~TempTree() {
    std::error_code ignored;
    // Give back write access everywhere first, so that read-only entries can be removed.
    for (auto it = fs::recursive_directory_iterator(
             root_, fs::directory_options::skip_permission_denied, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root_, ignored);
}

fs::path TempTree::path(std::string_view relative) const {
    return root_ / fs::path(relative);
}

fs::path TempTree::write(std::string_view relative, std::string_view content) {
    fs::path target = path(relative);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + target.string());
    return target;
}

fs::path TempTree::makeFolder(std::string_view relative) {
    fs::path target = path(relative);
    fs::create_directories(target);
    return target;
}

std::string TempTree::read(std::string_view relative) const {
    std::ifstream in(path(relative), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool TempTree::exists(std::string_view relative) const {
    std::error_code ignored;
    return fs::exists(fs::symlink_status(path(relative), ignored));
}

void TempTree::setTime(std::string_view relative, std::time_t time) {
    struct timeval times[2] = {{time, 0}, {time, 0}};
    if (utimes(path(relative).c_str(), times) != 0)
        throw std::runtime_error("cannot set the time of " + path(relative).string());
}

} // namespace brisko::test

#include "support/TempTree.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace brisko::test {

namespace fs = std::filesystem;

fs::path hostPathOf(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8Of(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

TempTree::TempTree() {
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate =
            fs::temp_directory_path() / ("brisko-test-" + std::to_string(numbers() % 1000000000));
        if (fs::create_directory(candidate)) {
            root_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
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
    return root_ / hostPathOf(relative);
}

fs::path TempTree::write(std::string_view relative, std::string_view content) {
    fs::path target = path(relative);
    fs::create_directories(target.parent_path());
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    if (!out)
        throw std::runtime_error("cannot write " + utf8Of(target));
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
#ifdef _WIN32
    const auto when =
        fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(time));
    std::error_code error;
    fs::last_write_time(path(relative), when, error);
    const bool failed = static_cast<bool>(error);
#else
    // The access time too: a file laid with a time looks untouched since, as a file left over
    // from an earlier run does.
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    const bool failed = utimensat(AT_FDCWD, path(relative).c_str(), times, 0) != 0;
#endif
    if (failed)
        throw std::runtime_error("cannot set the time of " + utf8Of(path(relative)));
}

std::time_t TempTree::time(std::string_view relative) const {
    const auto when = fs::file_time_type::clock::to_sys(fs::last_write_time(path(relative)));
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(when));
}

} // namespace brisko::test

#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>

namespace brisko::test {

// Host paths from UTF-8 text and back, the same on every system.
std::filesystem::path hostPathOf(std::string_view utf8);
std::string utf8Of(const std::filesystem::path& path);

// A fresh temporary folder, removed with everything in it when the object goes.
class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& root() const { return root_; }
    std::filesystem::path path(std::string_view relative) const;

    // Writes a file (creating its folders) and returns its host path.
    std::filesystem::path write(std::string_view relative, std::string_view content);
    std::filesystem::path makeFolder(std::string_view relative);
    std::string read(std::string_view relative) const;
    bool exists(std::string_view relative) const;
    // Sets a file's modification time (seconds since the epoch).
    void setTime(std::string_view relative, std::time_t time);
    std::time_t time(std::string_view relative) const;

private:
    std::filesystem::path root_;
};

} // namespace brisko::test

#pragma once

#include <filesystem>

namespace brisko::test {

// A drive letter of the system that reaches a folder while the object lives (Windows only).
class SystemDriveLetter {
public:
    SystemDriveLetter(char letter, const std::filesystem::path& folder);
    ~SystemDriveLetter();
    SystemDriveLetter(const SystemDriveLetter&) = delete;
    SystemDriveLetter& operator=(const SystemDriveLetter&) = delete;

    // Waits until files under the letter show its own volume. Wine gives each drive letter a
    // volume of its own and finds a file's volume from the drive folders above it, in a list
    // it reads again at most once a second: until then a file under a newly mapped letter
    // shows the volume of the drive around the folder, later its own, and a file's identity
    // would change under a copy that compares it. (Called once all letters are mapped, so
    // that one wait serves them all.)
    void awaitOwnVolume() const;

private:
    wchar_t device_[3];
    std::filesystem::path folder_;
    bool throughMountManager_ = false;
};

} // namespace brisko::test

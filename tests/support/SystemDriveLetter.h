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

private:
    wchar_t device_[3];
    std::filesystem::path folder_;
    bool throughMountManager_ = false;
};

} // namespace brisko::test

#include "support/SftpDrives.h"

#include <cstdlib>

namespace brisko::test {

#ifndef _WIN32
namespace {

const char* serverFolder() {
    const char* folder = std::getenv("BRISKO_TEST_SFTP");
    return folder && *folder ? folder : nullptr;
}

} // namespace
#endif

bool drivesOverSftp() {
#ifdef _WIN32
    return false; // SFTP locations are for Linux
#else
    static const bool over = [] {
        const char* folder = serverFolder();
        // The program under test and every console runner it starts reach the server alike.
        if (folder)
            setenv("BRISKO_SSH", (std::string("ssh -F ") + folder + "/ssh_config").c_str(), 1);
        return folder != nullptr;
    }();
    return over;
#endif
}

std::optional<std::string> sftpUrlOf(const std::string& hostFolder) {
    if (!drivesOverSftp())
        return std::nullopt;
    return "sftp://brisko-test" + hostFolder;
}

} // namespace brisko::test

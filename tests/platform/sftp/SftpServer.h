#pragma once

#include "platform/sftp/SftpClient.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace brisko::test {

inline constexpr const char* kSftpServer = "/usr/lib/openssh/sftp-server";

// A client of OpenSSH's server program started directly, with further arguments for it.
inline std::unique_ptr<platform::sftp::Client>
connectToServer(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments{kSftpServer};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    std::string why;
    auto client = platform::sftp::Client::connect({arguments, {}, false}, why);
    EXPECT_TRUE(client) << why;
    return client;
}

} // namespace brisko::test

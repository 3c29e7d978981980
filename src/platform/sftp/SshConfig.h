#pragma once

#include "platform/sftp/SftpLocation.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brisko::platform::sftp {

// Whether the configuration ssh prints for a host (ssh -G) sends keep-alives: a
// ServerAliveInterval other than 0.
bool printedConfigKeepsAlive(std::string_view printed);

// Asks ssh (the command, as BRISKO_SSH gives it) whether its configuration for a location's host
// sends keep-alives. A command that cannot say (not ssh itself, or failing) counts as sending
// none, so that they are added.
std::function<bool(const SftpLocation&)> configKeepsAlive(std::vector<std::string> command);

} // namespace brisko::platform::sftp

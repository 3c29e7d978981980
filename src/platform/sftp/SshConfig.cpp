#include "platform/sftp/SshConfig.h"

#include "platform/posix/PipedChild.h"

#include <cerrno>
#include <sys/socket.h>

namespace brisko::platform::sftp {

namespace {

// Everything a short-lived program writes on its standard output.
std::string outputOf(const std::vector<std::string>& arguments) {
    std::unique_ptr<PipedChild> child;
    if (PipedChild::start({arguments, {}, false}, child) != 0)
        return {};
    ::shutdown(child->socket(), SHUT_WR); // it reads nothing
    std::string output;
    char buffer[4096];
    for (;;) {
        const ssize_t count = ::recv(child->socket(), buffer, sizeof buffer, 0);
        if (count > 0)
            output.append(buffer, static_cast<std::size_t>(count));
        else if (count == 0 || errno != EINTR)
            break;
    }
    return child->end() == 0 ? output : std::string{};
}

} // namespace

bool printedConfigKeepsAlive(std::string_view printed) {
    constexpr std::string_view kKey = "serveraliveinterval ";
    for (std::size_t start = 0; start < printed.size();) {
        const auto end = printed.find('\n', start);
        const std::string_view line = printed.substr(start, end - start);
        if (line.starts_with(kKey))
            return line.substr(kKey.size()) != "0";
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return false;
}

std::function<bool(const SftpLocation&)> configKeepsAlive(std::vector<std::string> command) {
    return [command = std::move(command)](const SftpLocation& location) {
        std::vector<std::string> arguments = command;
        arguments.push_back("-G");
        if (location.port != 0)
            arguments.insert(arguments.end(), {"-p", std::to_string(location.port)});
        if (!location.user.empty())
            arguments.insert(arguments.end(), {"-l", location.user});
        arguments.insert(arguments.end(), {"--", location.host});
        return printedConfigKeepsAlive(outputOf(arguments));
    };
}

} // namespace brisko::platform::sftp

#include "platform/sftp/SshTransport.h"

namespace brisko::platform::sftp {

std::optional<std::vector<std::string>> splitCommandWords(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(std::move(word));
            word.clear();
            inWord = false;
            continue;
        }
        inWord = true;
        if (c == '\'') {
            const auto close = text.find('\'', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            word.append(text.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return std::nullopt;
                if (text[i] == '"')
                    break;
                // Inside double quotes a backslash escapes only these.
                if (text[i] == '\\' && i + 1 < text.size() &&
                    std::string_view("\"\\$`").find(text[i + 1]) != std::string_view::npos)
                    ++i;
                word += text[i];
            }
        } else if (c == '\\') {
            if (i + 1 < text.size())
                word += text[++i];
        } else {
            word += c;
        }
    }
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::optional<SshSettings> sshSettingsFrom(const std::optional<std::string>& variable,
                                           std::string& why) {
    SshSettings settings;
    if (!variable)
        return settings;
    auto words = splitCommandWords(*variable);
    if (!words || words->empty()) {
        why = "BRISKO_SSH is not a command: " + *variable;
        return std::nullopt;
    }
    settings.command = std::move(*words);
    return settings;
}

Transport sshTransport(const SftpLocation& location, const SshSettings& settings) {
    Transport transport;
    std::vector<std::string>& arguments = transport.arguments;
    arguments = settings.command;
    // No terminal on the far side, no forwarding, no escape character: the pipes carry SFTP
    // packets only.
    for (const char* option : {"-T", "-x", "-a", "-e", "none"})
        arguments.emplace_back(option);
    if (!settings.configKeepsAlive || !settings.configKeepsAlive(location)) {
        arguments.insert(arguments.end(),
                         {"-o", "ServerAliveInterval=15", "-o", "ServerAliveCountMax=4"});
    }
    switch (settings.asking) {
    case SshAsking::Never:
        arguments.insert(arguments.end(), {"-o", "BatchMode=yes"});
        break;
    case SshAsking::Terminal:
        transport.onTerminal = true;
        break;
    case SshAsking::Askpass:
        transport.environment = {{"SSH_ASKPASS", settings.askpassProgram},
                                 {"SSH_ASKPASS_REQUIRE", "force"},
                                 {kAskpassMarker, "1"}};
        break;
    }
    if (location.port != 0)
        arguments.insert(arguments.end(), {"-p", std::to_string(location.port)});
    if (!location.user.empty())
        arguments.insert(arguments.end(), {"-l", location.user});
    arguments.insert(arguments.end(), {"-s", "--", location.host, "sftp"});
    return transport;
}

} // namespace brisko::platform::sftp

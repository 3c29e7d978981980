#include "platform/DriveMap.h"

#include "platform/DrivePath.h"

#include <filesystem>
#include <utility>
#include <vector>

namespace brisko::platform {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

char upperLetter(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isLetter(char c) {
    const char upper = upperLetter(c);
    return upper >= 'A' && upper <= 'Z';
}

// "C=/srv/data" (or "c:=/srv/data") as an upper-case letter and the folder as written.
std::optional<std::pair<char, std::string_view>> parseEntry(std::string_view entry) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::string_view letter = trimmed(entry.substr(0, equals));
    const std::string_view folder = trimmed(entry.substr(equals + 1));
    if (letter.size() == 2 && letter[1] == ':')
        letter.remove_suffix(1);
    if (letter.size() != 1 || !isLetter(letter[0]) || folder.empty())
        return std::nullopt;
    return std::pair{upperLetter(letter[0]), folder};
}

// "\\NAS\BACKUP=/mnt/nas" as the upper-cased share and the folder as written. A share names
// neither '=' nor a folder below it.
std::optional<std::pair<std::string, std::string_view>> parseShareEntry(std::string_view entry) {
    const auto equals = entry.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view share = trimmed(entry.substr(0, equals));
    const std::string_view folder = trimmed(entry.substr(equals + 1));
    if (drive_path::driveOrShare(share) != share || !drive_path::isShareForm(share) ||
        folder.empty())
        return std::nullopt;
    return std::pair{drive_path::driveKey(share), folder};
}

// Every entry of a ';'-separated list, or nothing when one of them is malformed.
template <typename Parse>
auto parseList(std::string_view list, Parse parse)
    -> std::optional<std::vector<typename decltype(parse(list))::value_type>> {
    std::vector<typename decltype(parse(list))::value_type> parsed;
    while (!list.empty()) {
        const auto semicolon = list.find(';');
        const std::string_view entry = trimmed(list.substr(0, semicolon));
        list =
            semicolon == std::string_view::npos ? std::string_view{} : list.substr(semicolon + 1);
        if (entry.empty())
            continue;
        auto one = parse(entry);
        if (!one)
            return std::nullopt;
        parsed.push_back(std::move(*one));
    }
    return parsed;
}

// An absolute, lexically tidy host folder without a trailing '/' (except the root itself).
std::string absoluteFolder(const std::string& startFolder, std::string_view folder) {
    std::filesystem::path path(folder);
    if (path.is_relative())
        path = std::filesystem::path(startFolder) / path;
    std::string text = path.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

DriveMap::DriveMap(std::string startFolder) : startFolder_(std::move(startFolder)) {
    if (startFolder_.empty()) {
        std::error_code ignored;
        startFolder_ = std::filesystem::current_path(ignored).string();
    }
}

template <class Key>
bool DriveMap::put(std::map<Key, std::string>& folders,
                   std::map<Key, sftp::SftpLocation>& remotes, const Key& key,
                   std::string_view target) {
    if (!sftp::looksLikeSftpUrl(target)) {
        folders[key] = absoluteFolder(startFolder_, target);
        remotes.erase(key);
        return true;
    }
    auto location = sftp::parseSftpUrl(target, refusal_);
    if (!location)
        return false;
    remotes[key] = std::move(*location);
    folders.erase(key);
    return true;
}

namespace {

// Whether every SFTP target of a parsed list is well formed (why set for the first that is not),
// so that a list with a malformed entry adds nothing.
template <class Entries>
bool targetsValid(const Entries& entries, std::string& why) {
    for (const auto& [key, target] : entries) {
        if (sftp::looksLikeSftpUrl(target) && !sftp::parseSftpUrl(target, why))
            return false;
    }
    return true;
}

} // namespace

bool DriveMap::addEntries(std::string_view list) {
    refusal_.clear();
    const auto parsed = parseList(list, parseEntry);
    if (!parsed || !targetsValid(*parsed, refusal_))
        return false;
    for (const auto& [letter, target] : *parsed)
        put(entries_, remoteEntries_, letter, target);
    return true;
}

bool DriveMap::addShareEntries(std::string_view list) {
    refusal_.clear();
    const auto parsed = parseList(list, parseShareEntry);
    if (!parsed || !targetsValid(*parsed, refusal_))
        return false;
    for (const auto& [share, target] : *parsed)
        put(shares_, remoteShares_, share, target);
    return true;
}

bool DriveMap::addShareEntry(std::string_view entry) {
    refusal_.clear();
    auto parsed = parseShareEntry(trimmed(entry));
    return parsed && put(shares_, remoteShares_, parsed->first, parsed->second);
}

bool DriveMap::addEntry(std::string_view entry) {
    refusal_.clear();
    auto parsed = parseEntry(trimmed(entry));
    return parsed && put(entries_, remoteEntries_, parsed->first, parsed->second);
}

std::optional<std::string> DriveMap::hostFolder(char letter) const {
    const char upper = upperLetter(letter);
    if (entries_.empty() && remoteEntries_.empty())
        return upper == 'Z' ? std::optional<std::string>("/") : std::nullopt;
    auto it = entries_.find(upper);
    if (it == entries_.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> DriveMap::folderOfDrive(std::string_view path) const {
    if (drive_path::isDriveForm(path))
        return hostFolder(path[0]);
    if (!drive_path::isShareForm(path))
        return std::nullopt;
    auto it = shares_.find(drive_path::driveKey(path));
    if (it == shares_.end())
        return std::nullopt;
    return it->second;
}

std::optional<sftp::SftpLocation> DriveMap::locationOfDrive(std::string_view path) const {
    if (drive_path::isDriveForm(path)) {
        const auto it = remoteEntries_.find(drive_path::driveLetter(path));
        return it == remoteEntries_.end() ? std::nullopt : std::optional(it->second);
    }
    if (!drive_path::isShareForm(path))
        return std::nullopt;
    const auto it = remoteShares_.find(drive_path::driveKey(path));
    return it == remoteShares_.end() ? std::nullopt : std::optional(it->second);
}

std::map<std::string, sftp::SftpLocation> DriveMap::locations() const {
    std::map<std::string, sftp::SftpLocation> all(remoteShares_.begin(), remoteShares_.end());
    for (const auto& [letter, location] : remoteEntries_)
        all.emplace(std::string{letter, ':'}, location);
    return all;
}

} // namespace brisko::platform

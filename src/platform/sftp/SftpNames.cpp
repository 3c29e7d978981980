#include "platform/sftp/SftpNames.h"

#include "platform/sftp/SftpFsErrors.h"

namespace brisko::platform::sftp {

std::string whyNotAName(std::string_view name) {
    if (name.empty())
        return "the server sent an empty name";
    if (name == "." || name == "..")
        return "the server sent \"" + std::string(name) + "\" as a name";
    if (name.find('/') != std::string_view::npos)
        return "name contains a slash";
    if (name.find('\\') != std::string_view::npos)
        return "name contains a backslash";
    if (name.find('\0') != std::string_view::npos)
        return "name contains a NUL character";
    return {};
}

struct stat statOf(const Attributes& attributes) {
    struct stat info {};
    info.st_mode = static_cast<mode_t>(attributes.permissions.value_or(0));
    info.st_size = static_cast<off_t>(attributes.size.value_or(0));
    info.st_uid = attributes.uid.value_or(0);
    info.st_gid = attributes.gid.value_or(0);
    info.st_mtim.tv_sec = static_cast<std::time_t>(attributes.modifyTime.value_or(0));
    info.st_atim.tv_sec = static_cast<std::time_t>(attributes.accessTime.value_or(0));
    info.st_nlink = 1;
    return info;
}

HostLookup SftpHostNames::lookUp(const std::string& host, LinkHandling links) {
    HostLookup lookup;
    FsResult failure;
    std::shared_ptr<Client> client = sessions_.next(failure);
    if (!client) {
        lookup.outcome = HostLookup::Outcome::Failed;
        lookup.failure = std::move(failure);
        return lookup;
    }
    const Outcome<Attributes> found =
        await(links == LinkHandling::Follow ? client->stat(host) : client->lstat(host));
    if (found.ok()) {
        lookup.outcome = HostLookup::Outcome::Found;
        lookup.status = statOf(found.value);
    } else if (found.error->code != Code::NoSuchFile || found.error->lost) {
        lookup.outcome = HostLookup::Outcome::Failed;
        lookup.failure = resultOf(*found.error);
    }
    return lookup;
}

FsResult SftpHostNames::listNames(const std::string& folder, std::vector<std::string>& names) {
    FsResult failure;
    std::shared_ptr<Client> client = sessions_.next(failure);
    if (!client)
        return failure;
    Outcome<std::vector<NameEntry>> listed = client->listFolder(folder);
    if (!listed.ok())
        return resultOf(*listed.error);
    for (NameEntry& entry : listed.value) {
        if (whyNotAName(entry.name).empty())
            names.push_back(std::move(entry.name));
    }
    return FsResult::success();
}

} // namespace brisko::platform::sftp

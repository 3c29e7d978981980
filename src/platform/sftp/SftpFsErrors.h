#pragma once

#include "platform/FileSystem.h"
#include "platform/sftp/SftpClient.h"

#include <future>
#include <string>
#include <string_view>

namespace brisko::platform::sftp {

// The file system's answer for a failed request: the server's status as the nearest FsStatus
// with the server's own words, and a lost connection as an input/output error
// ("connection lost: <ssh's reason>"), never as a missing name.
FsResult resultOf(const Error& error);

// The refusal for a server that does not offer an extension a promise rests on.
FsResult extensionMissing(std::string_view extension);

// The outcome of a request, waited for. The client answers every request, at the latest when
// the connection is lost, so this never waits forever.
template <class T> Outcome<T> await(std::future<Outcome<T>> reply) {
    return reply.get();
}

// Ok, or the failure of an outcome.
template <class T> FsResult resultOf(const Outcome<T>& outcome) {
    return outcome.ok() ? FsResult::success() : resultOf(*outcome.error);
}

} // namespace brisko::platform::sftp

#pragma once

#include "platform/FileSystem.h"
#include "platform/sftp/SftpClient.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace brisko::platform::sftp {

// The SFTP sessions of one location, started when first needed. The server serves one session's
// requests one at a time (an fsync stalls all that follow it), so several sessions share the
// work: an open file keeps to the session it was opened on, other requests take turns. The
// first start decides whether the location can be reached; a failure is kept, so that a host
// that is down is not tried again for every path.
class SftpFsSessions {
public:
    using Start = std::function<std::unique_ptr<Client>(std::string& why)>;

    // place: the location as people write it, for the texts of failures.
    SftpFsSessions(std::string place, Start start, std::size_t count);

    // A session for the next request (one that is still alive where there is one); nothing when
    // the location cannot be reached, and failure then says why ("cannot reach PLACE: ...").
    std::shared_ptr<Client> next(FsResult& failure);
    // Whether the first session could be started; why() says why not.
    bool reachable();
    std::string why(); // ssh's reason

private:
    // Starts the first session once.
    bool startFirst(std::unique_lock<std::mutex>& lock);
    // Takes in the sessions started since, and starts the missing ones, each on a thread of its
    // own: nobody waits for them, the sessions already there serve meanwhile.
    void startMore(std::unique_lock<std::mutex>& lock);

    // The sessions started in the background, until taken in.
    struct Arrivals {
        std::mutex mutex;
        std::vector<std::unique_ptr<Client>> clients;
        std::size_t failed = 0;
    };

    std::string place_;
    Start start_;
    std::size_t count_;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Client>> clients_;
    std::size_t turn_ = 0;
    std::size_t starting_ = 0; // sessions being started
    std::shared_ptr<Arrivals> arrivals_ = std::make_shared<Arrivals>();
    bool triedFirst_ = false;
    bool moreFailed_ = false; // a later session could not be started: the ones there will do
    std::string why_;
};

} // namespace brisko::platform::sftp

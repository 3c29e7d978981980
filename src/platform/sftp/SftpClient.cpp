#include "platform/sftp/SftpClient.h"

#include "platform/sftp/SftpConnection.h"

#include <deque>
#include <iterator>

namespace brisko::platform::sftp {

std::unique_ptr<Client> Client::connect(const Transport& transport, std::string& why) {
    return Connection::start(transport, why);
}

bool Client::hasExtension(std::string_view name, std::string_view version) const {
    const auto& announced = extensions();
    const auto found = announced.find(std::string(name));
    return found != announced.end() && found->second == version;
}

Outcome<std::vector<NameEntry>> Client::listFolder(const std::string& path) {
    // A few READDIR requests are kept in flight: the server answers them in turn, each with the
    // next names, and with the end (again) once there are no more.
    constexpr std::size_t kReadsAhead = 3;
    Outcome<Handle> folder = opendir(path).get();
    if (!folder.ok())
        return Outcome<std::vector<NameEntry>>::failed(std::move(*folder.error));
    Outcome<std::vector<NameEntry>> all;
    std::deque<std::future<Outcome<std::vector<NameEntry>>>> asked;
    for (;;) {
        while (asked.size() < kReadsAhead)
            asked.push_back(readdir(folder.value));
        Outcome<std::vector<NameEntry>> batch = asked.front().get();
        asked.pop_front();
        if (!batch.ok()) {
            if (batch.error->code != Code::Eof)
                all.error = std::move(batch.error);
            break;
        }
        std::move(batch.value.begin(), batch.value.end(), std::back_inserter(all.value));
    }
    // The reads still in flight are answered before the close, and the names were read to their
    // end: nothing waits for those answers, so a folder costs two round trips, not four.
    close(folder.value);
    if (!all.ok())
        all.value.clear();
    return all;
}

} // namespace brisko::platform::sftp

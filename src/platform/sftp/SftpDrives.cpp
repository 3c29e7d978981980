#include "platform/sftp/SftpDrives.h"

#include "platform/posix/PosixFileSystem.h"
#include "platform/sftp/SftpFileSystem.h"

namespace brisko::platform::sftp {

RoutedFileSystem::Drives sftpDrives(const DriveMap& drives, const SshSettings& settings) {
    RoutedFileSystem::Drives routes;
    for (const auto& [key, location] : drives.locations()) {
        // A copy by name: clang before 16 cannot capture a structured binding.
        Connector connect = [location = location, settings](std::string& why) {
            return Client::connect(sshTransport(location, settings), why);
        };
        routes.emplace(key, std::make_unique<SftpFileSystem>(location, std::move(connect)));
    }
    return routes;
}

std::unique_ptr<RoutedFileSystem> hostWithLocations(DriveMap drives, const SshSettings& settings) {
    RoutedFileSystem::Drives routes = sftpDrives(drives, settings);
    return std::make_unique<RoutedFileSystem>(std::make_unique<PosixFileSystem>(std::move(drives)),
                                              std::move(routes));
}

} // namespace brisko::platform::sftp

#pragma once

#include "platform/DriveMap.h"
#include "platform/RoutedFileSystem.h"
#include "platform/sftp/SshTransport.h"

#include <memory>

namespace brisko::platform::sftp {

// A file system for every drive of the map that stands for an SFTP location, each reaching it
// through ssh as the settings say; sessions start when a drive is first used.
RoutedFileSystem::Drives sftpDrives(const DriveMap& drives, const SshSettings& settings);

// The host's file system, with the map's SFTP drives routed to their locations.
std::unique_ptr<RoutedFileSystem> hostWithLocations(DriveMap drives, const SshSettings& settings);

} // namespace brisko::platform::sftp

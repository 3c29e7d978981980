#include "platform/posix/SpawnSetup.h"

#include <signal.h>

namespace brisko::platform {

SpawnSetup::SpawnSetup(const std::string& workingFolder, Session session) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
    if (!workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions_, workingFolder.c_str());
    posix_spawn_file_actions_addclosefrom_np(&actions_, 3);
    sigset_t signals;
    sigfillset(&signals);
    posix_spawnattr_setsigdefault(&attributes_, &signals);
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes_, &signals);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (session == Session::Own)
        flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes_, flags);
}

SpawnSetup::~SpawnSetup() {
    posix_spawn_file_actions_destroy(&actions_);
    posix_spawnattr_destroy(&attributes_);
}

} // namespace brisko::platform

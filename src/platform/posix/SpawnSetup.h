#pragma once

#include <spawn.h>
#include <string>

namespace brisko::platform {

// How a program is started with posix_spawn: in a working folder (none: ours), with no
// descriptor beyond 0 to 2, with default signal handling and no signal blocked, and optionally
// in a session of its own (so that it outlives us and our terminal).
class SpawnSetup {
public:
    enum class Session { Ours, Own };

    SpawnSetup(const std::string& workingFolder, Session session);
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup();

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

} // namespace brisko::platform

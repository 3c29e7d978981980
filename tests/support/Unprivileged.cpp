#include "support/Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace brisko::test {

int runUnprivileged(const std::filesystem::path& treeRoot, const std::function<int()>& check) {
    if (geteuid() != 0)
        return check();
    constexpr uid_t kNobody = 65534;
    std::filesystem::permissions(treeRoot, std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    const pid_t child = fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)
            _exit(255);
        // Nothing may leave the child but its exit status: it must never run on as a copy
        // of the test program.
        try {
            _exit(check() & 0xFF);
        } catch (...) {
            _exit(254);
        }
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    const int code = WEXITSTATUS(status);
    return code == 255 ? -1 : code;
}

} // namespace brisko::test

#include "DriveTree.h"

#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace brisko::test {

unsigned DriveTreeTest::mode(std::string_view relative) const {
    struct stat info {};
    if (lstat(host(relative).c_str(), &info) != 0)
        throw std::runtime_error("cannot look at " + host(relative));
    return info.st_mode & 07777;
}

} // namespace brisko::test

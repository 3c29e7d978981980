#pragma once

#include "platform/posix/PosixFileSystem.h"
#include "support/MappedTree.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace brisko::test {

// A temporary tree mapped as drive C: of a POSIX file system.
class DriveTreeTest : public ::testing::Test {
protected:
    // The host path of a name inside the tree.
    std::string host(std::string_view relative) const { return tree.path(relative).string(); }
    // The permission bits of a name inside the tree.
    unsigned mode(std::string_view relative) const;

    MappedTree tree;
    platform::PosixFileSystem fs{tree.driveMap()};
};

} // namespace brisko::test

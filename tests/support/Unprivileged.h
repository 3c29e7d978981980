#pragma once

#include <filesystem>
#include <functional>

namespace brisko::test {

// Runs check with an ordinary user's permissions and returns its result. Permissions do not
// bite root, so as root the check runs in a child process that has given root up (the tree
// root is opened to other users for it); -1 when that is impossible.
int runUnprivileged(const std::filesystem::path& treeRoot, const std::function<int()>& check);

} // namespace brisko::test

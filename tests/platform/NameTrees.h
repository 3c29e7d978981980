#pragma once

#include "platform/posix/HostNames.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace brisko::test {

// A tree of host names laid out by a test, with the host interface that reads it: held in memory
// or made of real folders, so that one test body can run over both.
class NameTree {
public:
    virtual ~NameTree() = default;

    virtual platform::HostNames& names() = 0;
    virtual std::string root() const = 0;
    // Both make the folders on the way.
    virtual void addFile(std::string_view relative) = 0;
    virtual void addFolder(std::string_view relative) = 0;
    // Removes a file or an empty folder.
    virtual void remove(std::string_view relative) = 0;
    // The folder can still be entered by an ordinary user, but not listed.
    virtual void makeUnlistable(std::string_view relative) = 0;
    // Runs check as a user whom permissions bind and returns its result; -1 when impossible.
    virtual int asOrdinaryUser(const std::function<int()>& check) = 0;

    std::string host(std::string_view relative) const {
        return root() + "/" + std::string(relative);
    }
};

std::unique_ptr<NameTree> makeTreeInMemory();
std::unique_ptr<NameTree> makeTreeOfRealFolders();

} // namespace brisko::test

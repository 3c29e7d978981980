#include "NameTrees.h"

#include "support/FakeHostNames.h"
#include "support/TempTree.h"
#include "support/Unprivileged.h"

#include <filesystem>

namespace brisko::test {

namespace {

class TreeInMemory final : public NameTree {
public:
    TreeInMemory() { fake_.addFolder(root()); }

    platform::HostNames& names() override { return fake_; }
    std::string root() const override { return "/memory/root"; }
    void addFile(std::string_view relative) override { fake_.addFile(host(relative)); }
    void addFolder(std::string_view relative) override { fake_.addFolder(host(relative)); }
    void remove(std::string_view relative) override { fake_.remove(host(relative)); }
    void makeUnlistable(std::string_view relative) override {
        fake_.makeUnlistable(host(relative));
    }
    int asOrdinaryUser(const std::function<int()>& check) override { return check(); }

private:
    FakeHostNames fake_;
};

class TreeOfRealFolders final : public NameTree {
public:
    platform::HostNames& names() override { return posix_; }
    std::string root() const override { return tree_.root().string(); }
    void addFile(std::string_view relative) override { tree_.write(relative, ""); }
    void addFolder(std::string_view relative) override { tree_.makeFolder(relative); }
    void remove(std::string_view relative) override { std::filesystem::remove(host(relative)); }
    void makeUnlistable(std::string_view relative) override {
        using std::filesystem::perms;
        std::filesystem::permissions(host(relative), perms::owner_write | perms::owner_exec |
                                                         perms::group_exec | perms::others_exec);
    }
    int asOrdinaryUser(const std::function<int()>& check) override {
        return runUnprivileged(tree_.root(), check);
    }

private:
    TempTree tree_;
    platform::PosixHostNames posix_;
};

} // namespace

std::unique_ptr<NameTree> makeTreeInMemory() {
    return std::make_unique<TreeInMemory>();
}

std::unique_ptr<NameTree> makeTreeOfRealFolders() {
    return std::make_unique<TreeOfRealFolders>();
}

} // namespace brisko::test

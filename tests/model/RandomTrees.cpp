#include "RandomTrees.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

namespace brisko::test::model {

namespace {

using Kind = Node::Kind;

constexpr std::array kFileNames = {"a.txt",    "A.txt",  "b.tar.gz", "B.Tar.Gz", "c.d.e",
                                   ".profile", "README", "readme",   "empty",    "data"};
// "deep" has no case variant and no file of its name: a session may take it as a root.
constexpr std::array kFolderNames = {"sub", "Sub", "deep", "x.y", "data"};
constexpr std::array kContents = {"", "x", "yy", "zzz", "hello", "1234567"};
constexpr std::array kLinkTargets = {"a.txt", "nowhere", "../sub", "deep/README"};
constexpr int kDeepest = 3;

int depthOf(const std::string& path) {
    return path.empty() ? 0 : 1 + static_cast<int>(std::ranges::count(path, '/'));
}

// The paths of the entries of a kind, the root "" first when the kind is Folder.
std::vector<std::string> pathsOf(const Tree& tree, Kind kind) {
    std::vector<std::string> paths;
    if (kind == Kind::Folder)
        paths.emplace_back();
    for (const auto& [path, node] : tree) {
        if (node.kind == kind)
            paths.push_back(path);
    }
    return paths;
}

} // namespace

Trees TreeMaker::initialTrees() {
    Tree common;
    for (int i = 0, count = 4 + below(12); i < count; ++i)
        add(common);
    Trees trees{common, common};
    for (Tree& tree : trees) {
        for (int i = 0, count = below(6); i < count; ++i)
            change(tree);
    }
    if (below(2) == 0)
        sameStampOtherSize(trees);
    return trees;
}

void TreeMaker::changeBetweenRuns(Trees& trees) {
    for (Tree& tree : trees) {
        for (int i = 0, count = below(4); i < count; ++i)
            change(tree);
    }
    if (below(3) == 0)
        sameStampOtherSize(trees);
}

Session TreeMaker::session() {
    Session session;
    session.mode = static_cast<Mode>(below(5));
    session.missingFile = static_cast<MissingFile>(below(3));
    session.missingFolder = static_cast<MissingFolder>(below(3));
    session.backups = below(2) == 0;
    for (std::string& root : session.roots)
        root = below(4) == 0 ? kFolderNames[2] : "";
    return session;
}

void TreeMaker::add(Tree& tree) {
    std::vector<std::string> folders = pathsOf(tree, Kind::Folder);
    std::erase_if(folders, [](const std::string& path) { return depthOf(path) >= kDeepest; });
    const std::string folder = pick(folders);
    const int kind = below(10);
    const std::string name = kind < 2 ? pick(kFolderNames) : pick(kFileNames);
    const std::string path = folder.empty() ? name : folder + "/" + name;
    if (tree.contains(path))
        return;
    if (kind < 2)
        tree[path] = Node{Kind::Folder, {}, 0};
    else if (kind < 3)
        tree[path] = Node{Kind::Link, pick(kLinkTargets), stamp()};
    else
        tree[path] = Node{Kind::File, pick(kContents), stamp()};
}

void TreeMaker::change(Tree& tree) {
    const int what = below(4);
    if (what == 0 || tree.empty()) {
        add(tree);
        return;
    }
    auto entry = std::next(tree.begin(), below(static_cast<int>(tree.size())));
    Node& node = entry->second;
    if (what == 1) { // removed, with all it holds
        const std::string path = entry->first;
        std::erase_if(tree, [&](const auto& other) {
            return other.first == path || other.first.starts_with(path + "/");
        });
    } else if (node.kind == Kind::File) {
        node.time = stamp();
        if (what == 2)
            node.content = pick(kContents);
    } else if (node.kind == Kind::Link) {
        node.time = stamp();
        if (what == 2)
            node.content = pick(kLinkTargets);
    }
}

void TreeMaker::sameStampOtherSize(Trees& trees) {
    std::vector<std::string> shared;
    for (const std::string& path : pathsOf(trees[kLeft], Kind::File)) {
        const auto right = trees[kRight].find(path);
        if (right != trees[kRight].end() && right->second.kind == Kind::File)
            shared.push_back(path);
    }
    if (shared.empty())
        return;
    const std::string path = pick(shared);
    Node& left = trees[kLeft][path];
    Node& right = trees[kRight][path];
    right.time = left.time - left.time % 2 + below(2); // one stamp to two seconds
    if (right.content.size() == left.content.size())
        right.content += "+";
}

std::string describe(const Tree& tree) {
    std::string text;
    for (const auto& [path, node] : tree) {
        std::string stamp = "@";
        stamp += std::to_string(node.time - kFirstStamp);
        if (node.kind == Kind::Folder)
            text += " " + path + "/";
        else if (node.kind == Kind::Link)
            text += " " + path + "->" + node.content + stamp;
        else
            text += " " + path + "=" + node.content + stamp;
    }
    return text.empty() ? " (empty)" : text;
}

} // namespace brisko::test::model

#include "SyncModel.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <utility>
#include <vector>

namespace brisko::test::model {

namespace {

using Kind = Node::Kind;

constexpr std::array<const char*, 2> kBackupExtensions = {"BK1", "BK2"};

std::string upper(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

std::string join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

// A stamp as files are compared and copied: to two seconds.
std::time_t stampOf(const Node& node) {
    return node.time - node.time % 2;
}

bool isMasterMode(Mode mode) {
    return mode == Mode::LeftMaster || mode == Mode::RightMaster;
}

// A backup is a name whose last extension is a backup extension, while the session keeps them.
bool isBackup(const std::string& name, bool backups) {
    const std::size_t dot = name.rfind('.');
    return backups && dot != std::string::npos &&
           std::ranges::find(kBackupExtensions, upper(name.substr(dot + 1))) !=
               kBackupExtensions.end();
}

struct Child {
    std::string name;
    const Node* node;
};

// The entries of a folder as a listing gives them: by name without regard to case, then by
// the names' bytes.
std::vector<Child> childrenOf(const Tree& tree, const std::string& folder) {
    std::vector<Child> children;
    for (const auto& [path, node] : tree) {
        if (path != folder && folderOf(path) == folder)
            children.push_back({nameOf(path), &node});
    }
    std::ranges::sort(children, [](const Child& a, const Child& b) {
        const std::string upperA = upper(a.name), upperB = upper(b.name);
        return upperA != upperB ? upperA < upperB : a.name < b.name;
    });
    return children;
}

// A name looked up in a folder of the other side: exactly, else its only case variant.
struct Found {
    const Node* node = nullptr;
    std::string name;
    bool severalByCase = false; // missing exactly, with several case variants
};

Found find(const Tree& tree, const std::string& folder, const std::string& name, bool exactOnly) {
    if (const auto it = tree.find(join(folder, name)); it != tree.end())
        return {&it->second, name};
    if (exactOnly)
        return {};
    Found found;
    for (const Child& child : childrenOf(tree, folder)) {
        if (upper(child.name) != upper(name))
            continue;
        if (found.node != nullptr)
            return {nullptr, {}, true};
        found = {child.node, child.name};
    }
    return found;
}

// Whether a folder holds several names that differ from a name only in case.
bool hasCaseVariants(const Tree& tree, const std::string& folder, const std::string& name) {
    return std::ranges::count_if(childrenOf(tree, folder), [&](const Child& child) {
               return upper(child.name) == upper(name);
           }) > 1;
}

struct Copy {
    int from;
    std::string source;
    int to;
    std::string targetFolder;
    std::string name;
    bool exactName;
};

// Everything a session decides, carried out after both passes: file deletions, folders to
// create, folders to delete, then copies. Paths are compared exactly.
struct Plan {
    using Paths = std::vector<std::pair<int, std::string>>;
    Paths fileDeletes, folderCreates, folderDeletes;
    std::vector<Copy> copies;

    static bool holds(const Paths& paths, int side, const std::string& path) {
        return std::ranges::find(paths, std::pair{side, path}) != paths.end();
    }
    static void add(Paths& paths, int side, const std::string& path) {
        if (!holds(paths, side, path))
            paths.emplace_back(side, path);
    }
    bool isCopyTarget(int side, const std::string& path) const {
        return std::ranges::any_of(copies, [&](const Copy& copy) {
            return copy.to == side && join(copy.targetFolder, copy.name) == path;
        });
    }
};

// One pass of a session: the source side's tree walked against the other side's.
class Pass {
public:
    Pass(const Trees& trees, const Session& session, Plan& plan, int source)
        : trees_(trees), session_(session), plan_(plan), source_(source), target_(1 - source),
          masterScan_(isMasterMode(session.mode)),
          masterSide_(masterScan_ &&
                      source == (session.mode == Mode::LeftMaster ? kLeft : kRight)) {}

    // Checks the roots and scans; false when the target root is refused, which in the first
    // pass skips the rest of the session.
    bool run() {
        const std::string& source = session_.roots[source_];
        const std::string& target = session_.roots[target_];
        if (!isFolder(source_, source) && !Plan::holds(plan_.folderCreates, source_, source))
            return true; // a missing source: only this pass is given up
        const bool masterTarget = masterScan_ && !masterSide_;
        if (masterTarget && !isFolder(target_, target) &&
            !Plan::holds(plan_.folderCreates, target_, target))
            return true; // a missing master is never made by the copy side
        if (!isFolder(target_, target) && !checkMissingFolder(source, target, true))
            return false;
        scan(source, target);
        return true;
    }

    void scan(const std::string& sourceFolder, const std::string& targetFolder) {
        const std::vector<Child> entries = childrenOf(trees_[source_], sourceFolder);
        std::vector<std::pair<std::string, std::string>> subfolders;
        std::vector<std::string> foldersSeen;
        for (const Child& entry : entries) {
            const bool caseTwin = std::ranges::count_if(entries, [&](const Child& other) {
                                      return upper(other.name) == upper(entry.name);
                                  }) > 1;
            if (entry.node->kind != Kind::Folder) {
                considerFile(sourceFolder, targetFolder, entry, caseTwin);
            } else if (!caseTwin ||
                       std::ranges::find(foldersSeen, upper(entry.name)) == foldersSeen.end()) {
                // Of folders differing only in case, the first is entered.
                foldersSeen.push_back(upper(entry.name));
                considerFolder(sourceFolder, targetFolder, entry.name, subfolders);
            }
        }
        std::ranges::stable_sort(subfolders, [](const auto& a, const auto& b) {
            return upper(nameOf(a.first)) < upper(nameOf(b.first));
        });
        for (const auto& [source, target] : subfolders)
            scan(source, target);
    }

private:
    void considerFolder(const std::string& sourceFolder, const std::string& targetFolder,
                        const std::string& name,
                        std::vector<std::pair<std::string, std::string>>& subfolders) {
        if (Plan::holds(plan_.folderDeletes, source_, sourceFolder))
            return;
        const Found found = find(trees_[target_], targetFolder, name, false);
        if (found.node != nullptr && found.node->kind == Kind::Link)
            return; // a link facing a folder: both stay
        const std::string source = join(sourceFolder, name);
        const std::string target = join(targetFolder, found.node != nullptr ? found.name : name);
        if (found.node != nullptr && found.node->kind == Kind::File)
            return; // a file where a folder is expected
        if (found.node == nullptr && found.severalByCase)
            return; // never made beside its case variants
        if (found.node != nullptr ||
            checkMissingFolder(source, target, !masterScan_ || masterSide_))
            subfolders.emplace_back(source, target);
    }

    bool isFolder(int side, const std::string& path) const {
        const auto it = trees_[side].find(path);
        return path.empty() || (it != trees_[side].end() && it->second.kind == Kind::Folder);
    }

    // Whether the scan goes into a folder whose counterpart is missing, listing what the rules
    // say.
    bool checkMissingFolder(const std::string& source, const std::string& target, bool mayCreate) {
        if (Plan::holds(plan_.folderCreates, target_, target) ||
            Plan::holds(plan_.folderCreates, source_, source) ||
            Plan::holds(plan_.folderDeletes, source_, source) ||
            Plan::holds(plan_.folderDeletes, target_, target))
            return true;
        if (!masterScan_ && session_.missingFolder != MissingFolder::Auto)
            return false; // Skip, or the question's default: Skip
        if (mayCreate)
            Plan::add(plan_.folderCreates, target_, target);
        else
            Plan::add(plan_.folderDeletes, source_, source);
        return true;
    }

    void considerFile(const std::string& sourceFolder, const std::string& targetFolder,
                      const Child& entry, bool caseTwin) {
        if (entry.name == "$BRISKO$.$$$" || isBackup(entry.name, session_.backups))
            return;
        const Found found = find(trees_[target_], targetFolder, entry.name, caseTwin);
        // A name with case variants on either side is read and written exactly as it is, its
        // backups too.
        const bool exactName =
            caseTwin || hasCaseVariants(trees_[target_], targetFolder, entry.name);
        const std::string source = join(sourceFolder, entry.name);
        const Node& node = *entry.node;
        if (found.node == nullptr) {
            if (!masterScan_ && found.severalByCase)
                return;
            if (!masterScan_)
                missingTargetFile(source, targetFolder, entry, exactName);
            else if (masterSide_)
                listCopy(source, targetFolder, entry, nullptr, exactName);
            else
                Plan::add(plan_.fileDeletes, source_, source);
            return;
        }
        const Node& target = *found.node;
        if (target.kind == Kind::Folder || (target.kind == Kind::Link) != (node.kind == Kind::Link))
            return; // a file facing a folder, a link facing anything else: all stay
        if (node.kind == Kind::Link && node.content == target.content)
            return; // links in step, whatever their stamps
        const bool sameStamp = stampOf(node) == stampOf(target);
        if (node.kind == Kind::File && sameStamp)
            return; // equal, or the same-stamp question's default: keep as is
        if (node.kind == Kind::Link && sameStamp && !masterScan_)
            return; // the same-stamp question's default
        if (masterScan_ ? masterSide_ : stampOf(node) > stampOf(target))
            listCopy(source, targetFolder, entry, &target, exactName);
    }

    void missingTargetFile(const std::string& source, const std::string& targetFolder,
                           const Child& entry, bool exactName) {
        if (session_.missingFile == MissingFile::Create)
            listCopy(source, targetFolder, entry, nullptr, exactName);
        else if (session_.missingFile == MissingFile::Delete)
            Plan::add(plan_.fileDeletes, source_, source);
        // Ask: the question's default is Skip.
    }

    void listCopy(const std::string& source, const std::string& targetFolder, const Child& entry,
                  const Node* target, bool exactName) {
        if (plan_.isCopyTarget(target_, join(targetFolder, entry.name)) ||
            Plan::holds(plan_.folderDeletes, source_, folderOf(source)) ||
            Plan::holds(plan_.fileDeletes, source_, source))
            return;
        const bool emptyOverFull = entry.node->kind == Kind::File && entry.node->content.empty() &&
                                   target != nullptr && !target->content.empty();
        if (emptyOverFull)
            return; // the zero-length question's default: Skip
        plan_.copies.push_back({source_, source, target_, targetFolder, entry.name, exactName});
    }

    const Trees& trees_;
    const Session& session_;
    Plan& plan_;
    int source_;
    int target_;
    bool masterScan_;
    bool masterSide_;
};

bool isWithin(const std::string& path, const std::string& folder) {
    return folder.empty() || path.starts_with(folder + "/");
}

// Whether a folder holds anything that a master pass would carry over.
bool carriesContent(const Tree& tree, const std::string& folder, bool backups) {
    return std::ranges::any_of(tree, [&](const auto& entry) {
        const std::string name = nameOf(entry.first);
        return isWithin(entry.first, folder) && entry.second.kind != Kind::Folder &&
               name != "$BRISKO$.$$$" && !isBackup(name, backups);
    });
}

bool holdsEntries(const Tree& tree, const std::string& folder) {
    return std::ranges::any_of(tree,
                               [&](const auto& entry) { return isWithin(entry.first, folder); });
}

void removeTree(Tree& tree, const std::string& path) {
    std::erase_if(tree, [&](const auto& entry) {
        return entry.first == path || entry.first.starts_with(path + "/");
    });
}

// The path a copy reaches for a name in its target folder: the name itself when asked exactly
// or when it is there, else its only case variant.
std::string reached(const Tree& tree, const Copy& copy, const std::string& name) {
    const Found found = find(tree, copy.targetFolder, name, copy.exactName);
    return join(copy.targetFolder, found.node != nullptr ? found.name : name);
}

// A copy replaces the target that its name reaches, with the source's stamp to two seconds. A
// file's copy rotates the backups of that name first (the oldest goes), and the old target becomes
// the first backup. A link is copied as a link, without backups.
void copyWithBackups(Trees& trees, const Copy& copy, bool backups) {
    Tree& target = trees[copy.to];
    const Node& source = trees[copy.from].at(copy.source);
    const std::string path = reached(target, copy, copy.name);
    if (backups && source.kind == Kind::File) {
        const std::string first = copy.name + "." + kBackupExtensions[0];
        const std::string second = copy.name + "." + kBackupExtensions[1];
        target.erase(reached(target, copy, second));
        if (const auto older = target.find(reached(target, copy, first)); older != target.end()) {
            const Node node = older->second;
            target.erase(older);
            target[reached(target, copy, second)] = node;
        }
        if (const auto old = target.find(path); old != target.end()) {
            const Node node = old->second;
            target.erase(old);
            target[reached(target, copy, first)] = node;
        }
    }
    target[path] = source;
    target[path].time = stampOf(source);
}

} // namespace

std::string scriptOf(const Session& session) {
    static const char* const modes[] = {"Update", "1LTR", "2RTL", "LMaster", "RMaster"};
    static const char* const missingFiles[] = {"Ask", "Create", "Delete"};
    static const char* const missingFolders[] = {"UserAsk", "Auto", "Skip"};
    std::string script = "LeftRoot=L:\nRightRoot=R:\nLeftPath=\\" + session.roots[kLeft] +
                         "\nRightPath=\\" + session.roots[kRight] + "\n";
    if (session.backups)
        script += "Backup=BK1,BK2\n";
    script += std::string("MissingFile=") + missingFiles[static_cast<int>(session.missingFile)] +
              "\nUpdateMode=" + modes[static_cast<int>(session.mode)] +
              "\nMissingFolder=" + missingFolders[static_cast<int>(session.missingFolder)] +
              "\nExecute\n";
    return script;
}

Trees expectedAfter(const Trees& before, const Session& session) {
    if (isMasterMode(session.mode)) {
        const int master = session.mode == Mode::LeftMaster ? kLeft : kRight;
        const std::string& masterRoot = session.roots[master];
        const bool masterThere = masterRoot.empty() || before[master].contains(masterRoot);
        if (masterThere && !carriesContent(before[master], masterRoot, session.backups) &&
            holdsEntries(before[1 - master], session.roots[1 - master]))
            return before; // an empty master is not mirrored
    }
    Plan plan;
    const bool firstPassRan =
        session.mode == Mode::RightToLeft || Pass(before, session, plan, kLeft).run();
    if (session.mode != Mode::LeftToRight && firstPassRan)
        Pass(before, session, plan, kRight).run();

    Trees after = before;
    for (const auto& [side, path] : plan.fileDeletes)
        after[side].erase(path);
    for (const auto& [side, path] : plan.folderCreates)
        after[side][path] = Node{Kind::Folder, {}, 0};
    for (const auto& [side, path] : plan.folderDeletes)
        removeTree(after[side], path);
    for (const Copy& copy : plan.copies)
        copyWithBackups(after, copy, session.backups);
    return after;
}

} // namespace brisko::test::model

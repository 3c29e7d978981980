#pragma once

#include <array>
#include <ctime>
#include <map>
#include <string>

namespace brisko::test::model {

// One entry of a tree: a file with its bytes, a folder, or a symbolic link with its target.
// Files and links carry their modification time.
struct Node {
    enum class Kind { File, Folder, Link };
    Kind kind = Kind::File;
    std::string content;
    std::time_t time = 0;

    bool operator==(const Node&) const = default;
};

// A whole tree: relative path ('/' between names) -> entry. Every folder is listed.
using Tree = std::map<std::string, Node>;

// The left tree (L:) and the right tree (R:).
using Trees = std::array<Tree, 2>;
inline constexpr int kLeft = 0;
inline constexpr int kRight = 1;

enum class Mode { Update, LeftToRight, RightToLeft, LeftMaster, RightMaster };
enum class MissingFile { Ask, Create, Delete };
enum class MissingFolder { UserAsk, Auto, Skip };

// One session between a folder of each tree ("" for the drive's root), with the backup
// extensions BK1,BK2 or none.
struct Session {
    Mode mode = Mode::Update;
    MissingFile missingFile = MissingFile::Ask;
    MissingFolder missingFolder = MissingFolder::UserAsk;
    bool backups = false;
    std::array<std::string, 2> roots{};
};

// The script lines that run the session between its folders of L: and R:.
std::string scriptOf(const Session& session);

// Both trees as a run of the session leaves them, every question taking its default answer.
Trees expectedAfter(const Trees& before, const Session& session);

} // namespace brisko::test::model

#pragma once

#include "engine/BackupNames.h"
#include "platform/FileSystem.h"

#include <string>
#include <string_view>

namespace brisko::run {

// The backups of one target file, named by the extensions of its backup list: the first
// extension holds the newest backup, the last the oldest. With "DB1,DB2" the backups of
// DATA.DBF are DATA.DBF.DB1 and DATA.DBF.DB2. takeOverEarlier: the file's backups still lie
// under the names an earlier version gave them (DATA.DB1, DATA.DB2), and are its own.
class BackupChain {
public:
    BackupChain(std::string_view targetFolder, std::string_view name, std::string_view backupList,
                bool takeOverEarlier = false);

    // No backup is kept: the list names no extension.
    bool empty() const { return names_.paths.empty(); }
    const std::string& firstExtension() const { return names_.extensions.front(); }
    const std::string& firstPath() const { return names_.paths.front(); }

    // Moves the backups one level down the chain, dropping the oldest, so that the first
    // backup name is free for the old target; a chain taken over from an earlier version moves
    // to the file's own names on the way. Only the backups before the first free name move (a
    // chain with a gap, as a run cut short between two renames leaves it, loses nothing), and a
    // level whose next name is still taken stays as it is.
    void rotate(platform::FileSystem& fileSystem) const;

    // The first backup name and the target are the same file: a run cut short after keeping
    // the old target under that name, before the copy took the target's name, rotated the
    // chain already.
    bool firstIsTarget(platform::FileSystem& fileSystem, const std::string& targetPath) const;

private:
    engine::BackupChainNames names_;
};

} // namespace brisko::run

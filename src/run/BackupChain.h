#pragma once

#include "platform/FileSystem.h"

#include <string>
#include <string_view>
#include <vector>

namespace brisko::run {

// The backups of one target file, named by the extensions of its backup list: the first
// extension holds the newest backup, the last the oldest. With "DB1,DB2" the backups of
// DATA.DBF are DATA.DB1 and DATA.DB2.
class BackupChain {
public:
    BackupChain(std::string_view targetFolder, std::string_view name, std::string_view backupList);

    // No backup is kept: the list names no extension (other than the file's own, which is
    // never a backup of itself: DATA.DB1 with "DB1,DB2" keeps its backup as DATA.DB2).
    bool empty() const { return paths_.empty(); }
    const std::string& firstExtension() const { return extensions_.front(); }
    const std::string& firstPath() const { return paths_.front(); }

    // Moves every backup one level down the chain, dropping the oldest, so that the first
    // backup name is free for the old target. A level whose next name is still taken stays as
    // it is.
    void rotate(platform::FileSystem& fileSystem) const;

private:
    std::vector<std::string> extensions_;
    std::vector<std::string> paths_;
};

} // namespace brisko::run

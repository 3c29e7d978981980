#pragma once

#include "engine/Plan.h"
#include "platform/FileSystem.h"

#include <vector>

namespace brisko::run {

// The copies into one target folder, in list order.
struct FolderCopies {
    std::vector<const engine::CopyAction*> copies;
};

// Copies that may be carried out folder beside folder: none of them reads from a folder that
// another of them writes into, so the order between folders cannot change what is copied.
// Folders in the order of their first copy.
using CopyStretch = std::vector<FolderCopies>;

// The plan's copies cut into stretches, in list order: a copy that reads from a folder an
// earlier copy of the stretch writes into, or writes into a folder an earlier copy reads from,
// begins the next stretch. Folders are told apart as the file system resolves them, so that
// two spellings of one folder are one folder.
std::vector<CopyStretch> copyStretches(const engine::BlockList<engine::CopyAction>& copies,
                                       platform::FileSystem& fileSystem);

} // namespace brisko::run

#pragma once

#include "engine/EngineContext.h"
#include "engine/Plan.h"
#include "platform/DosStamp.h"

#include <cstdint>
#include <string>

namespace brisko::engine {

// The adders of the plan. Each keeps the "to do" counters, adds a history row at once and
// updates the free-space projection.
void listFolderCreate(EngineContext& context, const std::string& path);
// A folder with the letter case to create it in (folder.spelling).
void listFolderCreate(EngineContext& context, PathAction folder);
void listFolderDelete(EngineContext& context, const std::string& path);
void listFileDelete(EngineContext& context, const std::string& path, std::int64_t size);
// A file or link with what the scan saw of it (size, stamp, whether it is a link).
void listFileDelete(EngineContext& context, PathAction file);

// A copy the comparison rules ask for: the copy as the plan is to hold it (its session and
// the take-over of earlier backups are decided when it is listed), and the stamp of its source,
// which a deletion listed instead keeps.
struct CopyRequest : CopyAction {
    platform::DosStamp sourceStamp = 0;
};
// Lists a copy after its checks (an existing copy to the same target, a source folder or file
// listed for deletion, the temporary file name, the zero-length question, which may list the
// reversed copy or a deletion instead, or abort the run).
void listCopy(EngineContext& context, const CopyRequest& request);

// Planning side of the backup rotation: credits the oldest existing backup (which the copy
// will delete) to the target drive; returns the first extension (empty for none).
std::string planBackupRotation(EngineContext& context, const std::string& targetFolder,
                               const std::string& name, const std::string& backupList);

// Planning side of deleting a folder tree: credits every file inside it to its drive, except
// files and subfolders listed for deletion on their own (credited when they were listed).
// Links are neither followed nor counted.
void creditFolderTree(EngineContext& context, const std::string& path);

} // namespace brisko::engine

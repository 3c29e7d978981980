#pragma once

#include "run/ActionContext.h"

#include <string>
#include <vector>

namespace brisko::run {

// Carries out the plan of a scanned run: when every drive has the projected space, deletes the
// files to delete, creates the folders to create, deletes the folders to delete and copies the
// files to copy, writing each outcome into its history row. Then it starts the ExitProgram
// (unless the run was stopped) and returns the run to Idle, whatever happened before.
void runActions(const ActionContext& context);

// The phases, each over its list in order. The files that the deletion phase left in place
// (the operator kept them, they changed since the scan, they could not be deleted) keep the
// folders that hold them from being deleted. A folder is deleted with what the scan saw in it
// only: entries added or changed since then stay, each with a red row, and so do their folders.
std::vector<std::string> deletePendingFiles(const ActionContext& context);
void createPendingFolders(const ActionContext& context);
void deletePendingFolders(const ActionContext& context, const std::vector<std::string>& keptFiles);

} // namespace brisko::run

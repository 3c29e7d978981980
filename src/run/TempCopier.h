#pragma once

#include "engine/Plan.h"
#include "run/CopyProgress.h"
#include "run/TemporaryFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace brisko::run {

class RunContext;

// The reason for a failure in the history's words; a full disk is said so.
std::string failureReason(const platform::FsResult& result);
// Why the temporary file could not be made, as the history shows it.
std::string temporaryFailure(const platform::FsResult& result);

// Why a written copy could not be put on the disk, as the history shows it.
std::string flushFailure(const platform::FsResult& flushed);

// What copying a source into the temporary file came to.
struct TempCopyResult {
    // The temporary file holds the whole source, with the source's time stamp and attributes
    // (the read-only bit left clear); it is still to be flushed.
    bool complete = false;
    // Why not, as the history shows it in red; empty when an abort cut the copy short.
    std::string failure;
    bool sourceReadOnly = false;
};

// Copies a source file block by block (inside the system where it can) into the temporary file
// of its target folder, letting pending input through between blocks so that Stop and Abort
// All take effect within a block. The flush is left to the caller, which may overlap it with
// the next copy.
class TempCopier {
public:
    static constexpr std::size_t kBlockSize = 262144;

    TempCopier(RunContext& context, CopyProgress& progress);

    TempCopyResult write(const engine::CopyAction& action, TemporaryFile& temporary);

private:
    // Asks what to do about a source that cannot be read; true to read again.
    bool retryAfterReadError(const std::string& sourcePath, TempCopyResult& result);

    RunContext& context_;
    CopyProgress& progress_;
    std::vector<std::byte> buffer_;
};

} // namespace brisko::run

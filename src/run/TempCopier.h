#pragma once

#include "engine/Plan.h"
#include "run/ActionContext.h"
#include "run/CopyProgress.h"
#include "run/TemporaryFile.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace brisko::run {

// What copying a source into the temporary file came to.
struct TempCopyResult {
    // The temporary file holds the whole source, with the source's time stamp and attributes;
    // it is still to be flushed.
    bool complete = false;
    // Why not, as the history shows it in red; empty when an abort cut the copy short.
    std::string failure;
};

// How writing a copy meets trouble and shows its progress.
class WriteAttendant {
public:
    virtual ~WriteAttendant() = default;
    // The temporary file is made; the source's bytes follow.
    virtual void writing(const std::string& sourcePath) = 0;
    // The source could not be opened (the copy fails).
    virtual void sourceNotOpened(const std::string& sourcePath) = 0;
    // Reading the source failed: true to read again; otherwise result.failure says why the
    // copy ends (empty when the run was stopped).
    virtual bool readAgain(const std::string& sourcePath, TempCopyResult& result) = 0;
    // Bytes were written: false when the copy is to be abandoned.
    virtual bool written(std::int64_t bytes) = 0;
};

// Copies the source block by block (inside the system where it can) into the temporary file,
// which it creates, and gives the copy the source's stamp and attributes. The flush is left to
// the caller, which may overlap it with the next copy. Safe on any thread when the attendant is.
TempCopyResult writeTemporary(platform::FileSystem& fileSystem, const std::string& sourcePath,
                              TemporaryFile& temporary, std::span<std::byte> buffer,
                              WriteAttendant& attendant);

// Writes copies on the copying thread: the operator is asked about a source that cannot be
// opened or read, and pending input is let through between blocks, so that Stop and Abort All
// take effect within a block.
class TempCopier final : private WriteAttendant {
public:
    static constexpr std::size_t kBlockSize = 262144;

    // buffer: the block the bytes pass through, of kBlockSize bytes.
    TempCopier(const ActionContext& context, CopyProgress& progress, std::span<std::byte> buffer);

    TempCopyResult write(const engine::CopyAction& action, TemporaryFile& temporary);

private:
    void writing(const std::string& sourcePath) override;
    void sourceNotOpened(const std::string& sourcePath) override;
    bool readAgain(const std::string& sourcePath, TempCopyResult& result) override;
    bool written(std::int64_t bytes) override;

    const ActionContext& context_;
    CopyProgress& progress_;
    std::span<std::byte> buffer_;
};

} // namespace brisko::run

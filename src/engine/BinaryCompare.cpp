#include "engine/BinaryCompare.h"

#include "engine/ScanReports.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <vector>

namespace brisko::engine {

namespace {

constexpr std::size_t kBlockSize = 65536;

// Reads until the block is full or the file ends; the count read, or -1 on an error.
std::int64_t readBlock(platform::InputFile& file, std::vector<std::byte>& block) {
    std::size_t filled = 0;
    while (filled < block.size()) {
        const std::int64_t count = file.read(block.data() + filled, block.size() - filled);
        if (count < 0)
            return -1;
        if (count == 0)
            break;
        filled += static_cast<std::size_t>(count);
    }
    return static_cast<std::int64_t>(filled);
}

void tellProblem(EngineContext& context, const char* text) {
    askOperator(context, Question{.details = StandardQuestion{.message = text}});
}

// The compare proper, on two open files; true when no difference was found.
bool compareOpenFiles(EngineContext& context, platform::InputFile& first,
                      platform::InputFile& second, std::int64_t size, bool unreadableResult) {
    std::vector<std::byte> firstBlock(kBlockSize);
    std::vector<std::byte> secondBlock(kBlockSize);
    std::int64_t done = 0;
    for (;;) {
        context.host.pump();
        if (context.host.abortRequested())
            return true;
        const std::int64_t firstCount = readBlock(first, firstBlock);
        const std::int64_t secondCount = readBlock(second, secondBlock);
        if (firstCount < 0 || secondCount < 0) {
            tellProblem(context, "Could not read Source or Target File for Binary Compare");
            return unreadableResult;
        }
        done = std::min(done + secondCount, size);
        context.host.setFileProgress(done, size);
        // Files of different lengths differ, also when one ends at a block boundary.
        if (firstCount != secondCount)
            return false;
        if (firstCount == 0)
            return true;
        if (std::memcmp(firstBlock.data(), secondBlock.data(),
                        static_cast<std::size_t>(firstCount)) != 0)
            return false;
    }
}

} // namespace

bool binaryCompare(EngineContext& context, const std::string& first, const std::string& second,
                   std::int64_t size, bool fromDisk) {
    // While scanning, files that cannot be read count as identical (nothing is listed); a copy
    // that cannot be read back has not been verified.
    const bool unreadableResult = !fromDisk;
    if (fromDisk)
        context.fileSystem.dropCache(second);
    platform::FsResult firstResult;
    platform::FsResult secondResult;
    const auto firstFile = context.fileSystem.openRead(first, firstResult);
    const auto secondFile = context.fileSystem.openRead(second, secondResult);
    if (!firstFile || !secondFile) {
        tellProblem(context, "Could not open Source or Target File for Binary Compare");
        return unreadableResult;
    }
    context.host.setFileProgress(0, size);
    const bool same = compareOpenFiles(context, *firstFile, *secondFile, size, unreadableResult);
    context.host.setFileProgress(0, size);
    return same;
}

} // namespace brisko::engine

#pragma once

#include "ports/Display.h"

#include <cstdint>

namespace brisko::run {

// The two progress bars of the copy phase: the file being copied and the bytes of the whole
// plan. Neither is ever moved past its end.
class CopyProgress {
public:
    // total: the bytes of all planned copies; the total bar stands at 0 when the phase begins.
    CopyProgress(Display& display, std::int64_t total);

    // A file of size bytes begins: its bar starts at 0.
    void startFile(std::int64_t size);
    // Bytes of the current file were copied.
    void advance(std::int64_t bytes);
    // The current file is done with, copied or not: the total bar counts all of it.
    void finishFile();

private:
    void showTotal();

    Display& display_;
    std::int64_t total_;
    std::int64_t totalDone_ = 0;
    std::int64_t fileStart_ = 0; // totalDone_ when the current file began
    std::int64_t fileSize_ = 0;
    std::int64_t fileDone_ = 0;
};

} // namespace brisko::run

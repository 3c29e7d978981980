#include "batch/ProgressLine.h"

namespace brisko::batch {

namespace {
constexpr std::chrono::milliseconds kRedrawInterval{333};
constexpr std::size_t kFileWidth = 48;

std::int32_t at(const std::array<std::int32_t, 8>& counters, Counter which) {
    return counters[static_cast<std::size_t>(which)];
}

std::string megabytes(std::int64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MiB";
}
} // namespace

void ProgressLine::setCounter(Counter which, std::int32_t value) {
    counters_[static_cast<std::size_t>(which)] = value;
    redraw(false);
}

void ProgressLine::setCurrentFile(const std::string& path) {
    currentFile_ = path;
    redraw(false);
}

void ProgressLine::setBytes(std::int64_t done, std::int64_t total) {
    bytesDone_ = done;
    bytesTotal_ = total;
    redraw(false);
}

void ProgressLine::redraw(bool force) {
    auto now = clock_.steadyNow();
    if (!force && drawn_ && now - lastDraw_ < kRedrawInterval)
        return;
    lastDraw_ = now;
    drawn_ = true;
    std::string file = currentFile_;
    if (file.size() > kFileWidth)
        file = "..." + file.substr(file.size() - (kFileWidth - 3));
    std::string line = "copied " + std::to_string(at(counters_, Counter::UpFiles)) + "/" +
                       std::to_string(at(counters_, Counter::ToUpFiles)) + "  deleted " +
                       std::to_string(at(counters_, Counter::DlFiles)) + "/" +
                       std::to_string(at(counters_, Counter::ToDelFiles)) + "  " +
                       megabytes(bytesDone_) + "/" + megabytes(bytesTotal_) + "  " + file;
    out_ << "\r\x1b[K" << line << std::flush;
}

void ProgressLine::clear() {
    if (drawn_)
        out_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

} // namespace brisko::batch

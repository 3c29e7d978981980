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

// Minutes and seconds (hours too when there are any): 0:42, 1:05:09.
std::string duration(std::int64_t seconds) {
    auto twoDigits = [](std::int64_t n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    const std::int64_t hours = seconds / 3600;
    const std::int64_t minutes = seconds / 60 % 60;
    const std::string rest = twoDigits(seconds % 60);
    return hours > 0 ? std::to_string(hours) + ":" + twoDigits(minutes) + ":" + rest
                     : std::to_string(minutes) + ":" + rest;
}

// "12 MiB/s, 0:42 left" once the copy has run long enough to tell (moved bytes in elapsed
// time); empty before.
std::string speedAndTimeLeft(std::int64_t moved, std::int64_t done, std::int64_t total,
                             std::chrono::steady_clock::duration elapsed) {
    const double seconds = std::chrono::duration<double>(elapsed).count();
    if (moved <= 0 || seconds < 1.0)
        return {};
    const double perSecond = static_cast<double>(moved) / seconds;
    const auto left = static_cast<std::int64_t>(static_cast<double>(total - done) / perSecond);
    return "  " + megabytes(static_cast<std::int64_t>(perSecond)) + "/s, " + duration(left) +
           " left";
}

std::string counted(std::int32_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}
} // namespace

std::string runSummary(std::int32_t copied, std::int32_t deletedFiles, std::int32_t deletedFolders,
                       int failed, std::chrono::seconds elapsed) {
    return "copied " + counted(copied, "file", "files") + ", deleted " +
           counted(deletedFiles, "file", "files") + " and " +
           counted(deletedFolders, "folder", "folders") + ", " + std::to_string(failed) +
           " failed, in " + duration(elapsed.count());
}

void ProgressLine::setCounter(Counter which, std::int32_t value) {
    counters_[static_cast<std::size_t>(which)] = value;
    redraw(false);
}

void ProgressLine::setCurrentFile(const std::string& path) {
    currentFile_ = path;
    redraw(false);
}

void ProgressLine::setBytes(std::int64_t done, std::int64_t total) {
    if (bytesDone_ == 0 && done > 0) {
        bytesStart_ = clock_.steadyNow();
        bytesAtStart_ = done;
    }
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
    std::string line =
        "copied " + std::to_string(at(counters_, Counter::UpFiles)) + "/" +
        std::to_string(at(counters_, Counter::ToUpFiles)) + "  deleted " +
        std::to_string(at(counters_, Counter::DlFiles)) + "/" +
        std::to_string(at(counters_, Counter::ToDelFiles)) + "  " + megabytes(bytesDone_) + "/" +
        megabytes(bytesTotal_) +
        speedAndTimeLeft(bytesDone_ - bytesAtStart_, bytesDone_, bytesTotal_, now - bytesStart_) +
        "  " + file;
    out_ << "\r\x1b[K" << line << std::flush;
}

void ProgressLine::clear() {
    if (drawn_)
        out_ << "\r\x1b[K" << std::flush;
    drawn_ = false;
}

} // namespace brisko::batch

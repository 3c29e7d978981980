#include "run/CopyProgress.h"

#include <algorithm>

namespace brisko::run {

CopyProgress::CopyProgress(Display& display, std::int64_t total)
    : display_(display), total_(std::max<std::int64_t>(total, 0)) {}

void CopyProgress::startFile(std::int64_t size) {
    fileStart_ = totalDone_;
    fileSize_ = std::max<std::int64_t>(size, 0);
    fileDone_ = 0;
    display_.setFileProgress(0, fileSize_);
}

void CopyProgress::advance(std::int64_t bytes) {
    fileDone_ = std::min(fileSize_, fileDone_ + bytes);
    display_.setFileProgress(fileDone_, fileSize_);
    totalDone_ = std::min(total_, totalDone_ + bytes);
    showTotal();
}

void CopyProgress::finishFile() {
    totalDone_ = std::min(total_, std::max(totalDone_, fileStart_ + fileSize_));
    showTotal();
}

void CopyProgress::showTotal() {
    display_.setTotalProgress(totalDone_, total_);
}

} // namespace brisko::run

#include "run/CopyFailures.h"

#include "run/TemporaryFile.h"

namespace brisko::run {

std::string failureReason(const platform::FsResult& result) {
    if (result.status == platform::FsStatus::NoSpace || result.detail.empty())
        return platform::describe(result.status);
    return result.detail;
}

std::string temporaryFailure(const platform::FsResult& result) {
    if (result.status == platform::FsStatus::InUse)
        return "Another copy is in progress in this folder - skipped";
    return std::string("Could not create the temporary file ") + TemporaryFile::kName + " - " +
           failureReason(result);
}

std::string writeFailure(const platform::FsResult& result) {
    return "Could not write the copy - " + failureReason(result);
}

} // namespace brisko::run

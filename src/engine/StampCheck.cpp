#include "engine/StampCheck.h"

#include "engine/ScanReports.h"
#include "engine/SizeText.h"

#include <iomanip>
#include <locale>
#include <sstream>
#include <stdexcept>

namespace brisko::engine {

namespace {

constexpr std::int64_t kFutureLimit = 95;
constexpr std::int64_t kOutOfTuneLimit = 65530;

std::locale userLocale() {
    try {
        return std::locale("");
    } catch (const std::runtime_error&) {
        return std::locale::classic(); // the environment names a locale that is not installed
    }
}

void addFutureRow(EngineContext& context, const StampedFile& file, std::string status) {
    context.host.addHistoryRow(HistoryRow{file.path, "Future Time Stamping",
                                          formatSize(file.size, context.thousandsSeparator), "",
                                          std::move(status), RowColour::Red});
}

StampVerdict stopOutOfTune(EngineContext& context, const StampedFile& file) {
    tellOperator(context, file.path + " Date and time out of tune");
    addFutureRow(context, file, "X");
    context.host.abortAll();
    return StampVerdict::EndScan;
}

StampVerdict askAboutFuture(EngineContext& context, const StampedFile& file, bool masterScan,
                            bool leftToRight, platform::DosStamp now) {
    const Question question{
        .details = FutureStampQuestion{.path = file.path,
                                       .dateText =
                                           "dated " + stampDateText(file.stamp) + " (future date)"},
        .leftToRight = leftToRight};
    switch (askOperator(context, question)) {
    case DialogAnswer::Yes: // Stamp File: at once, during the scan
        if (context.fileSystem.setStamp(file.path, now).ok())
            return StampVerdict::Stamped;
        tellOperator(context, std::string("Could not set the TimeStamp to ") +
                                  (file.isTarget ? " " : "") + file.path + " - Update Aborted");
        context.host.abortAll();
        return StampVerdict::EndScan;
    case DialogAnswer::Abort: // Abort All
        addFutureRow(context, file, masterScan && file.isTarget ? "Aborted" : "aborted");
        context.host.abortAll();
        return StampVerdict::EndScan;
    default: // Skip, also the time-out
        return StampVerdict::PassOver;
    }
}

} // namespace

platform::DosStamp CurrentStamp::now() {
    const std::time_t time = clock_.now();
    if (!known_ || time != lastTime_) {
        lastStamp_ = platform::dosStampFromTime(time);
        lastTime_ = time;
        known_ = true;
    }
    return lastStamp_;
}

StampStanding stampStanding(platform::DosStamp file, platform::DosStamp now,
                            bool outOfTuneAtLimit) {
    // 64-bit, so that no pair of stamps can overflow the difference.
    const std::int64_t ahead = static_cast<std::int64_t>(file) - static_cast<std::int64_t>(now);
    if (ahead > kOutOfTuneLimit || (outOfTuneAtLimit && ahead == kOutOfTuneLimit))
        return StampStanding::OutOfTune;
    // Exactly at the limit (when that is not out of tune) counts as future, so that no stamp
    // a day ahead is ever taken without a question.
    if (ahead > kFutureLimit)
        return StampStanding::Future;
    return StampStanding::InTune;
}

std::string stampDateText(platform::DosStamp stamp) {
    const platform::LocalDateTime t = platform::unpackDosStamp(stamp);
    const std::tm tm = platform::toTm(t);
    const bool midnight = t.hour == 0 && t.minute == 0 && t.second == 0;
    std::ostringstream text;
    text.imbue(userLocale());
    text << std::put_time(&tm, midnight ? "%x" : "%x %X");
    return text.str();
}

StampVerdict checkStamp(EngineContext& context, const StampedFile& file, bool masterScan,
                        bool leftToRight, platform::DosStamp now) {
    const bool updateSource = !masterScan && !file.isTarget;
    switch (stampStanding(file.stamp, now, updateSource)) {
    case StampStanding::InTune:
        return StampVerdict::Accepted;
    case StampStanding::OutOfTune:
        return stopOutOfTune(context, file);
    case StampStanding::Future:
        return askAboutFuture(context, file, masterScan, leftToRight, now);
    }
    return StampVerdict::Accepted;
}

} // namespace brisko::engine

#include "run/TempCopier.h"

#include "run/CopyFailures.h"
#include "run/SourceVersion.h"

namespace brisko::run {

namespace {

constexpr const char* kSourceChanged = "Source changed during the copy - target kept";

TempCopyResult failed(std::string text) {
    TempCopyResult result;
    result.failure = std::move(text);
    return result;
}

} // namespace

TempCopier::TempCopier(const ActionContext& context, CopyProgress& progress,
                       std::span<std::byte> buffer)
    : context_(context), progress_(progress), buffer_(buffer) {}

TempCopyResult writeTemporary(platform::FileSystem& fileSystem, const std::string& sourcePath,
                              TemporaryFile& temporary, std::span<std::byte> buffer,
                              WriteAttendant& attendant) {
    // The source is looked at before reading and again afterwards: its stamp goes onto the
    // copy, and a change in between shows a copy that may be torn.
    platform::PathInfo named = fileSystem.stat(sourcePath);
    platform::FsResult opened = named.result;
    std::unique_ptr<platform::InputFile> input;
    if (opened.ok())
        input = fileSystem.openRead(sourcePath, opened);
    if (!input) {
        attendant.sourceNotOpened(sourcePath);
        return failed("Could not open Source File");
    }
    const SourceVersion source(fileSystem, sourcePath, std::move(named), *input);
    if (!source.openedAsNamed())
        return failed(kSourceChanged);

    if (platform::FsResult created = temporary.create(); !created.ok())
        return failed(temporaryFailure(created));

    attendant.writing(sourcePath);
    TempCopyResult result;
    for (;;) {
        const platform::CopyStep step = temporary.output().copyFrom(*input, buffer);
        if (!step.readFailure.ok()) {
            if (attendant.readAgain(sourcePath, result))
                continue;
            return result;
        }
        if (!step.writeFailure.ok())
            return failed(writeFailure(step.writeFailure));
        if (step.count == 0)
            break;
        if (!attendant.written(step.count))
            return result; // abandoned: the temporary file goes with its owner
    }
    // A source rewritten while it was read may have given a torn copy: it never takes the
    // target's place.
    if (!source.unchanged(*input))
        return failed(kSourceChanged);
    input.reset();

    // Stamp and attributes (read-only too) now, so that the flush puts them on the disk with
    // the data and the copy has them all from the moment it takes its name: nothing is left to
    // do once it has it, which a crash could cut short and a later run would not see.
    if (!fileSystem.setStamp(temporary.path(), source.entry().stamp).ok())
        return failed("failed to set the time stamp, file not copied");
    fileSystem.copyAttributes(sourcePath, temporary.path());
    result.complete = true;
    return result;
}

TempCopyResult TempCopier::write(const engine::CopyAction& action, TemporaryFile& temporary) {
    return writeTemporary(context_.filesFor(action.exactName), action.sourcePath(), temporary,
                          buffer_, *this);
}

void TempCopier::writing(const std::string& sourcePath) {
    context_.host.setCurrentFile(sourcePath);
}

void TempCopier::sourceNotOpened(const std::string& sourcePath) {
    const Question notice{
        .details = StandardQuestion{.message = "Could not open Source File " + sourcePath}};
    context_.operatorPort.ask(notice);
}

bool TempCopier::written(std::int64_t bytes) {
    progress_.advance(bytes);
    context_.host.pump();
    return !context_.host.abortRequested();
}

bool TempCopier::readAgain(const std::string& sourcePath, TempCopyResult& result) {
    Question question{
        .details = FileErrorQuestion{.message = "Could not read from the file " + sourcePath}};
    switch (context_.operatorPort.ask(question)) {
    case DialogAnswer::Retry:
        return true;
    case DialogAnswer::Abort:
        result.failure = "Could not read from the file - Update aborted";
        context_.host.abortAll();
        return false;
    default:
        result.failure = "Could not read from the file - skipped";
        return false;
    }
}

} // namespace brisko::run

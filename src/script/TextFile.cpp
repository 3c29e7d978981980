#include "script/TextFile.h"

#include "platform/Unicode.h"
#include "script/ScriptLoader.h"

#include <vector>

namespace brisko::script {

namespace {

// Splits decoded text at LF, CR LF or a lone CR; the last line needs no line end.
std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        lines.emplace_back(text.substr(begin, i - begin));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.emplace_back(text.substr(begin));
    return lines;
}

} // namespace

bool readTextLines(platform::FileSystem& fileSystem, const std::string& fileName,
                   std::vector<std::string>& lines, platform::FsResult& result) {
    lines.clear();
    std::unique_ptr<platform::InputFile> file =
        fileSystem.openRead(fileName, result, platform::LinkPolicy::Follow);
    if (!file) {
        if (result.ok())
            result.status = platform::FsStatus::IoError;
        return false;
    }
    std::string bytes;
    std::vector<std::byte> buffer(64 * 1024);
    for (;;) {
        const std::int64_t count = file->read(buffer.data(), buffer.size());
        if (count == 0)
            break;
        if (count < 0) {
            result = file->lastError();
            if (result.ok())
                result.status = platform::FsStatus::IoError;
            return false;
        }
        bytes.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(count));
    }
    result = platform::FsResult::success();
    lines = splitLines(platform::decodeText(bytes));
    return true;
}

} // namespace brisko::script

#include "BatchProcess.h"
#include "platform/win/WinCommandLine.h"
#include "platform/win/WinText.h"

#include <filesystem>
#include <stdexcept>
#include <windows.h>

namespace brisko::test {

namespace {

std::filesystem::path ownFolder() {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

std::wstring wide(const std::string& text) {
    const auto converted = platform::wideFromUtf8(text);
    if (!converted)
        throw std::runtime_error("not UTF-8: " + text);
    return *converted;
}

// This process's environment with the extra entries after it (a later entry of a name wins).
std::wstring environmentBlock(const std::vector<std::string>& extra) {
    std::wstring block;
    wchar_t* own = GetEnvironmentStringsW();
    for (const wchar_t* entry = own; *entry != L'\0'; entry += wcslen(entry) + 1)
        block.append(entry).push_back(L'\0');
    FreeEnvironmentStringsW(own);
    for (const std::string& entry : extra)
        block.append(wide(entry)).push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// A temporary file that the child writes one of its outputs into, through an inherited
// handle. It goes when the last handle to it closes (a helper of the system may hold the
// child's handles a moment longer).
class OutputFile {
public:
    explicit OutputFile(const std::filesystem::path& path) {
        SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                              nullptr);
        if (handle_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot create " + path.string());
    }
    ~OutputFile() { CloseHandle(handle_); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    HANDLE handle() const { return handle_; }
    // All that was written, once the child has ended.
    std::string text() const {
        std::string all;
        char buffer[4096];
        DWORD count = 0;
        SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
        while (ReadFile(handle_, buffer, sizeof buffer, &count, nullptr) && count > 0)
            all.append(buffer, count);
        return all;
    }

private:
    HANDLE handle_;
};

} // namespace

ProcessResult runBatchProcess(const std::vector<std::string>& arguments,
                              const std::vector<std::string>& environment) {
    // brisko2-batch.exe lies where the build puts it, relative to this program.
    const std::filesystem::path program = ownFolder() / BRISKO_BATCH_EXECUTABLE_FROM_TESTS;
    std::vector<std::wstring> words{program.wstring()};
    for (const std::string& argument : arguments)
        words.push_back(wide(argument));
    std::wstring commandLine = platform::windowsCommandLine(words);
    std::wstring block = environmentBlock(environment);

    const std::filesystem::path temporary = std::filesystem::temp_directory_path();
    static int runs = 0;
    const std::wstring stem =
        L"brisko-batch-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++runs);
    OutputFile out(temporary / (stem + L".out"));
    OutputFile err(temporary / (stem + L".err"));
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out.handle();
    startup.hStdError = err.handle();
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW, block.data(),
                                        nullptr, &startup, &process);
    if (in != INVALID_HANDLE_VALUE)
        CloseHandle(in);
    if (!started)
        throw std::runtime_error("cannot start " + program.string());
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);

    ProcessResult result;
    result.exitStatus = static_cast<int>(status);
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace brisko::test

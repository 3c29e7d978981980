#include "platform/win/WinShell.h"

#include "platform/ChildProcess.h"
#include "platform/Refusals.h"
#include "platform/Unicode.h"
#include "platform/win/WinCommandLine.h"
#include "platform/win/WinErrors.h"
#include "platform/win/WinHandle.h"
#include "platform/win/WinText.h"

// clang-format off
#include <windows.h> // first: shellapi.h builds on it
#include <shellapi.h>
// clang-format on
#include <array>
#include <optional>

namespace brisko::platform {

namespace {

bool isProgramFile(const std::wstring& path) {
    const std::string name = utf8FromWide(path);
    constexpr std::array<std::string_view, 4> kProgramTypes = {".exe", ".com", ".bat", ".cmd"};
    for (const std::string_view type : kProgramTypes) {
        if (name.size() > type.size() &&
            equalsIgnoreCase(std::string_view(name).substr(name.size() - type.size()), type))
            return true;
    }
    return false;
}

// The file SearchPathW finds for a name in folder (nothing: where the system looks for
// programs), tried with the type when the name has none.
std::optional<std::wstring> search(const wchar_t* folder, const std::wstring& name,
                                   const wchar_t* type) {
    std::wstring found(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = SearchPathW(folder, name.c_str(), type,
                                         static_cast<DWORD>(found.size()), found.data(), nullptr);
        if (length == 0)
            return std::nullopt;
        if (length < found.size()) {
            found.resize(length);
            const DWORD attributes = GetFileAttributesW(found.c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                return std::nullopt;
            return found;
        }
        found.resize(length);
    }
}

// A file of the working folder, else a program where the system finds programs (its own
// folders, PATH); a name without a type is tried as an .exe too.
std::optional<std::wstring> findProgram(const std::wstring& name, const std::wstring& folder) {
    for (const wchar_t* where :
         {folder.empty() ? nullptr : folder.c_str(), static_cast<const wchar_t*>(nullptr)}) {
        if (auto found = search(where, name, nullptr))
            return found;
        if (auto found = search(where, name, L".exe"))
            return found;
    }
    return std::nullopt;
}

std::wstring wide(const std::string& text) {
    return wideFromUtf8(text).value_or(std::wstring());
}

FsResult startProgram(const std::wstring& program, const std::vector<std::string>& parameters,
                      const std::string& folder) {
    ChildProcess::Request request;
    request.arguments.push_back(utf8FromWide(program));
    request.arguments.insert(request.arguments.end(), parameters.begin(), parameters.end());
    request.folder = folder;
    const int error = ChildProcess::launch(request);
    return error == 0 ? FsResult::success() : resultFromWinError(static_cast<DWORD>(error));
}

FsResult openDocument(const std::wstring& document, const std::vector<std::string>& parameters,
                      const std::wstring& folder) {
    std::vector<std::wstring> arguments;
    for (const std::string& parameter : parameters)
        arguments.push_back(wide(parameter));
    const std::wstring parameterText = windowsCommandLine(arguments);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = document.c_str();
    info.lpParameters = parameterText.empty() ? nullptr : parameterText.c_str();
    info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info))
        return {FsStatus::Unsupported, "no program opens " + utf8FromWide(document)};
    return FsResult::success();
}

} // namespace

FsResult WinShell::open(const std::string& program, const std::vector<std::string>& parameters,
                        const std::string& workingFolder) {
    if (program.empty())
        return refusal::noProgramNamed();
    const std::wstring folder = wide(workingFolder);
    const std::optional<std::wstring> found = findProgram(wide(program), folder);
    if (!found)
        return refusal::noProgramOrFile(program);
    if (isProgramFile(*found))
        return startProgram(*found, parameters, workingFolder);
    return openDocument(*found, parameters, folder);
}

std::string runningProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return std::string();
        if (length < path.size()) {
            path.resize(length);
            return utf8FromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

} // namespace brisko::platform

#include "app/desktop/WinFileType.h"

#include "platform/win/WinText.h"

#include <optional>
#include <string_view>
#include <utility>

namespace brisko::desktop {

namespace {

constexpr const wchar_t* kTypeName = L"BRK_auto_file";

// An open registry key, closed when the object goes.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }

    static std::optional<RegistryKey> create(HKEY parent, const std::wstring& path) {
        RegistryKey key;
        if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                            &key.key_, nullptr) != ERROR_SUCCESS)
            return std::nullopt;
        return key;
    }
    static std::optional<RegistryKey> open(HKEY parent, const std::wstring& path) {
        RegistryKey key;
        if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key.key_) != ERROR_SUCCESS)
            return std::nullopt;
        return key;
    }
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

    HKEY handle() const { return key_; }

    bool writeDefault(const std::wstring& value) const {
        const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(key_, nullptr, 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
    }
    // The default value (environment strings expanded); empty when there is none.
    std::wstring readDefault() const {
        DWORD bytes = 0;
        if (RegGetValueW(key_, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
            ERROR_SUCCESS)
            return {};
        std::wstring value(bytes / sizeof(wchar_t), L'\0');
        if (RegGetValueW(key_, nullptr, nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) !=
            ERROR_SUCCESS)
            return {};
        value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
        return value;
    }

private:
    HKEY key_ = nullptr;
};

bool writeDefault(HKEY classes, const std::wstring& path, const std::wstring& value) {
    const std::optional<RegistryKey> key = RegistryKey::create(classes, path);
    return key && key->writeDefault(value);
}

std::wstring quotedText(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring windowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : L"C:\\WINDOWS";
}

// The program of an edit command: the text before its first '%', without blanks around it.
std::wstring programOfCommand(const std::wstring& command) {
    const std::size_t percent = command.find(L'%');
    if (percent == std::wstring::npos)
        return {};
    std::wstring_view program(command.data(), percent);
    const std::size_t first = program.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    program = program.substr(first);
    return std::wstring(program.substr(0, program.find_last_not_of(L" \t") + 1));
}

} // namespace

std::string readWinEditorProgram(HKEY classes) {
    const std::optional<RegistryKey> edit =
        RegistryKey::open(classes, std::wstring(kTypeName) + L"\\Shell\\Edit\\Command");
    return edit ? platform::utf8FromWide(programOfCommand(edit->readDefault())) : std::string();
}

WinFileTypeOutcome registerWinFileType(HKEY classes, HKEY textTypes,
                                       const std::string& programPath) {
    const std::wstring program = platform::wideFromUtf8(programPath).value_or(std::wstring());
    const std::wstring type = kTypeName;
    const auto failed = [](const char* key) {
        return WinFileTypeOutcome{std::string("cannot write the registry key ") + key, {}};
    };
    if (!writeDefault(classes, L".brk", type))
        return failed(".brk");
    if (!writeDefault(classes, type, L"Brisko Script file") ||
        !writeDefault(classes, type + L"\\DefaultIcon", program))
        return failed("BRK_auto_file");
    if (!writeDefault(classes, type + L"\\Shell\\Open\\Command",
                      quotedText(program) + L" " + quotedText(L"%1")))
        return failed("BRK_auto_file\\Shell\\Open\\Command");
    if (!RegistryKey::open(classes, type + L"\\Shell\\Edit")) {
        std::wstring textEditor;
        if (const std::optional<RegistryKey> text =
                RegistryKey::open(textTypes, L"txtfile\\Shell\\Open\\Command"))
            textEditor = text->readDefault();
        if (!writeDefault(classes, type + L"\\Shell\\Edit\\Command", textEditor))
            return failed("BRK_auto_file\\Shell\\Edit\\Command");
    }
    WinFileTypeOutcome outcome;
    outcome.editorProgram = readWinEditorProgram(classes);
    if (!writeDefault(classes, type + L"\\Shell\\Print\\Command",
                      quotedText(windowsFolder() + L"\\Notepad.exe") + L" /p " + quotedText(L"%1")))
        return failed("BRK_auto_file\\Shell\\Print\\Command");
    return outcome;
}

WinFileTypeOutcome registerWinFileTypeForUser(const std::string& programPath) {
    const std::optional<RegistryKey> classes =
        RegistryKey::create(HKEY_CURRENT_USER, L"Software\\Classes");
    if (!classes)
        return {"cannot write the registry key HKEY_CURRENT_USER\\Software\\Classes", {}};
    return registerWinFileType(classes->handle(), HKEY_CLASSES_ROOT, programPath);
}

} // namespace brisko::desktop

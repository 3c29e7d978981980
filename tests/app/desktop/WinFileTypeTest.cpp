#include "app/desktop/WinFileType.h"

#include <gtest/gtest.h>

using brisko::desktop::registerWinFileType;

namespace {

constexpr const wchar_t* kScratch = L"Software\\BriskoTests";

// Scratch keys for the classes written and the text files' command, removed afterwards.
class WinFileType : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\BriskoTests\\Classes", 0, nullptr,
                                  0, KEY_ALL_ACCESS, nullptr, &classes, nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\BriskoTests\\Text", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &text, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(classes);
        RegCloseKey(text);
        RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    }

    static void setDefault(HKEY root, const std::wstring& path, const std::wstring& value) {
        ASSERT_EQ(RegSetKeyValueW(root, path.c_str(), nullptr, REG_SZ, value.c_str(),
                                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    std::wstring defaultOf(const std::wstring& path) const {
        wchar_t value[512] = {};
        DWORD bytes = sizeof value;
        if (RegGetValueW(classes, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
            ERROR_SUCCESS)
            return L"<missing>";
        return value;
    }

    HKEY classes = nullptr;
    HKEY text = nullptr;
};

} // namespace

TEST_F(WinFileType, WritesTheTypeAndTakesTheTextEditorOnce) {
    setDefault(text, L"txtfile\\Shell\\Open\\Command", L"C:\\WINDOWS\\NOTEPAD.EXE %1");
    const auto first = registerWinFileType(classes, text, "C:\\Prog\\brisko2.exe");
    EXPECT_EQ(first.failure, "");
    EXPECT_EQ(first.editorProgram, "C:\\WINDOWS\\NOTEPAD.EXE");
    EXPECT_EQ(defaultOf(L".brk"), L"BRK_auto_file");
    EXPECT_EQ(defaultOf(L"BRK_auto_file"), L"Brisko Script file");
    EXPECT_EQ(defaultOf(L"BRK_auto_file\\DefaultIcon"), L"C:\\Prog\\brisko2.exe");
    EXPECT_EQ(defaultOf(L"BRK_auto_file\\Shell\\Open\\Command"),
              L"\"C:\\Prog\\brisko2.exe\" \"%1\"");
    EXPECT_EQ(defaultOf(L"BRK_auto_file\\Shell\\Edit\\Command"), L"C:\\WINDOWS\\NOTEPAD.EXE %1");
    const std::wstring print = defaultOf(L"BRK_auto_file\\Shell\\Print\\Command");
    EXPECT_TRUE(print.ends_with(L"\\Notepad.exe\" /p \"%1\"")) << print.size();

    // An edit command set up since is left alone, and its program read back.
    setDefault(classes, L"BRK_auto_file\\Shell\\Edit\\Command", L"  myed.exe -x %1 ");
    const auto second = registerWinFileType(classes, text, "C:\\Prog\\brisko2.exe");
    EXPECT_EQ(second.editorProgram, "myed.exe -x");
    EXPECT_EQ(defaultOf(L"BRK_auto_file\\Shell\\Edit\\Command"), L"  myed.exe -x %1 ");
}

TEST_F(WinFileType, WithoutATextEditorTheEditCommandIsEmpty) {
    const auto outcome = registerWinFileType(classes, text, "C:\\Prog\\brisko2.exe");
    EXPECT_EQ(outcome.failure, "");
    EXPECT_EQ(outcome.editorProgram, "");
    EXPECT_EQ(defaultOf(L"BRK_auto_file\\Shell\\Edit\\Command"), L"");
}

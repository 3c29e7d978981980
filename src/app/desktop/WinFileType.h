#pragma once

#include <string>
#include <windows.h>

namespace brisko::desktop {

// What registering the script file type gave.
struct WinFileTypeOutcome {
    std::string failure;       // empty on success, otherwise which key could not be written
    std::string editorProgram; // the Edit verb's program (UTF-8); empty: none
};

// Associates .brk with programPath (UTF-8) under classes (the user's Software\Classes): the type
// BRK_auto_file with its icon and Open, Edit and Print verbs. The Edit verb is written only when
// the type has none yet, as the open command of text files found under textTypes; one set up by
// the user or another program is left alone. The editor is read back from the Edit verb: the
// text before its first '%', trimmed.
WinFileTypeOutcome registerWinFileType(HKEY classes, HKEY textTypes,
                                       const std::string& programPath);

// The Edit verb's program of the type under classes; empty: none.
std::string readWinEditorProgram(HKEY classes);

// The same for the running program, in HKEY_CURRENT_USER\Software\Classes with the text files'
// command looked up in HKEY_CLASSES_ROOT.
WinFileTypeOutcome registerWinFileTypeForUser(const std::string& programPath);

} // namespace brisko::desktop

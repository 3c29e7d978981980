#pragma once

#include <QString>

namespace brisko::desktop {

inline constexpr auto scriptMimeType = "application/x-brisko-script";
inline constexpr auto desktopEntryName = "brisko2.desktop";

// Associates *.brk files (in any case) with the program under the user's data folder
// ($XDG_DATA_HOME, else ~/.local/share): a shared-mime-info package for the script type, a
// subclass of text/plain so that text editors are offered too, and a desktop entry that opens
// a script with programPath. Files are rewritten, and the desktop's databases refreshed, only
// when their content changed. The program becomes the type's default application only when
// the user has none. Returns empty text on success, otherwise what went wrong.
QString registerScriptFileType(const QString& programPath);

} // namespace brisko::desktop

#include "app/tutorial/SampleScripts.h"

namespace brisko::tutorial {

namespace {

// Two blanks after "Update" and after "and".
const QString kTitle = QStringLiteral("Update  C:\\DATA and  F:\\DATA");

// clang-format off
const QList<SampleLine>& beginner() {
    static const QList<SampleLine> lines{
        {"LeftPath",      "C:\\DATA"},
        {"RightPath",     "F:\\DATA"},
        {"Execute",       {}},
    };
    return lines;
}

const QList<SampleLine>& intermediate() {
    static const QList<SampleLine> lines{
        {"Title",         kTitle},
        {"SessionFiles",  "*.DBF"},
        {"LeftPath",      "C:\\DATA"},
        {"RightPath",     "F:\\DATA"},
        {"UpdateMode",    "Update"},
        {"SubFolders",    "No"},
        {"MissingFolder", "Auto"},
        {"Exclude",       "*.CDX,*.PX"},
        {"Message",       "Updating all Database files"},
        {"Execute",       {}},
    };
    return lines;
}

const QList<SampleLine>& expert() {
    static const QList<SampleLine> lines{
        {"Title",         kTitle},
        {"FileSpec",      "*.DBF"},
        {"Ignore",        "No"},
        {"Compare",       "Binary"},
        {"Backup",        "DB1,DB2"},
        {"MissingFile",   "Ask"},
        {"SessionFiles",  "*.DBF"},
        {"LeftRoot",      "C:"},
        {"RightRoot",     "F:,20"},
        {"LeftPath",      "\\DATA"},
        {"RightPath",     "\\DATA"},
        {"UpdateMode",    "Update"},
        {"SubFolders",    "No"},
        {"MissingFolder", "Auto"},
        {"Exclude",       "*.CDX,*.PX,Temp\\,/PROG\\*.IDX"},
        {"Message",       "Updating all Database files"},
        {"WhenFinish",    "Stay"},
        {"Execute",       {}},
        {"Include",       "c:\\common\\common.brk"},
    };
    return lines;
}
// clang-format on

} // namespace

const QList<SampleLine>& sampleScript(int level) {
    if (level <= 0)
        return beginner();
    if (level == 1)
        return intermediate();
    return expert();
}

} // namespace brisko::tutorial

// Masks and names through the matcher, as a scan selects and leaves out entries. The input's
// lines: SessionFiles, an Exclude list, a FileSpec mask, its Backup list, then a name, the
// folder it lies in and the source root.

#include "FuzzInput.h"
#include "engine/Matching.h"
#include "engine/Selection.h"
#include "platform/Unicode.h"
#include "script/SessionSettings.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brisko;
    const auto fields = fuzz::inputFields(fuzz::inputText(data, size), 7);
    const std::string_view name = fields[4];
    const std::string_view folder = fields[5];
    const std::string_view sourceRoot = fields[6];

    script::SessionSettings settings;
    settings.sessionFiles = std::string(fields[0]);
    script::applyExclusions(settings.tables, fields[1], "");
    script::applyFileSpecKey(settings.tables, "FILESPEC", platform::toUpper(fields[2]));
    script::applyFileSpecKey(settings.tables, "BACKUP", platform::toUpper(fields[3]));

    const engine::FileSpecMatcher matcher(settings.tables);
    for (const bool masterScan : {false, true})
        engine::selectedFileSpec(settings, matcher, name, folder, sourceRoot, masterScan);
    engine::entersFolder(settings, name, folder, sourceRoot);
    engine::isBackupName(settings.tables, name);
    engine::maskMatch(name, fields[2]);
    // The mask "*.*" takes every name.
    if (!engine::maskMatch(name, "*.*"))
        std::abort();
    return 0;
}

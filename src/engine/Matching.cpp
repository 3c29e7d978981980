#include "engine/Matching.h"

#include "platform/DrivePath.h"
#include "platform/Unicode.h"

#include <string>
#include <vector>

namespace brisko::engine {

namespace {

// Blanks and control characters, as script lists trim them.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Walks the pieces of a text between separators, trimmed, empty ones passed over: the same
// pieces as script::splitList gives, as views, so that matching a name allocates nothing.
class PieceReader {
public:
    PieceReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

    bool next(std::string_view& piece) {
        while (start_ <= text_.size()) {
            std::size_t end = text_.find(separator_, start_);
            if (end == std::string_view::npos)
                end = text_.size();
            piece = trimmed(text_.substr(start_, end - start_));
            start_ = end + 1;
            if (!piece.empty())
                return true;
        }
        return false;
    }

private:
    std::string_view text_;
    char separator_;
    std::size_t start_ = 0;
};

// Base and extension: the first two pieces at '.', missing ones empty; later pieces are
// not looked at (ARCHIVE.TAR.GZ has the extension TAR).
struct NameParts {
    std::string_view base;
    std::string_view extension;
};

NameParts nameParts(std::string_view text) {
    NameParts parts;
    PieceReader reader(text, '.');
    if (reader.next(parts.base))
        reader.next(parts.extension);
    return parts;
}

// Bytes of the character that starts at pos: a UTF-8 lead byte with its continuation bytes.
std::size_t characterLength(std::string_view text, std::size_t pos) {
    std::size_t length = 1;
    if (static_cast<unsigned char>(text[pos]) >= 0xC0) {
        while (length < 4 && pos + length < text.size() &&
               (static_cast<unsigned char>(text[pos + length]) & 0xC0) == 0x80)
            ++length;
    }
    return length;
}

// The one mask rule, parts in upper case: base against base, extension against extension. A
// mask whose extension is given and is not "*" takes only names that have an extension, so
// that *.TMP never takes README or .BASHRC; "*", "*.*", NAME and NAME.* take names without one.
bool partsMatch(const NameParts& name, const NameParts& mask) {
    if (name.extension.empty() && !mask.extension.empty() && mask.extension != "*")
        return false;
    return partMatch(name.base, mask.base) && partMatch(name.extension, mask.extension);
}

// Both in upper case already.
bool upperMaskMatch(std::string_view name, std::string_view mask) {
    return partsMatch(nameParts(name), nameParts(mask));
}

// Whether part occurs in path ending at a folder boundary (the end, or before a '\'), so that
// ...\PROG covers ...\PROG and ...\PROG\MORE but not ...\PROGRAMS.
bool containsFolder(std::string_view path, std::string_view part) {
    for (std::size_t pos = path.find(part); pos != std::string_view::npos;
         pos = path.find(part, pos + 1)) {
        const std::size_t end = pos + part.size();
        if (end == path.size() || path[end] == '\\')
            return true;
    }
    return false;
}

bool takesPart(const script::ExcludeEntry& entry) {
    return !entry.mask.empty() && (entry.inForce || !entry.backupOf.empty());
}

// The paths and name of one isExcluded call in upper case, made once for all entries.
struct Subject {
    std::string root;
    std::string folder;
    std::string name;
};

// The part of a path below the source root, beginning with '\' ("" for the root itself).
std::string_view belowRoot(std::string_view path, const Subject& subject) {
    return path.starts_with(subject.root) ? path.substr(subject.root.size()) : std::string_view();
}

// An entry whose folder part begins with "*\" names folders of that name at any depth.
bool anyDepth(std::string_view mask) {
    return mask.starts_with("*\\");
}

// A folder entry ("NAME\", "/NAME\", "SUB\NAME\") names one folder below the source root;
// "*\NAME\" every folder of that name at any depth.
bool excludesFolder(std::string_view mask, const Subject& subject) {
    if (mask.empty() || mask.back() != '\\')
        return false;
    if (anyDepth(mask)) {
        const std::string_view tail = mask.substr(1, mask.size() - 2); // "\NAME"
        const std::string path = platform::drive_path::join(subject.folder, subject.name);
        return tail.size() > 1 && belowRoot(path, subject).ends_with(tail);
    }
    std::string_view rest = mask.substr(0, mask.size() - 1);
    if (!rest.empty() && (rest.front() == '/' || rest.front() == '\\'))
        rest.remove_prefix(1);
    if (rest.empty())
        return false; // a lone "\" names no folder
    return platform::drive_path::join(subject.root, rest) ==
           platform::drive_path::join(subject.folder, subject.name);
}

// A file entry: a mask, optionally after a folder part ("PROG\*.IDX" anywhere from that
// folder down, "/PROG\*.IDX" in that folder only, "*\CACHE\*.TMP" from every folder of that
// name down) or after "/" (files of the root only).
bool excludesFile(std::string_view mask, const Subject& subject) {
    if (mask.empty() || mask.back() == '\\')
        return false; // folder entries never match a file
    if (anyDepth(mask)) {
        const std::size_t last = mask.rfind('\\');
        const std::string_view folders = mask.substr(1, last - 1); // "\CACHE"
        return folders.size() > 1 && containsFolder(belowRoot(subject.folder, subject), folders) &&
               upperMaskMatch(subject.name, mask.substr(last + 1));
    }
    std::vector<std::string_view> parts;
    PieceReader reader(mask, '\\');
    for (std::string_view piece; reader.next(piece);)
        parts.push_back(piece);
    if (parts.empty())
        return false;
    std::string_view fileMask = parts.back();
    if (parts.size() > 1) {
        std::string folderPart(parts.front());
        for (std::size_t i = 1; i + 1 < parts.size(); ++i)
            folderPart.append(1, '\\').append(parts[i]);
        const bool anchored = folderPart.front() == '/';
        const std::string candidate = platform::drive_path::join(
            subject.root, std::string_view(folderPart).substr(anchored ? 1 : 0));
        const bool applies =
            anchored ? candidate == subject.folder : containsFolder(subject.folder, candidate);
        if (!applies)
            return false;
    } else if (fileMask.front() == '/' && subject.root != subject.folder) {
        return false;
    }
    if (!fileMask.empty() && fileMask.front() == '/')
        fileMask.remove_prefix(1);
    return upperMaskMatch(subject.name, fileMask);
}

// An entry made by a Backup list ("*.DB1") takes the names that end in that extension after a
// non-empty name (DATA.DB1, REPORT.ODT.DB1) and nothing else: CHANGES.DB1.GZ is a file of its
// own. Both in upper case.
bool hasBackupExtension(std::string_view name, std::string_view extension) {
    if (extension.empty() || name.size() < extension.size() + 2)
        return false;
    const std::size_t dot = name.size() - extension.size() - 1;
    return name[dot] == '.' && name.substr(dot + 1) == extension &&
           name.find_first_not_of('.', 0) < dot;
}

// The extension of a backup entry: its mask is "*." and the extension.
std::string_view backupExtensionOf(std::string_view mask) {
    return mask.starts_with("*.") ? mask.substr(2) : std::string_view();
}

} // namespace

bool partMatch(std::string_view namePart, std::string_view maskPart) {
    if (namePart.empty())
        return true;
    std::size_t nameAt = 0;
    std::size_t maskAt = 0;
    while (nameAt < namePart.size()) {
        if (maskAt >= maskPart.size())
            return false;
        const char maskChar = maskPart[maskAt];
        if (maskChar == '*')
            return true;
        if (maskChar == '?') {
            nameAt += characterLength(namePart, nameAt);
        } else {
            if (namePart[nameAt] != maskChar)
                return false;
            ++nameAt;
        }
        ++maskAt;
    }
    return maskAt == maskPart.size();
}

bool maskMatch(std::string_view name, std::string_view mask) {
    return upperMaskMatch(platform::toUpper(name), platform::toUpper(mask));
}

bool isExcluded(const script::FileSpecTables& tables, std::string_view name,
                std::string_view folder, bool isFolder, std::string_view sourceRoot) {
    bool anyInEffect = false;
    for (const script::ExcludeEntry& entry : tables.exclusions)
        anyInEffect = anyInEffect || takesPart(entry);
    if (!anyInEffect)
        return false;

    const Subject subject{platform::toUpper(sourceRoot), platform::toUpper(folder),
                          platform::toUpper(name)};
    for (const script::ExcludeEntry& entry : tables.exclusions) {
        if (!takesPart(entry))
            continue;
        const std::string mask = platform::toUpper(entry.mask);
        if (isFolder) {
            if (excludesFolder(mask, subject))
                return true;
        } else if ((entry.inForce && excludesFile(mask, subject)) ||
                   (!entry.backupOf.empty() &&
                    hasBackupExtension(subject.name, backupExtensionOf(mask)))) {
            return true;
        }
    }
    return false;
}

FileSpecMatcher::FileSpecMatcher(const script::FileSpecTables& tables) {
    masks_.reserve(tables.fileSpecs.size());
    for (const script::FileSpec& spec : tables.fileSpecs) {
        const std::string mask = platform::toUpper(spec.mask);
        const NameParts parts = nameParts(mask);
        masks_.push_back({std::string(parts.base), std::string(parts.extension)});
    }
}

std::size_t FileSpecMatcher::find(std::string_view name) const {
    const std::string upperName = platform::toUpper(name);
    const NameParts parts = nameParts(upperName);
    for (std::size_t i = masks_.size(); i-- > 0;) {
        if (partsMatch(parts, {masks_[i].base, masks_[i].extension}))
            return i;
    }
    return 0;
}

bool isBackupName(const script::FileSpecTables& tables, std::string_view name) {
    const std::string upperName = platform::toUpper(name);
    for (const script::ExcludeEntry& entry : tables.exclusions) {
        if (!entry.backupOf.empty() &&
            hasBackupExtension(upperName, backupExtensionOf(platform::toUpper(entry.mask))))
            return true;
    }
    return false;
}

std::size_t fileSpecFor(const script::FileSpecTables& tables, std::string_view name) {
    return FileSpecMatcher(tables).find(name);
}

} // namespace brisko::engine

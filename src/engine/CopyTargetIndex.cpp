#include "engine/CopyTargetIndex.h"

#include "engine/Plan.h"

namespace brisko::engine {

namespace {

constexpr std::uint64_t kHashStart = 14695981039346656037ull;

// FNV-1a, fed in pieces: a target path hashes the same whole or as folder, separator, name.
std::uint64_t hashOn(std::uint64_t hash, std::string_view text) {
    for (const char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

std::uint64_t pathHash(std::string_view folder, std::string_view name) {
    return hashOn(hashOn(hashOn(kHashStart, folder), "\\"), name);
}

// Whether folder + "\" + name spells the same path as the copy's target.
bool sameTarget(const CopyAction& copy, std::string_view folder, std::string_view name) {
    const std::string_view copyFolder = copy.targetFolder;
    if (copyFolder.size() == folder.size())
        return copyFolder == folder && copy.name == name;
    // The same path cut at another separator (a name with a backslash in it).
    return copyFolder.size() + copy.name.size() == folder.size() + name.size() &&
           copy.targetPath() == platform::drive_path::join(folder, name);
}

} // namespace

bool CopyTargetIndex::contains(const BlockList<CopyAction>& copies, std::string_view folder,
                               std::string_view name) const {
    return count_ != 0 && slots_[slotOf(copies, folder, name)] != 0;
}

void CopyTargetIndex::add(const BlockList<CopyAction>& copies, std::size_t index) {
    if ((count_ + 1) * 2 > slots_.size())
        grow(copies);
    const CopyAction& copy = copies[index];
    slots_[slotOf(copies, copy.targetFolder, copy.name)] = static_cast<std::uint32_t>(index + 1);
    ++count_;
}

bool CopyTargetIndex::contains(const BlockList<CopyAction>& copies, std::string_view path) const {
    // Cut at the last separator: the hash and the comparison do not depend on where.
    const std::size_t separator = path.rfind('\\');
    return separator != std::string_view::npos &&
           contains(copies, path.substr(0, separator), path.substr(separator + 1));
}

void CopyTargetIndex::clear() {
    slots_.clear();
    count_ = 0;
}

std::size_t CopyTargetIndex::slotOf(const BlockList<CopyAction>& copies, std::string_view folder,
                                    std::string_view name) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = pathHash(folder, name) & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t entry = slots_[slot];
        if (entry == 0 || sameTarget(copies[entry - 1], folder, name))
            return slot;
    }
}

void CopyTargetIndex::grow(const BlockList<CopyAction>& copies) {
    std::vector<std::uint32_t> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, 0);
    for (const std::uint32_t entry : old) {
        if (entry == 0)
            continue;
        const CopyAction& copy = copies[entry - 1];
        slots_[slotOf(copies, copy.targetFolder, copy.name)] = entry;
    }
}

} // namespace brisko::engine

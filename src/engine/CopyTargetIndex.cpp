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
    return count_ != 0 && slots_[slotOf(copies, folder, name, hashOf(folder, name))].copy != 0;
}

void CopyTargetIndex::add(const BlockList<CopyAction>& copies, std::size_t index) {
    if ((count_ + 1) * 2 > slots_.size())
        grow();
    const CopyAction& copy = copies[index];
    const std::uint32_t hash = hashOf(copy.targetFolder, copy.name);
    slots_[slotOf(copies, copy.targetFolder, copy.name, hash)] = {
        static_cast<std::uint32_t>(index + 1), hash};
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

std::uint32_t CopyTargetIndex::hashOf(std::string_view folder, std::string_view name) {
    return static_cast<std::uint32_t>(pathHash(folder, name));
}

std::size_t CopyTargetIndex::slotOf(const BlockList<CopyAction>& copies, std::string_view folder,
                                    std::string_view name, std::uint32_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot& entry = slots_[slot];
        if (entry.copy == 0 ||
            (entry.hash == hash && sameTarget(copies[entry.copy - 1], folder, name)))
            return slot;
    }
}

void CopyTargetIndex::grow() {
    // Moved by their kept hashes: growing never reads the copies, whose paths lie all over.
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& entry : old) {
        if (entry.copy == 0)
            continue;
        std::size_t slot = entry.hash & mask;
        while (slots_[slot].copy != 0)
            slot = (slot + 1) & mask;
        slots_[slot] = entry;
    }
}

} // namespace brisko::engine

#pragma once

#include "engine/BlockList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brisko::engine {

struct CopyAction;

// The target paths of a plan's copies, by exact spelling, kept as the copies' places in their
// list and a hash (eight bytes a slot) rather than as a second copy of every path: a path is
// compared with a copy's folder and name only when their hashes agree.
class CopyTargetIndex {
public:
    // Whether a copy targets the path, whole or as folder + "\" + name.
    bool contains(const BlockList<CopyAction>& copies, std::string_view path) const;
    bool contains(const BlockList<CopyAction>& copies, std::string_view folder,
                  std::string_view name) const;
    // Indexes the copy at index of copies, whose target no indexed copy has.
    void add(const BlockList<CopyAction>& copies, std::size_t index);
    bool empty() const { return count_ == 0; }
    void clear();

private:
    struct Slot {
        std::uint32_t copy = 0; // the copy's place + 1; 0 for an empty slot
        std::uint32_t hash = 0; // of its target path
    };
    static std::uint32_t hashOf(std::string_view folder, std::string_view name);
    // The slot of path: where it is indexed, or the empty slot where it would go.
    std::size_t slotOf(const BlockList<CopyAction>& copies, std::string_view folder,
                       std::string_view name, std::uint32_t hash) const;
    void grow();

    std::vector<Slot> slots_;
    std::size_t count_ = 0;
};

} // namespace brisko::engine

#pragma once

#include "engine/BlockList.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace brisko::engine {

struct CopyAction;

// The target paths of a plan's copies, by exact spelling, kept as the copies' places in their
// list (four bytes a slot) rather than as a second copy of every path: the paths are joined
// from the copies' folders and names only when compared.
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
    // The slot of path: where it is indexed, or the empty slot where it would go.
    std::size_t slotOf(const BlockList<CopyAction>& copies, std::string_view folder,
                       std::string_view name) const;
    void grow(const BlockList<CopyAction>& copies);

    std::vector<std::uint32_t> slots_; // a copy's place + 1; 0 for an empty slot
    std::size_t count_ = 0;
};

} // namespace brisko::engine

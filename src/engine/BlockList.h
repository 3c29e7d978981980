#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <iterator>
#include <utility>
#include <vector>

namespace brisko::engine {

// A list that grows in fixed blocks: an entry never moves once added, and growing never holds
// the old and the new storage at once, as a vector's doubling does (on a plan of a million
// copies that doubling alone would cost more than the copies).
template <typename T> class BlockList {
    static constexpr std::size_t kPerBlock = std::max<std::size_t>(1, (64 * 1024) / sizeof(T));

public:
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = T;
        using difference_type = std::ptrdiff_t;
        using pointer = const T*;
        using reference = const T&;

        const_iterator() = default;
        const_iterator(const BlockList* list, std::size_t index) : list_(list), index_(index) {}
        const T& operator*() const { return (*list_)[index_]; }
        const T* operator->() const { return &(*list_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const BlockList* list_ = nullptr;
        std::size_t index_ = 0;
    };

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const T& operator[](std::size_t index) const {
        return blocks_[index / kPerBlock][index % kPerBlock];
    }
    T& operator[](std::size_t index) { return blocks_[index / kPerBlock][index % kPerBlock]; }
    const T& front() const { return (*this)[0]; }
    const T& back() const { return (*this)[size_ - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size_}; }

    void push_back(T entry) {
        if (size_ % kPerBlock == 0) {
            blocks_.emplace_back().reserve(kPerBlock);
            const T* start = blocks_.back().data();
            byAddress_.insert(firstBlockAfter(start), {start, blocks_.size() - 1});
        }
        blocks_.back().push_back(std::move(entry));
        ++size_;
    }

    // The place in the list of entry, which must be one of its entries.
    std::size_t indexOf(const T& entry) const {
        const BlockStart& block = *std::prev(firstBlockAfter(&entry));
        return block.second * kPerBlock + static_cast<std::size_t>(&entry - block.first);
    }

    void clear() {
        blocks_.clear();
        byAddress_.clear();
        size_ = 0;
    }

private:
    // Where a block's storage begins, and the block's number.
    using BlockStart = std::pair<const T*, std::size_t>;

    typename std::vector<BlockStart>::const_iterator firstBlockAfter(const T* address) const {
        return std::upper_bound(byAddress_.begin(), byAddress_.end(), address,
                                [](const T* wanted, const BlockStart& block) {
                                    return std::less<>()(wanted, block.first);
                                });
    }

    std::vector<std::vector<T>> blocks_;
    std::vector<BlockStart> byAddress_; // ordered by address
    std::size_t size_ = 0;
};

} // namespace brisko::engine

#pragma once

#include "SyncModel.h"

#include <cstdint>
#include <random>
#include <string>

namespace brisko::test::model {

// 1 January 2024 at midnight: the stamps of the random trees lie in the half minute after it,
// so that many fall equal (to two seconds) and none is ahead of a run's clock.
inline constexpr std::time_t kFirstStamp = 1704067200;

// Random trees, changes between runs and sessions, all from one seed. Names are drawn from a
// small pool, so that both sides often hold the same names, names differing only in case,
// names with several dots, a file where the other side has a folder, links and empty files.
class TreeMaker {
public:
    explicit TreeMaker(std::uint32_t seed) : random_(seed) {}

    // Two trees grown from one, each then changed on its own.
    Trees initialTrees();
    // A few changes on each side, and now and then a file of equal stamp and other size.
    void changeBetweenRuns(Trees& trees);
    Session session();

private:
    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    template <typename Pool> auto pick(const Pool& pool) {
        return pool[static_cast<std::size_t>(below(static_cast<int>(std::size(pool))))];
    }
    std::time_t stamp() { return kFirstStamp + below(32); }

    void add(Tree& tree);
    void change(Tree& tree);
    void sameStampOtherSize(Trees& trees);

    std::mt19937 random_;
};

// A tree in one line per side: "path=content@stamp", "folder/", "link->target@stamp", with
// stamps counted in seconds from kFirstStamp.
std::string describe(const Tree& tree);

} // namespace brisko::test::model

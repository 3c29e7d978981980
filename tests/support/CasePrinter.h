#pragma once

#include <ostream>

// Gives the case type of a table-driven test a printer, so that GoogleTest names a failing
// case by what tells it apart rather than by its bytes. The expression is streamed with the
// case at hand named `c`:
//   PRINT_CASE_AS(JoinCase, "root " << c.root << " path " << c.path);
#define PRINT_CASE_AS(CaseType, ...)                                                               \
    [[maybe_unused]] inline void PrintTo(const CaseType& c, std::ostream* os) {                    \
        *os << __VA_ARGS__;                                                                        \
    }                                                                                              \
    static_assert(true, "a use of PRINT_CASE_AS ends with a semicolon")

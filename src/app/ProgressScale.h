#pragma once

#include <cstdint>

namespace brisko::app {

// Progress bars run from 0 to this; 64-bit totals are scaled onto it.
inline constexpr int kProgressRange = 10'000;

// The bar position of done out of total: 0 for an empty or negative total, full once done
// reaches the total, exact for totals of any size.
int progressPosition(std::int64_t done, std::int64_t total);

} // namespace brisko::app

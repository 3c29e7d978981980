#include "app/ProgressScale.h"

namespace brisko::app {

int progressPosition(std::int64_t done, std::int64_t total) {
    if (total <= 0 || done <= 0)
        return 0;
    if (done >= total)
        return kProgressRange;
    // done < total, so the division never overflows: split total into range-sized steps when
    // done * range would not fit in 64 bits.
    constexpr std::int64_t range = kProgressRange;
    if (done <= INT64_MAX / range)
        return static_cast<int>(done * range / total);
    return static_cast<int>(done / (total / range + 1));
}

} // namespace brisko::app

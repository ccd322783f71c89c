// The median the benchmarks quote: of an odd count the middle value, of an even count the
// mean of the two middle ones; NaN for none.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) return NAN;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace bench

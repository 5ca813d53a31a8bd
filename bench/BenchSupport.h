#pragma once
// Statistics shared by the benchmark programs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <functional>
#include <vector>

namespace bench {

// The nearest-rank percentile (p in 0..1) of a non-empty set of values.
inline double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t index = static_cast<std::size_t>(std::ceil(p * values.size())) - 1;
    return values[std::min(index, values.size() - 1)];
}

// The middle value (the upper one of an even count) of a non-empty set.
inline double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// The median time of `runs` runs of `work`, after one run that warms caches.
inline double medianMilliseconds(int runs, const std::function<void()>& work)
{
    work();
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    return median(times);
}

} // namespace bench

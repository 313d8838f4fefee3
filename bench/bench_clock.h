#pragma once
// The benchmarks' clock and their percentile of a series of figures.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

inline LONGLONG Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t.QuadPart;
}

inline double Seconds(LONGLONG ticks) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(ticks) / static_cast<double>(frequency);
}

inline double Milliseconds(LONGLONG ticks) { return 1e3 * Seconds(ticks); }
inline double Microseconds(LONGLONG ticks) { return 1e6 * Seconds(ticks); }

// The value at `share` (0.5 the median) of the sorted values; 0 for none.
inline double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
  return values[std::min(values.size() - 1, index)];
}

}  // namespace bench

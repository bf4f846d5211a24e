// Wall-clock timing shared by the benchmarks: a monotonic clock in seconds
// and the median, min and max of a set of runs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace bench {

inline double Now() {
  static const LARGE_INTEGER freq = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Stats {
  double median = 0, min = 0, max = 0;
};

// Of at least one run.
inline Stats Summarize(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return {n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2, v.front(), v.back()};
}

// Median over `runs` timings of `reps` calls of `fn`, in microseconds per
// call, after one call that warms caches and pools up.
inline double MedianMicrosPerCall(const std::function<void()>& fn, int reps, int runs = 9) {
  fn();
  std::vector<double> t;
  for (int r = 0; r < runs; ++r) {
    const double start = Now();
    for (int i = 0; i < reps; ++i) fn();
    t.push_back((Now() - start) * 1e6 / reps);
  }
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace bench

// The figures the benchmarks report of their runs.
#pragma once

#include <algorithm>
#include <vector>

namespace orv::bench {

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double Fastest(const std::vector<double>& values) {
  return *std::min_element(values.begin(), values.end());
}

// The median of the ratios of runs made side by side: a machine that slows down or speeds up
// during the benchmark moves both runs of a pair alike, and the medians of each apart.
inline double MedianOfPairs(const std::vector<double>& runs, const std::vector<double>& yardstick) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < runs.size() && i < yardstick.size(); ++i)
    ratios.push_back(runs[i] / yardstick[i]);
  return Median(ratios);
}

}  // namespace orv::bench

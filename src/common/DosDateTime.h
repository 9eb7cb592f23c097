// DOS date-time values, the form in which the program compares file ages: (date << 16) | time,
// fields most significant first, so unsigned comparison is chronological.
#pragma once

#include <cstdint>
#include <optional>

namespace orv {

struct CivilTime {
  int year = 1980;
  int month = 1;  // 1 = January
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Nullopt outside 1980-01-01 to 2107-12-31, which the format cannot hold. Seconds are truncated
// to an even value.
std::optional<std::uint32_t> PackDosDateTime(const CivilTime& time);

}  // namespace orv

#include "common/DosDateTime.h"

namespace orv {

std::optional<std::uint32_t> PackDosDateTime(const CivilTime& t) {
  if (t.year < 1980 || t.year > 2107) return std::nullopt;
  const auto date = static_cast<std::uint32_t>(((t.year - 1980) << 9) | (t.month << 5) | t.day);
  const auto time = static_cast<std::uint32_t>((t.hour << 11) | (t.minute << 5) | (t.second / 2));
  return (date << 16) | time;
}

}  // namespace orv

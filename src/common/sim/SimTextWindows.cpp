// The simulation's text mappings on Windows: Windows' own, as the real platform's.
#include "common/sim/SimPlatform.h"
#include "common/win32/SystemText.h"

namespace orv {

class SimPlatform::Locale {};

std::shared_ptr<SimPlatform::Locale> SimPlatform::MakeLocale() {
  return std::make_shared<Locale>();
}

std::string SimPlatform::upperCase(std::string_view text) const {
  return win32::UpperCase(text);
}

std::optional<std::string> SimPlatform::toShiftJis(std::string_view text) const {
  return win32::ToShiftJis(text);
}

std::string SimPlatform::fromShiftJis(std::string_view bytes) const {
  return win32::FromShiftJis(bytes);
}

}  // namespace orv

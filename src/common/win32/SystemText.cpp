#include "common/win32/SystemText.h"

#include <windows.h>

#include "common/win32/WideText.h"

namespace orv::win32 {

namespace {

constexpr UINT kShiftJisCodePage = 932;

}  // namespace

std::string UpperCase(std::string_view text) {
  const std::wstring wide = Wide(text);
  if (wide.empty()) return {};
  const int size = ::LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, wide.data(),
                                  static_cast<int>(wide.size()), nullptr, 0);
  if (size <= 0) return std::string(text);
  std::wstring upper(static_cast<std::size_t>(size), L'\0');
  if (::LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, wide.data(),
                     static_cast<int>(wide.size()), upper.data(), size) == 0) {
    return std::string(text);
  }
  return Narrow(upper);
}

std::optional<std::string> ToShiftJis(std::string_view text) {
  const std::wstring wide = Wide(text);
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  const int size =
      ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                        static_cast<int>(wide.size()), bytes.data(), size, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return bytes;
}

std::string FromShiftJis(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = ::MultiByteToWideChar(kShiftJisCodePage, 0, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(kShiftJisCodePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                        wide.data(), size);
  return Narrow(wide);
}

}  // namespace orv::win32

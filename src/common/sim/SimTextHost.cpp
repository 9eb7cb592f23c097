// The simulation's text mappings on a Linux host: the C.UTF-8 locale's upper case and iconv's
// code page 932, held to what Windows does.
#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <cerrno>

#include "common/Utf.h"
#include "common/sim/SimPlatform.h"

namespace orv {

namespace {

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // Converts as much as possible; returns false at the first byte that cannot be converted,
  // leaving in pointing at it.
  bool convert(const char*& in, std::size_t& inLeft, std::string& out) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // a fresh start for each text
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result =
          iconv(handle_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t handle_;
};

}  // namespace

// The C.UTF-8 locale, whose towupper is the Unicode simple upper-case mapping.
class SimPlatform::Locale {
 public:
  Locale() : handle_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {}
  ~Locale() {
    if (handle_ != nullptr) freelocale(handle_);
  }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;

  char32_t upper(char32_t c) const {
    return handle_ == nullptr ? c
                              : static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), handle_));
  }
  // Converters kept open: opening one costs more than most conversions.
  Iconv& toShiftJis() { return toShiftJis_; }
  Iconv& fromShiftJis() { return fromShiftJis_; }

 private:
  locale_t handle_;
  Iconv toShiftJis_{"CP932", "UTF-8"};
  Iconv fromShiftJis_{"UTF-8", "CP932"};
};

namespace {

constexpr char32_t kShiftJisDefaultCharacter = 0x30FB;  // "・"

}  // namespace

std::shared_ptr<SimPlatform::Locale> SimPlatform::MakeLocale() {
  return std::make_shared<Locale>();
}

std::string SimPlatform::upperCase(std::string_view text) const {
  std::string upper;
  upper.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();)
    AppendUtf8(upper, locale_->upper(NextCodePoint(text, pos)));
  return upper;
}

std::optional<std::string> SimPlatform::toShiftJis(std::string_view text) const {
  Iconv& converter = locale_->toShiftJis();
  const char* in = text.data();
  std::size_t left = text.size();
  std::string out;
  if (!converter.convert(in, left, out)) return std::nullopt;
  // iconv maps look-alikes that Windows refuses (¥ to the byte of "\", which reads back as "\");
  // only a character that comes back as itself has a Shift-JIS form.
  if (fromShiftJis(out) != text) return std::nullopt;
  return out;
}

std::string SimPlatform::fromShiftJis(std::string_view bytes) const {
  Iconv& converter = locale_->fromShiftJis();
  const char* in = bytes.data();
  std::size_t left = bytes.size();
  std::string out;
  while (!converter.convert(in, left, out)) {
    AppendUtf8(out, kShiftJisDefaultCharacter);
    ++in;
    --left;
  }
  return out;
}

}  // namespace orv

#include "common/ErrorBox.h"

#include <array>

#include "common/Platform.h"

namespace orv {

namespace {

bool EndsInPunctuation(std::string_view text) {
  static constexpr std::array<std::string_view, 12> kPunctuation = {
      ".", "!", "?", ",", ";", ":", "。", "．", "、", "，", "！", "？"};
  for (const std::string_view mark : kPunctuation) {
    if (text.ends_with(mark)) return true;
  }
  return false;
}

}  // namespace

std::string SystemErrorText(const Platform& platform, std::uint32_t code,
                            const ErrorCodeFormat& fallback) {
  std::string text = platform.systemMessage(code);
  if (!text.empty()) return text;
  text = fallback.prefix;
  if (fallback.base == ErrorCodeFormat::Base::kDecimal) {
    text += std::to_string(code);
  } else {
    for (int shift = 28; shift >= 0; shift -= 4)
      text += "0123456789ABCDEF"[(code >> shift) & 0xF];
  }
  text += fallback.suffix;
  return text;
}

std::string ErrorBoxText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && !EndsInPunctuation(text)) text += ".";
  return text;
}

void ShowErrorBox(Platform& platform, std::string_view caption, std::string_view message) {
  platform.messageBox(ErrorBoxText(message), caption, kMbOk | kMbIconStop);
}

}  // namespace orv

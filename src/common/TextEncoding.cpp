#include "common/TextEncoding.h"

#include "common/Platform.h"
#include "common/Utf.h"

namespace orv {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

}  // namespace

FileEncoding DetectEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) return FileEncoding::kUtf8Bom;
  if (bytes.starts_with(kUtf16LeBom)) return FileEncoding::kUtf16LeBom;
  return FileEncoding::kShiftJis;
}

std::string_view ByteOrderMark(FileEncoding encoding) {
  switch (encoding) {
    case FileEncoding::kUtf8Bom:
      return kUtf8Bom;
    case FileEncoding::kUtf16LeBom:
      return kUtf16LeBom;
    case FileEncoding::kShiftJis:
      break;
  }
  return {};
}

std::string DecodeText(const Platform& platform, FileEncoding encoding, std::string_view bytes) {
  switch (encoding) {
    case FileEncoding::kUtf8Bom: {
      // Re-encoding replaces malformed sequences, so later code only sees valid UTF-8.
      std::string text;
      text.reserve(bytes.size());
      for (std::size_t pos = 0; pos < bytes.size();)
        AppendUtf8(text, NextCodePoint(bytes, pos));
      return text;
    }
    case FileEncoding::kUtf16LeBom:
      return Utf16LeToUtf8(bytes);
    case FileEncoding::kShiftJis:
      break;
  }
  return IsAscii(bytes) ? std::string(bytes) : platform.fromShiftJis(bytes);
}

std::optional<std::string> EncodeText(const Platform& platform, FileEncoding encoding,
                                      std::string_view text) {
  switch (encoding) {
    case FileEncoding::kUtf8Bom:
      return std::string(text);
    case FileEncoding::kUtf16LeBom:
      return Utf8ToUtf16Le(text);
    case FileEncoding::kShiftJis:
      break;
  }
  if (IsAscii(text)) return std::string(text);
  return platform.toShiftJis(text);
}

std::string EncodeTextFile(const Platform& platform, std::string_view text) {
  if (auto shiftJis = EncodeText(platform, FileEncoding::kShiftJis, text)) return *shiftJis;
  return std::string(kUtf8Bom) + std::string(text);
}

}  // namespace orv

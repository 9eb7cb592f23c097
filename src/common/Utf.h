// Unicode transformation formats: UTF-8 (the program's own text) and UTF-16LE (Windows' wide
// calls and UTF-16 files). Malformed input never fails: it becomes U+FFFD.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orv {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point starting at text[pos] and advances pos past it. A malformed sequence
// gives U+FFFD and advances by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& pos);

void AppendUtf8(std::string& out, char32_t codePoint);

// The first count characters of text (all of it when shorter); a character is never split.
std::string_view FirstCharacters(std::string_view text, std::size_t count);

// True when every byte is below 0x80.
bool IsAscii(std::string_view text);

// The text with its ASCII letters in upper case; other bytes stay.
std::string AsciiUpper(std::string_view text);
// Whether two texts are the same but for the letter case of ASCII letters.
bool AsciiEqualNoCase(std::string_view a, std::string_view b);

// UTF-16LE bytes (no byte-order mark) to UTF-8; a lone odd last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);
std::string Utf8ToUtf16Le(std::string_view text);

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Bytes the character takes in Shift-JIS (code page 932): one for ASCII and half-width katakana,
// two for everything else, including characters that Shift-JIS lacks.
std::size_t ShiftJisByteCount(char32_t codePoint);

// The longest head of text that fits in maxBytes Shift-JIS bytes, never splitting a character.
std::string_view TruncateToShiftJisBytes(std::string_view text, std::size_t maxBytes);

}  // namespace orv

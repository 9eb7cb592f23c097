// The encodings of the program's text files. Files are Shift-JIS (code page 932) unless they
// start with a UTF-8 or UTF-16LE byte-order mark.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orv {

class Platform;

enum class FileEncoding { kShiftJis, kUtf8Bom, kUtf16LeBom };

// The encoding of a file's bytes, from its byte-order mark.
FileEncoding DetectEncoding(std::string_view bytes);

// The byte-order mark that opens a file of this encoding (empty for Shift-JIS).
std::string_view ByteOrderMark(FileEncoding encoding);

// Bytes (without the byte-order mark) to UTF-8.
std::string DecodeText(const Platform& platform, FileEncoding encoding, std::string_view bytes);

// UTF-8 to bytes (without the byte-order mark); nullopt when Shift-JIS cannot hold a character.
std::optional<std::string> EncodeText(const Platform& platform, FileEncoding encoding,
                                      std::string_view text);

// A whole text file as Shift-JIS when every character has a Shift-JIS form, otherwise as UTF-8
// with a byte-order mark, so no character is ever lost.
std::string EncodeTextFile(const Platform& platform, std::string_view text);

}  // namespace orv

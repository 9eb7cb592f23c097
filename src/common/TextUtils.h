// Path joining and text helpers used throughout the program. A folder is joined to what follows
// with exactly one separator: AddSeparator at the bottom of the folder, StripSeparator at the top
// of the rest. Texts are UTF-8, where the byte of "\" never occurs inside another character, so
// the separator tests look at whole characters: a path ending in "ソ" does not end in "\".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class Platform;

// Mapping flag of MapString: upper case, as the system locale maps it.
inline constexpr std::uint32_t kMapUpperCase = 0x200;

// side: only its first character counts; "T" works on the top (start) of the text, "B" on the
// bottom (end). Any other selector (lower case included) returns the text unchanged.
std::string AddSeparator(std::string_view text, std::string_view side);
// Removes at most one separator from the selected end.
std::string StripSeparator(std::string_view text, std::string_view side);

// The text after the last "\" or ":" of a path.
std::string FileNamePart(std::string_view path);

// The folder part of a path: the text up to and including its last "\" or ":".
std::string FolderPart(std::string_view path);

// The path with "." and ".." resolved and doubled separators made single, so rules that look at
// a path see the file it names: C:\App\..\WINDOWS\X.DLL is C:\WINDOWS\X.DLL. The start ("C:",
// "\\server\share", "\") is kept, ".." never climbs above it, and a final "\" stays.
std::string NormalisePath(std::string_view path);

// The folder of a path: the text before its last "\" or ":", except that a drive root keeps its
// separator: C:\WINDOWS gives C:\, D:\OS\WINDOWS gives D:\OS.
std::string ParentFolder(std::string_view path);

// The names of a "\"-separated path (a key or a folder); empty names are dropped.
std::vector<std::string> KeyNames(std::string_view path);

// The lines of a text broken at CR LF, LF or CR; a final line break ends the last line.
std::vector<std::string> SplitLines(std::string_view text);

// The leading token of a script value, length characters long: a value has one when it starts
// with "(" or its length-th character is ")", and the token is then its first length characters,
// whatever they are. Nullopt when the value has none.
std::optional<std::string_view> LeadingToken(std::string_view text, std::size_t length);

// The text mapped as flags say; every caller passes kMapUpperCase to compare paths without
// regard to case. Other flags leave the text unchanged.
std::string MapString(const Platform& platform, std::string_view text, std::uint32_t flags);

// Replaces each occurrence of token, left to right, by replacement joined with exactly one
// separator to the rest: head + AddSeparator(replacement, "B") + StripSeparator(tail, "T").
// Occurrences are those of the text passed in; a token inside a replacement is left as it is.
std::string ReplaceToken(std::string_view text, std::string_view token,
                         std::string_view replacement);

}  // namespace orv

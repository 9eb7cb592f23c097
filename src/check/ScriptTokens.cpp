#include "check/ScriptTokens.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/Utf.h"
#include "setup/CopyPhase.h"
#include "setup/RegistryWrite.h"
#include "setup/RunState.h"

namespace orv {

namespace {

constexpr std::array<std::string_view, 7> kFolderMacros = {"(App)", "(Prg)", "(Win)", "(Sys)",
                                                           "(Tmp)", "(Boo)", "(Set)"};
constexpr std::array<std::string_view, 4> kProposedFolderMacros = {"(Prg)", "(Win)", "(Sys)",
                                                                   "(Boo)"};
constexpr std::array<std::string_view, 5> kTypeTokens = {"(Str)", "(Int)", "(Dwd)", "(Bin)",
                                                         "(Exp)"};

template <std::size_t N>
bool OneOf(std::string_view text, const std::array<std::string_view, N>& list) {
  return std::ranges::find(list, text) != list.end();
}

bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Every "(" followed by three or five ASCII letters and ")" in a value: the shape of the
// program's tokens.
std::vector<std::pair<std::size_t, std::string_view>> TokensIn(std::string_view value) {
  std::vector<std::pair<std::size_t, std::string_view>> tokens;
  for (std::size_t open = value.find('('); open != std::string_view::npos;
       open = value.find('(', open + 1)) {
    std::size_t letters = 0;
    while (open + 1 + letters < value.size() && IsLetter(value[open + 1 + letters]))
      ++letters;
    if ((letters == 3 || letters == 5) && open + 1 + letters < value.size() &&
        value[open + 1 + letters] == ')') {
      tokens.emplace_back(open, value.substr(open, letters + 2));
    }
  }
  return tokens;
}

// The families of tokens that mean something at the start of a value.
enum class Family { kNone, kDiskChange, kShortcutFolder, kRoot, kType, kProposedFolder };

// Where tokens mean something in a value.
struct TokenPlaces {
  bool FolderMacros = false;             // anywhere (before the first comma, when UpToComma)
  bool UpToComma = false;                // tokens after the first comma are not looked at
  Family LeadingFamily = Family::kNone;  // the tokens that mean something at the start
  bool MacrosAfterComma = false;         // the folder macros count only after the first comma
  // The phase takes the value's leading token, whatever it is, and drops it; the shortcut and
  // registry checks tell of one that is no token of the family, with where the entry goes.
  bool LeadingDropped = false;
};

std::optional<TokenPlaces> PlacesOf(std::string_view section, std::string_view stem) {
  const auto is = [&](std::string_view s, std::string_view k) {
    return AsciiEqualNoCase(section, s) && AsciiEqualNoCase(stem, k);
  };
  if (is("MakeFolder", "Folder") || is("ShortCut", "Make") || is("Relate", "File") ||
      is("ExecuteFile", "File")) {
    return TokenPlaces{true, false, Family::kNone, false};
  }
  if (is("CopyFile", "File")) return TokenPlaces{true, true, Family::kDiskChange, false};
  if (is("ShortCut", "Name")) return TokenPlaces{false, false, Family::kShortcutFolder, true, true};
  if (is("Registry", "Key")) return TokenPlaces{false, false, Family::kRoot, false, true};
  if (is("DeleteRegistry", "Key")) return TokenPlaces{false, false, Family::kRoot, false};
  if (is("Registry", "Value")) return TokenPlaces{true, false, Family::kType, false};
  if (is("DefaultFolder", "Folder"))
    return TokenPlaces{false, false, Family::kProposedFolder, false};
  return std::nullopt;
}

bool InFamily(Family family, std::string_view token) {
  if (family == Family::kDiskChange) return token == kDiskChangePrefix;
  if (family == Family::kShortcutFolder) return OneOf(token, kShortcutFolderTokens);
  if (family == Family::kRoot) return IsRootToken(token);
  if (family == Family::kType) return OneOf(token, kTypeTokens);
  if (family == Family::kProposedFolder) return OneOf(token, kProposedFolderMacros);
  return false;
}

}  // namespace

std::string Quoted(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool IsRootToken(std::string_view token) {
  return RootOfToken(token).has_value();
}

std::optional<std::string_view> KnownTokenLike(std::string_view text) {
  for (std::string_view token : kShortcutFolderTokens)
    if (AsciiEqualNoCase(token, text)) return token;
  for (std::string_view token : kFolderMacros)
    if (AsciiEqualNoCase(token, text)) return token;
  for (const auto& [token, root] : kRootTokens)
    if (AsciiEqualNoCase(token, text)) return token;
  for (std::string_view token : kTypeTokens)
    if (AsciiEqualNoCase(token, text)) return token;
  if (AsciiEqualNoCase(kDiskChangePrefix, text)) return kDiskChangePrefix;
  return std::nullopt;
}

bool LooksLikeToken(std::string_view text) {
  const auto tokens = TokensIn(text);
  return tokens.size() == 1 && tokens.front().second.size() == text.size();
}

std::vector<Finding> StrayTokens(std::size_t line, std::string_view section, std::string_view stem,
                                 std::string_view value) {
  std::vector<Finding> findings;
  const auto Add = [&](std::size_t at, Severity level, std::string text) {
    findings.push_back({at, level, std::move(text)});
  };
  const auto places = PlacesOf(section, stem);
  if (!places) return findings;
  const std::size_t comma = value.find(',');
  for (const auto& [at, token] : TokensIn(value)) {
    if (places->UpToComma && comma != std::string::npos && at > comma) break;
    const bool leading = at == 0 && InFamily(places->LeadingFamily, token);
    const bool macroHere = OneOf(token, kFolderMacros) &&
                           (places->FolderMacros ||
                            (places->MacrosAfterComma && comma != std::string::npos && at > comma));
    // A leading root token that is none is told of by the removal checks, with what comes of it.
    if (leading || (at == 0 && places->LeadingDropped) ||
        (at == 0 && places->LeadingFamily == Family::kRoot && !KnownTokenLike(token))) {
      continue;
    }
    if (macroHere) {
      if (token == "(Tmp)" && AsciiEqualNoCase(section, "Registry")) {
        Add(line, Severity::kWarning,
            "'(Tmp)' is not replaced in registry values: it is written as text");
      }
      continue;
    }
    const auto like = KnownTokenLike(token);
    if (!like) {
      Add(line, Severity::kWarning,
          "unknown token " + Quoted(token) + ": the program leaves it as text");
    } else if (*like != token) {
      Add(line, Severity::kError,
          Quoted(token) + " is not " + Quoted(*like) +
              ": tokens are case-sensitive, so it stays as text");
    } else if (places->LeadingFamily == Family::kShortcutFolder &&
               InFamily(Family::kShortcutFolder, token)) {
      Add(line, Severity::kWarning,
          Quoted(token) +
              " is not at the start of the name: it does not choose the folder, but "
              "its option box decides whether the shortcut is made");
    } else {
      Add(line, Severity::kWarning,
          Quoted(token) + " means nothing here" +
              (InFamily(places->LeadingFamily, token) ? " but at the start of the value" : "") +
              ": it stays as text");
    }
  }
  return findings;
}

}  // namespace orv

// The program's tokens in script values, and the ones that mean nothing where they stand. A
// token the program does not take stays in the value as text, without a message: a path then
// names some other folder, a registry value holds the token.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/ScriptCheck.h"

namespace orv {

// text in single quotes, as findings cite the script.
std::string Quoted(std::string_view text);

// "(Cuser)", "(Class)", "(Local)" or "(Users)".
bool IsRootToken(std::string_view token);

// The program's token that text spells, in this letter case or another; nullopt for none.
std::optional<std::string_view> KnownTokenLike(std::string_view text);

// Whether text has the shape of the program's tokens: "(", three or five ASCII letters, ")".
bool LooksLikeToken(std::string_view text);

// The findings for the tokens of the value of key stem in section (given at line) that the
// program does not take there: unknown ones, known ones in the wrong letter case or place.
std::vector<Finding> StrayTokens(std::size_t line, std::string_view section, std::string_view stem,
                                 std::string_view value);

}  // namespace orv

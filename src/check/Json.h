// The little JSON the checker's reports need: strings, quoted and escaped.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// text (UTF-8) as a JSON string literal, quotes included.
std::string JsonQuoted(std::string_view text);

}  // namespace orv

#include "common/RegistryNames.h"

namespace orv {

std::optional<RegistryRoot> RootOfToken(std::string_view token) {
  for (const auto& [text, root] : kRootTokens) {
    if (token == text) return root;
  }
  return std::nullopt;
}

}  // namespace orv

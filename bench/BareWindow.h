// What the start-up benchmark looks for in the bare window program.
#pragma once

namespace orv::bench {

inline constexpr wchar_t kBareWindowClass[] = L"OrvBareWindow";
inline constexpr int kBareButtonId = 1;

}  // namespace orv::bench

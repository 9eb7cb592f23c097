// The SZDD expansion on Windows: the LZ functions, as the real platform's.
#include "common/sim/SzddDecompressor.h"
#include "common/win32/SystemText.h"

namespace orv {

SzddDecompressor::SzddDecompressor() : handle_(nullptr) {}

SzddDecompressor::~SzddDecompressor() = default;

bool SzddDecompressor::expand(const std::filesystem::path& source,
                              const std::filesystem::path& target) {
  return win32::ExpandWithLz(source.wstring(), target.wstring()).succeeded();
}

}  // namespace orv

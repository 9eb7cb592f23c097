#include "common/sim/SzddDecompressor.h"

#include <mspack.h>

namespace orv {

SzddDecompressor::SzddDecompressor() : handle_(mspack_create_szdd_decompressor(nullptr)) {}

SzddDecompressor::~SzddDecompressor() {
  if (handle_ != nullptr) mspack_destroy_szdd_decompressor(handle_);
}

bool SzddDecompressor::expand(const std::filesystem::path& source,
                              const std::filesystem::path& target) {
  if (handle_ == nullptr) return false;
  return handle_->decompress(handle_, const_cast<char*>(source.c_str()),
                             const_cast<char*>(target.c_str())) == MSPACK_ERR_OK;
}

}  // namespace orv

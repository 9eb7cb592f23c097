// An SZDD decompressor (the format of Windows' LZ functions and of mscompress), owned: the
// simulation's expansion, and the copy benchmark's floor. libmspack's on a Linux host, the LZ
// functions on Windows.
#pragma once

#include <filesystem>

struct msszdd_decompressor;

namespace orv {

class SzddDecompressor {
 public:
  SzddDecompressor();
  ~SzddDecompressor();
  SzddDecompressor(const SzddDecompressor&) = delete;
  SzddDecompressor& operator=(const SzddDecompressor&) = delete;

  // Expands source, an SZDD file, into target; false when it cannot.
  bool expand(const std::filesystem::path& source, const std::filesystem::path& target);

 private:
  msszdd_decompressor* handle_;
};

}  // namespace orv

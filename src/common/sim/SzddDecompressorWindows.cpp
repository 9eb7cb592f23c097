// The SZDD expansion on Windows: Windows' own LZ functions, against which the real platform's
// expansion is tested.
#include <windows.h>

#include "common/sim/SzddDecompressor.h"
#include "common/win32/Handles.h"
#include "common/win32/SystemLibrary.h"

namespace orv {

namespace {

using win32::FileHandle;
using win32::SystemLibrary;

// The LZ functions: lz32 is no KnownDLL, so it is loaded from the system folder by its full path,
// once, and kept.
struct LzFunctions {
  SystemLibrary library{L"lz32.dll"};
  INT(WINAPI* init)(INT) = library.find<INT(WINAPI*)(INT)>("LZInit");
  LONG(WINAPI* copy)(INT, INT) = library.find<LONG(WINAPI*)(INT, INT)>("LZCopy");
  void(WINAPI* close)(INT) = library.find<void(WINAPI*)(INT)>("LZClose");
};

const LzFunctions& Lz() {
  static const LzFunctions functions;
  return functions;
}

// Expands an SZDD file with the LZ functions; the target takes the source's last-write time.
bool ExpandWithLz(const std::wstring& source, const std::wstring& target) {
  const LzFunctions& lz = Lz();
  if (lz.init == nullptr || lz.copy == nullptr || lz.close == nullptr) {
    return false;
  }
  // The LZ functions take handles of the old kind; a kernel handle converts (LZInit reads it
  // through the same calls), and longer paths than LZOpenFile's 128 characters then work.
  FileHandle input(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input.valid()) return false;
  const FileHandle output(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.valid()) return false;
  FILETIME written{};
  ::GetFileTime(input.get(), nullptr, nullptr, &written);
  const INT compressed = lz.init(static_cast<HFILE>(reinterpret_cast<INT_PTR>(input.get())));
  if (compressed < 0) return false;
  input.release();  // LZClose closes it from now on
  const LONG copied =
      lz.copy(compressed, static_cast<HFILE>(reinterpret_cast<INT_PTR>(output.get())));
  lz.close(compressed);
  if (copied < 0) return false;
  ::SetFileTime(output.get(), nullptr, nullptr, &written);
  return true;
}

}  // namespace

SzddDecompressor::SzddDecompressor() : handle_(nullptr) {}

SzddDecompressor::~SzddDecompressor() = default;

bool SzddDecompressor::expand(const std::filesystem::path& source,
                              const std::filesystem::path& target) {
  return ExpandWithLz(source.wstring(), target.wstring());
}

}  // namespace orv

#include "common/win32/SystemText.h"

#include <windows.h>

#include "common/win32/Handles.h"
#include "common/win32/SystemLibrary.h"
#include "common/win32/WideText.h"

namespace orv::win32 {

namespace {

constexpr UINT kShiftJisCodePage = 932;

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

}  // namespace

std::string UpperCase(std::string_view text) {
  const std::wstring wide = Wide(text);
  if (wide.empty()) return {};
  const int size = ::LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, wide.data(),
                                  static_cast<int>(wide.size()), nullptr, 0);
  if (size <= 0) return std::string(text);
  std::wstring upper(static_cast<std::size_t>(size), L'\0');
  if (::LCMapStringW(LOCALE_SYSTEM_DEFAULT, LCMAP_UPPERCASE, wide.data(),
                     static_cast<int>(wide.size()), upper.data(), size) == 0) {
    return std::string(text);
  }
  return Narrow(upper);
}

std::optional<std::string> ToShiftJis(std::string_view text) {
  const std::wstring wide = Wide(text);
  if (wide.empty()) return std::string();
  BOOL usedDefault = FALSE;
  const int size =
      ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                            static_cast<int>(wide.size()), nullptr, 0, nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide.data(),
                        static_cast<int>(wide.size()), bytes.data(), size, nullptr, &usedDefault);
  if (usedDefault) return std::nullopt;
  return bytes;
}

std::string FromShiftJis(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = ::MultiByteToWideChar(kShiftJisCodePage, 0, bytes.data(),
                                         static_cast<int>(bytes.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(kShiftJisCodePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                        wide.data(), size);
  return Narrow(wide);
}

Status ExpandWithLz(const std::wstring& source, const std::wstring& target) {
  const LzFunctions& lz = Lz();
  if (lz.init == nullptr || lz.copy == nullptr || lz.close == nullptr) {
    return Status(ERROR_MOD_NOT_FOUND);
  }
  // The LZ functions take handles of the old kind; a kernel handle converts (LZInit reads it
  // through the same calls), and longer paths than LZOpenFile's 128 characters then work.
  FileHandle input(::CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!input.valid()) return Status(static_cast<WinError>(::GetLastError()));
  const FileHandle output(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output.valid()) return Status(static_cast<WinError>(::GetLastError()));
  FILETIME written{};
  ::GetFileTime(input.get(), nullptr, nullptr, &written);
  const INT compressed = lz.init(static_cast<HFILE>(reinterpret_cast<INT_PTR>(input.get())));
  if (compressed < 0) return Status(kErrorInvalidParameter);
  input.release();  // LZClose closes it from now on
  const LONG copied =
      lz.copy(compressed, static_cast<HFILE>(reinterpret_cast<INT_PTR>(output.get())));
  lz.close(compressed);
  if (copied < 0) return Status(kErrorWriteFault);
  ::SetFileTime(output.get(), nullptr, nullptr, &written);
  return Status::ok();
}

}  // namespace orv::win32

// The unattended benchmark's yardstick: the work of SETUP.EXE /S on the copy benchmark's disk done
// plainly in one process. Every file of the disk but SETUP.EXE and SETUP.INI is copied into the
// target folder, a compressed one (its name ends in "_") expanded there with LZ32's LZOpenFile
// and LZCopy under the name its header gives; nothing else.
//
//   orv_plain_install.exe <disk folder> <target folder>
#include <windows.h>

#include <lzexpand.h>

#include <cstdio>
#include <string>

namespace {

bool Install(const std::wstring& source, const std::wstring& target) {
  std::wstring sourcePath = source;
  if (sourcePath.back() != L'_') return ::CopyFileW(source.c_str(), target.c_str(), FALSE) != 0;
  OFSTRUCT sourceState{};
  OFSTRUCT targetState{};
  const INT from = ::LZOpenFileW(sourcePath.data(), &sourceState, OF_READ);
  if (from < 0) return false;
  std::wstring expanded = target;
  wchar_t name[MAX_PATH];
  if (::GetExpandedNameW(sourcePath.data(), name) == 1) {
    const std::wstring full = name;
    expanded = target.substr(0, target.find_last_of(L'\\') + 1) +
               full.substr(full.find_last_of(L'\\') + 1);
  }
  const INT to = ::LZOpenFileW(expanded.data(), &targetState, OF_CREATE);
  const bool copied = to >= 0 && ::LZCopy(from, to) >= 0;
  if (to >= 0) ::LZClose(to);
  ::LZClose(from);
  return copied;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: orv_plain_install.exe <disk folder> <target folder>\n", stderr);
    return 2;
  }
  const std::wstring disk = argv[1];
  const std::wstring target = argv[2];
  if (!::CreateDirectoryW(target.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) {
    return 1;
  }
  WIN32_FIND_DATAW found;
  const HANDLE search = ::FindFirstFileW((disk + L"\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 1;
  bool installed = true;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || name == L"SETUP.EXE" ||
        name == L"SETUP.INI") {
      continue;
    }
    installed = Install(disk + L"\\" + name, target + L"\\" + name) && installed;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return installed ? 0 : 1;
}

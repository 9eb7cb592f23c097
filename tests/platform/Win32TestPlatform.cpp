#include <shlobj.h>
#include <windows.h>

#include <filesystem>

#include "common/win32/Handles.h"
#include "common/win32/WideText.h"
#include "common/win32/Win32Platform.h"
#include "platform/TestPlatform.h"

namespace orv::test {

namespace {

// Clears read-only bits left by a test so the scratch folder can be removed.
void RemoveTree(const std::filesystem::path& root) {
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, error)) {
    ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(root, error);
}

class Win32TestPlatform final : public TestPlatform {
 public:
  Win32TestPlatform() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);  // the shell's link object needs it
    static int counter = 0;
    scratch_ = platform_.tempFolder() + "orv-test-" + std::to_string(::GetCurrentProcessId()) +
               "-" + std::to_string(++counter);
    if (!platform_.createFolder(scratch_)) throw std::runtime_error("cannot create " + scratch_);
  }
  ~Win32TestPlatform() override {
    RemoveTree(win32::Wide(scratch_));
    ::CoUninitialize();
  }

  Platform& platform() override { return platform_; }
  const std::string& scratch() const override { return scratch_; }
  // Wine run as root overwrites read-only files; the simulation covers that rule.
  bool enforcesReadOnlyOverwrite() const override { return false; }
  std::optional<LinkContent> readShellLink(const std::string& path) override {
    IShellLinkW* link = nullptr;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link)))) {
      return std::nullopt;
    }
    const win32::ComPtr<IShellLinkW> ownedLink(link);
    IPersistFile* file = nullptr;
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      return std::nullopt;
    }
    const win32::ComPtr<IPersistFile> ownedFile(file);
    if (FAILED(file->Load(win32::Wide(path).c_str(), STGM_READ))) return std::nullopt;
    wchar_t target[MAX_PATH] = {};
    wchar_t working[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(working, MAX_PATH);
    return LinkContent{win32::Narrow(target), win32::Narrow(working)};
  }
  void makeHardLink(const std::string& link, const std::string& target) override {
    ASSERT_TRUE(::CreateHardLinkW(win32::Wide(link).c_str(), win32::Wide(target).c_str(), nullptr))
        << link;
  }
  std::shared_ptr<void> holdOpen(const std::string& path) override {
    auto file = std::make_shared<win32::FileHandle>(::CreateFileW(
        win32::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(file->valid()) << path;
    return file;
  }
  void setLocalWriteTime(const std::string& path, int year, int month, int day, int hour,
                         int minute, int second) override {
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    FILETIME local{};
    FILETIME utc{};
    ::SystemTimeToFileTime(&time, &local);
    ::LocalFileTimeToFileTime(&local, &utc);
    const win32::FileHandle file(::CreateFileW(win32::Wide(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file.valid() && ::SetFileTime(file.get(), nullptr, nullptr, &utc)) << path;
  }

 private:
  Win32Platform platform_;
  std::string scratch_;
};

}  // namespace

std::unique_ptr<TestPlatform> MakeTestPlatform() {
  return std::make_unique<Win32TestPlatform>();
}

}  // namespace orv::test

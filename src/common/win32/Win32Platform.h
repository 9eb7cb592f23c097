// The real platform: Win32 calls through their wide ("W") forms, with UTF-16 at the boundary.
#pragma once

#include <optional>

#include "common/Platform.h"
#include "common/win32/Handles.h"
#include "common/win32/Win32View.h"

namespace orv {

class Win32Platform final : public Platform {
 public:
  bool fileExists(std::string_view path) const override;
  Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  Status deleteFile(std::string_view path) override;
  std::optional<std::uint32_t> fileAttributes(std::string_view path) const override;
  Status setFileAttributes(std::string_view path, std::uint32_t attributes) override;
  std::optional<std::int64_t> fileAge(std::string_view path) const override;
  std::optional<std::uint64_t> fileSize(std::string_view path) const override;
  std::optional<std::string> readFile(std::string_view path, std::uint64_t maxBytes) const override;
  Status writeFile(std::string_view path, std::string_view bytes) override;
  Status appendFile(std::string_view path, std::string_view bytes) override;
  Status createNewFile(std::string_view path, std::string_view bytes) override;
  std::optional<std::uint32_t> linkCount(std::string_view path) const override;
  Status deleteExactly(std::string_view path) override;
  Status replaceFile(std::string_view from, std::string_view to) override;
  Status renameFile(std::string_view from, std::string_view to) override;
  std::optional<std::string> readFileHead(std::string_view path, std::size_t count) const override;
  Status expandFile(std::string_view source, std::string_view target) override;
  std::unique_ptr<HeldFile> holdFile(std::string_view path) const override;
  NewFile createFileWriter(std::string_view path, bool failIfExists) override;

  bool folderExists(std::string_view path) const override;
  std::optional<std::vector<std::string>> folderEntries(std::string_view path) const override;
  Status createFolder(std::string_view path) override;
  Status removeFolder(std::string_view path) override;
  Status deleteAtRestart(std::string_view path) override;
  Status setCurrentFolder(std::string_view path) override;
  std::string currentFolder() const override;
  std::optional<std::string> longPathName(std::string_view path) const override;

  std::string windowsFolder() const override;
  std::string systemFolder() const override;
  std::string tempFolder() const override;
  std::string programFilePath() const override;
  std::string commandLine() const override;
  std::unique_ptr<InstanceLock> claimNamedMutex(std::string_view name) override;
  bool windows64() const override;
  bool program64() const override { return sizeof(void*) == 8; }

  std::optional<std::string> specialFolder(int folderId) const override;
  ShellLinkObject createShellLink() override;
  std::optional<std::string> shellLinkTarget(std::string_view path) const override;
  std::string systemMessage(std::uint32_t code) const override;
  int restartDialog(const Form& owner) override;
  std::intptr_t openProgram(const Form& owner, std::string_view program,
                            std::string_view parameters) override;

  void notifyAssociationsChanged() override;

  Status createRegistryKey(RegistryHive hive, std::string_view path) override;
  Status writeRegistryValue(RegistryHive hive, std::string_view path, std::string_view name,
                            const RegistryValue& value) override;
  std::optional<RegistryValue> readRegistryValue(RegistryHive hive, std::string_view path,
                                                 std::string_view name) const override;
  bool registryKeyExists(RegistryHive hive, std::string_view path) const override;
  Status deleteRegistryKey(RegistryHive hive, std::string_view path) override;
  Status deleteRegistryValue(RegistryHive hive, std::string_view path,
                             std::string_view name) override;
  bool registryKeyEmpty(RegistryHive hive, std::string_view path) const override;

  std::string upperCase(std::string_view text) const override;
  std::optional<std::string> toShiftJis(std::string_view text) const override;
  std::string fromShiftJis(std::string_view bytes) const override;

  void sleep(std::uint32_t milliseconds) override;
  LocalTime localTime() const override;
  void beep() override;

  void setApplicationTitle(std::string_view title) override;
  void setApplicationHandlers(ApplicationHandlers handlers) override;
  std::unique_ptr<FormView> createView(Form& form) override;
  bool waitForInput() override;
  bool processMessages() override;
  void runMessageLoop() override;
  int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override;
  std::optional<std::string> browseForFolder(const Form& owner, std::string_view title,
                                             std::uint32_t flags) override;
  Size measureText(const Font& font, std::string_view text) const override;

 private:
  static LRESULT CALLBACK ApplicationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // The user's Close on the task-bar button; ignored while a box of the program is up.
  void applicationCloseRequested();
  // A quit has arrived: the program is told once.
  void quitArrived();

  // COM for the thread (the shell's links, folder browser and program start need it), from the
  // first call that needs it: a start without them loads none of it.
  void needCom() const;
  // The window system's own DLLs and the common controls, before the first window or box.
  void needWindows() const;

  // Ended last, after every window and COM object of the platform.
  mutable std::optional<win32::ComScope> com_;
  mutable bool windowsReady_ = false;
  mutable win32::FontCache fonts_;
  // The window that carries the application's title on the task bar and owns the forms.
  win32::WindowHandle application_;
  ApplicationHandlers handlers_;
  int modalBoxes_ = 0;  // message boxes and folder browsers up
  bool quitArrived_ = false;
};

}  // namespace orv

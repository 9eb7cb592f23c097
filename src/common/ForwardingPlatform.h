// A platform that hands every operation to another one: the base of platforms that change a few
// operations of the real one (who answers the questions, what is logged) and leave the rest.
#pragma once

#include <utility>

#include "common/Platform.h"

namespace orv {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& inner) : inner_(inner) {}

  Platform& inner() const { return inner_; }

  bool fileExists(std::string_view path) const override { return inner_.fileExists(path); }
  Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override {
    return inner_.copyFile(from, to, failIfExists);
  }
  Status deleteFile(std::string_view path) override { return inner_.deleteFile(path); }
  std::optional<std::uint32_t> fileAttributes(std::string_view path) const override {
    return inner_.fileAttributes(path);
  }
  Status setFileAttributes(std::string_view path, std::uint32_t attributes) override {
    return inner_.setFileAttributes(path, attributes);
  }
  std::optional<std::int64_t> fileAge(std::string_view path) const override {
    return inner_.fileAge(path);
  }
  std::optional<std::uint64_t> fileSize(std::string_view path) const override {
    return inner_.fileSize(path);
  }
  std::optional<std::string> readFile(std::string_view path,
                                      std::uint64_t maxBytes) const override {
    return inner_.readFile(path, maxBytes);
  }
  Status writeFile(std::string_view path, std::string_view bytes) override {
    return inner_.writeFile(path, bytes);
  }
  Status appendFile(std::string_view path, std::string_view bytes) override {
    return inner_.appendFile(path, bytes);
  }
  Status createNewFile(std::string_view path, std::string_view bytes) override {
    return inner_.createNewFile(path, bytes);
  }
  std::optional<std::uint32_t> linkCount(std::string_view path) const override {
    return inner_.linkCount(path);
  }
  Status deleteExactly(std::string_view path) override { return inner_.deleteExactly(path); }
  Status replaceFile(std::string_view from, std::string_view to) override {
    return inner_.replaceFile(from, to);
  }
  Status renameFile(std::string_view from, std::string_view to) override {
    return inner_.renameFile(from, to);
  }
  std::optional<std::string> readFileHead(std::string_view path, std::size_t count) const override {
    return inner_.readFileHead(path, count);
  }
  Status expandFile(std::string_view source, std::string_view target) override {
    return inner_.expandFile(source, target);
  }
  std::unique_ptr<HeldFile> holdFile(std::string_view path) const override {
    return inner_.holdFile(path);
  }
  NewFile createFileWriter(std::string_view path, bool failIfExists) override {
    return inner_.createFileWriter(path, failIfExists);
  }
  bool carriesAllDisks() const override { return inner_.carriesAllDisks(); }
  bool folderExists(std::string_view path) const override { return inner_.folderExists(path); }
  std::optional<std::vector<std::string>> folderEntries(std::string_view path) const override {
    return inner_.folderEntries(path);
  }
  Status createFolder(std::string_view path) override { return inner_.createFolder(path); }
  Status removeFolder(std::string_view path) override { return inner_.removeFolder(path); }
  Status deleteAtRestart(std::string_view path) override { return inner_.deleteAtRestart(path); }
  Status setCurrentFolder(std::string_view path) override { return inner_.setCurrentFolder(path); }
  std::string currentFolder() const override { return inner_.currentFolder(); }
  std::optional<std::string> longPathName(std::string_view path) const override {
    return inner_.longPathName(path);
  }
  std::string windowsFolder() const override { return inner_.windowsFolder(); }
  std::string systemFolder() const override { return inner_.systemFolder(); }
  std::string tempFolder() const override { return inner_.tempFolder(); }
  std::string programFilePath() const override { return inner_.programFilePath(); }
  std::string commandLine() const override { return inner_.commandLine(); }
  std::unique_ptr<InstanceLock> claimNamedMutex(std::string_view name) override {
    return inner_.claimNamedMutex(name);
  }
  bool windows64() const override { return inner_.windows64(); }
  bool program64() const override { return inner_.program64(); }
  bool enterNativeView() override { return inner_.enterNativeView(); }
  std::optional<std::string> specialFolder(int folderId) const override {
    return inner_.specialFolder(folderId);
  }
  ShellLinkObject createShellLink() override { return inner_.createShellLink(); }
  std::optional<std::string> shellLinkTarget(std::string_view path) const override {
    return inner_.shellLinkTarget(path);
  }
  int restartDialog(const Form& owner) override { return inner_.restartDialog(owner); }
  std::intptr_t openProgram(const Form& owner, std::string_view program,
                            std::string_view parameters) override {
    return inner_.openProgram(owner, program, parameters);
  }
  std::string systemMessage(std::uint32_t code) const override {
    return inner_.systemMessage(code);
  }
  void notifyAssociationsChanged() override { inner_.notifyAssociationsChanged(); }
  Status createRegistryKey(RegistryHive hive, std::string_view path) override {
    return inner_.createRegistryKey(hive, path);
  }
  Status writeRegistryValue(RegistryHive hive, std::string_view path, std::string_view name,
                            const RegistryValue& value) override {
    return inner_.writeRegistryValue(hive, path, name, value);
  }
  std::optional<RegistryValue> readRegistryValue(RegistryHive hive, std::string_view path,
                                                 std::string_view name) const override {
    return inner_.readRegistryValue(hive, path, name);
  }
  bool registryKeyExists(RegistryHive hive, std::string_view path) const override {
    return inner_.registryKeyExists(hive, path);
  }
  Status deleteRegistryKey(RegistryHive hive, std::string_view path) override {
    return inner_.deleteRegistryKey(hive, path);
  }
  Status deleteRegistryValue(RegistryHive hive, std::string_view path,
                             std::string_view name) override {
    return inner_.deleteRegistryValue(hive, path, name);
  }
  bool registryKeyEmpty(RegistryHive hive, std::string_view path) const override {
    return inner_.registryKeyEmpty(hive, path);
  }
  std::string upperCase(std::string_view text) const override { return inner_.upperCase(text); }
  std::optional<std::string> toShiftJis(std::string_view text) const override {
    return inner_.toShiftJis(text);
  }
  std::string fromShiftJis(std::string_view bytes) const override {
    return inner_.fromShiftJis(bytes);
  }
  void sleep(std::uint32_t milliseconds) override { inner_.sleep(milliseconds); }
  LocalTime localTime() const override { return inner_.localTime(); }
  void beep() override { inner_.beep(); }
  void setApplicationTitle(std::string_view title) override { inner_.setApplicationTitle(title); }
  void setApplicationHandlers(ApplicationHandlers handlers) override {
    inner_.setApplicationHandlers(std::move(handlers));
  }
  std::unique_ptr<FormView> createView(Form& form) override { return inner_.createView(form); }
  bool waitForInput() override { return inner_.waitForInput(); }
  bool processMessages() override { return inner_.processMessages(); }
  void runMessageLoop() override { inner_.runMessageLoop(); }
  int messageBox(std::string_view text, std::string_view caption, std::uint32_t flags) override {
    return inner_.messageBox(text, caption, flags);
  }
  std::optional<std::string> browseForFolder(const Form& owner, std::string_view title,
                                             std::uint32_t flags) override {
    return inner_.browseForFolder(owner, title, flags);
  }
  Size measureText(const Font& font, std::string_view text) const override {
    return inner_.measureText(font, text);
  }

 private:
  Platform& inner_;
};

}  // namespace orv

// A 64-bit application installed by the 32-bit program on 64-bit Windows: from enterNativeView()
// on, the program names files and registry keys as a 64-bit program does. <Windows>\System32 is
// the 64-bit system folder (reached through Sysnative, which Windows gives 32-bit programs), and
// registry keys are those of the 64-bit view; so the record, the Add/Remove entry and every value
// and shortcut the run writes name what 64-bit programs see. Until then, and for a 64-bit program,
// it changes nothing.
#pragma once

#include <string>

#include "common/ForwardingPlatform.h"

namespace orv {

struct Globals;

class NativeViewPlatform : public ForwardingPlatform {
 public:
  NativeViewPlatform(Platform& inner, const Globals& globals)
      : ForwardingPlatform(inner), globals_(globals) {}

  bool enterNativeView() override;
  bool program64() const override { return native_ || inner().program64(); }
  std::string systemFolder() const override;

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
  std::optional<std::string> longPathName(std::string_view path) const override;
  std::optional<std::string> shellLinkTarget(std::string_view path) const override;
  std::intptr_t openProgram(const Form& owner, std::string_view program,
                            std::string_view parameters) override;

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

 private:
  // The path as the 32-bit program reaches what a 64-bit program names so.
  std::string reached(std::string_view path) const;
  // The hive in the view a 64-bit program sees without asking for one.
  RegistryHive native(RegistryHive hive) const;

  const Globals& globals_;
  bool native_ = false;
};

}  // namespace orv

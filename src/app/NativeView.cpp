#include "app/NativeView.h"

#include "common/Globals.h"
#include "common/TextUtils.h"
#include "record/RecordTrust.h"

namespace orv {

bool NativeViewPlatform::enterNativeView() {
  if (!inner().windows64()) return false;
  native_ = !inner().program64();
  return true;
}

std::string NativeViewPlatform::systemFolder() const {
  if (!native_) return inner().systemFolder();
  const std::string windows = inner().windowsFolder();
  return windows.empty() ? windows : StripSeparator(windows, "B") + "\\System32";
}

std::string NativeViewPlatform::reached(std::string_view path) const {
  return native_ ? PathInOwnView(inner(), globals_, path, RegistryView::k64) : std::string(path);
}

RegistryHive NativeViewPlatform::native(RegistryHive hive) const {
  if (native_ && hive.view == RegistryView::kProgram) hive.view = RegistryView::k64;
  return hive;
}

bool NativeViewPlatform::fileExists(std::string_view path) const {
  return inner().fileExists(reached(path));
}

Status NativeViewPlatform::copyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return inner().copyFile(reached(from), reached(to), failIfExists);
}

Status NativeViewPlatform::deleteFile(std::string_view path) {
  return inner().deleteFile(reached(path));
}

std::optional<std::uint32_t> NativeViewPlatform::fileAttributes(std::string_view path) const {
  return inner().fileAttributes(reached(path));
}

Status NativeViewPlatform::setFileAttributes(std::string_view path, std::uint32_t attributes) {
  return inner().setFileAttributes(reached(path), attributes);
}

std::optional<std::int64_t> NativeViewPlatform::fileAge(std::string_view path) const {
  return inner().fileAge(reached(path));
}

std::optional<std::uint64_t> NativeViewPlatform::fileSize(std::string_view path) const {
  return inner().fileSize(reached(path));
}

std::optional<std::string> NativeViewPlatform::readFile(std::string_view path,
                                                        std::uint64_t maxBytes) const {
  return inner().readFile(reached(path), maxBytes);
}

Status NativeViewPlatform::writeFile(std::string_view path, std::string_view bytes) {
  return inner().writeFile(reached(path), bytes);
}

Status NativeViewPlatform::appendFile(std::string_view path, std::string_view bytes) {
  return inner().appendFile(reached(path), bytes);
}

Status NativeViewPlatform::createNewFile(std::string_view path, std::string_view bytes) {
  return inner().createNewFile(reached(path), bytes);
}

std::optional<std::uint32_t> NativeViewPlatform::linkCount(std::string_view path) const {
  return inner().linkCount(reached(path));
}

Status NativeViewPlatform::deleteExactly(std::string_view path) {
  return inner().deleteExactly(reached(path));
}

Status NativeViewPlatform::replaceFile(std::string_view from, std::string_view to) {
  return inner().replaceFile(reached(from), reached(to));
}

Status NativeViewPlatform::renameFile(std::string_view from, std::string_view to) {
  return inner().renameFile(reached(from), reached(to));
}

std::optional<std::string> NativeViewPlatform::readFileHead(std::string_view path,
                                                            std::size_t count) const {
  return inner().readFileHead(reached(path), count);
}

Status NativeViewPlatform::expandFile(std::string_view source, std::string_view target) {
  return inner().expandFile(reached(source), reached(target));
}

std::unique_ptr<HeldFile> NativeViewPlatform::holdFile(std::string_view path) const {
  return inner().holdFile(reached(path));
}

NewFile NativeViewPlatform::createFileWriter(std::string_view path, bool failIfExists) {
  return inner().createFileWriter(reached(path), failIfExists);
}

bool NativeViewPlatform::folderExists(std::string_view path) const {
  return inner().folderExists(reached(path));
}

std::optional<std::vector<std::string>> NativeViewPlatform::folderEntries(
    std::string_view path) const {
  return inner().folderEntries(reached(path));
}

Status NativeViewPlatform::createFolder(std::string_view path) {
  return inner().createFolder(reached(path));
}

Status NativeViewPlatform::removeFolder(std::string_view path) {
  return inner().removeFolder(reached(path));
}

Status NativeViewPlatform::deleteAtRestart(std::string_view path) {
  return inner().deleteAtRestart(reached(path));
}

Status NativeViewPlatform::setCurrentFolder(std::string_view path) {
  return inner().setCurrentFolder(reached(path));
}

std::optional<std::string> NativeViewPlatform::longPathName(std::string_view path) const {
  return inner().longPathName(reached(path));
}

std::optional<std::string> NativeViewPlatform::shellLinkTarget(std::string_view path) const {
  return inner().shellLinkTarget(reached(path));
}

std::intptr_t NativeViewPlatform::openProgram(const Form& owner, std::string_view program,
                                              std::string_view parameters) {
  return inner().openProgram(owner, reached(program), parameters);
}

Status NativeViewPlatform::createRegistryKey(RegistryHive hive, std::string_view path) {
  return inner().createRegistryKey(native(hive), path);
}

Status NativeViewPlatform::writeRegistryValue(RegistryHive hive, std::string_view path,
                                              std::string_view name, const RegistryValue& value) {
  return inner().writeRegistryValue(native(hive), path, name, value);
}

std::optional<RegistryValue> NativeViewPlatform::readRegistryValue(RegistryHive hive,
                                                                   std::string_view path,
                                                                   std::string_view name) const {
  return inner().readRegistryValue(native(hive), path, name);
}

bool NativeViewPlatform::registryKeyExists(RegistryHive hive, std::string_view path) const {
  return inner().registryKeyExists(native(hive), path);
}

Status NativeViewPlatform::deleteRegistryKey(RegistryHive hive, std::string_view path) {
  return inner().deleteRegistryKey(native(hive), path);
}

Status NativeViewPlatform::deleteRegistryValue(RegistryHive hive, std::string_view path,
                                               std::string_view name) {
  return inner().deleteRegistryValue(native(hive), path, name);
}

bool NativeViewPlatform::registryKeyEmpty(RegistryHive hive, std::string_view path) const {
  return inner().registryKeyEmpty(native(hive), path);
}

}  // namespace orv

// The simulated shell: special folders, and link files that hold their target and working folder
// as text (Windows' binary .lnk format is the real platform's business).
#include "common/TextUtils.h"
#include "common/sim/SimPlatform.h"

namespace orv {

namespace {

constexpr std::string_view kLinkMagic = "ORV-SIM-LINK\r\n";

class SimShellLink final : public ShellLink {
 public:
  explicit SimShellLink(SimPlatform& platform) : platform_(platform) {}

  void setTarget(std::string_view path) override { target_ = path; }
  void setWorkingFolder(std::string_view path) override { working_ = path; }
  Status save(std::string_view linkPath) override {
    return platform_.writeFile(linkPath, std::string(kLinkMagic) + target_ + "\r\n" + working_);
  }

 private:
  SimPlatform& platform_;
  std::string target_;
  std::string working_;
};

}  // namespace

void SimPlatform::setSpecialFolder(int folderId, std::optional<std::string> path) {
  if (path) {
    specialFolders_[folderId] = std::move(*path);
  } else {
    specialFolders_.erase(folderId);
  }
}

std::optional<std::string> SimPlatform::specialFolder(int folderId) const {
  if (sweepHit()) return std::nullopt;
  const auto found = specialFolders_.find(folderId);
  if (found == specialFolders_.end()) return std::nullopt;
  return found->second;
}

ShellLinkObject SimPlatform::createShellLink() {
  if (sweepHit()) return {nullptr, 0x80004005, false};  // E_FAIL
  if (shellLinkFailure_) return {nullptr, *shellLinkFailure_, false};
  if (shellLinkInterfaceMissing_) return {nullptr, 0, true};
  return {std::make_unique<SimShellLink>(*this), 0, false};
}

std::string SimPlatform::systemMessage(std::uint32_t code) const {
  const auto found = systemMessages_.find(code);
  return found == systemMessages_.end() ? std::string() : found->second;
}

std::optional<SimPlatform::LinkContent> SimPlatform::readShellLink(std::string_view path) const {
  const auto bytes = readFile(path, 1 << 16);
  if (!bytes || !bytes->starts_with(kLinkMagic)) return std::nullopt;
  const std::vector<std::string> lines =
      SplitLines(std::string_view(*bytes).substr(kLinkMagic.size()));
  return LinkContent{lines.size() > 0 ? lines[0] : "", lines.size() > 1 ? lines[1] : ""};
}

std::optional<std::string> SimPlatform::shellLinkTarget(std::string_view path) const {
  const auto link = readShellLink(path);
  if (!link || link->target.empty()) return std::nullopt;
  return link->target;
}

}  // namespace orv

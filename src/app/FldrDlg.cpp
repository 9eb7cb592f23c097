#include "app/FldrDlg.h"

#include <array>

#include "common/Form.h"
#include "common/Platform.h"

namespace orv {

namespace {

// The browser flag of each option, in the options' order.
constexpr std::array<std::uint32_t, 6> kBrowserFlags = {0x1000, 0x2000, 0x0002,
                                                        0x0008, 0x0001, 0x0004};

}  // namespace

TFolderDialog::TFolderDialog(Form& owner)
    : Options(Bit(TFolderDlgOption::bifReturnOnlyFSDirs)), owner_(owner) {}

std::uint32_t TFolderDialog::BrowserFlags() const {
  std::uint32_t flags = 0;
  for (unsigned option = 0; option < kBrowserFlags.size(); ++option) {
    if ((Options & (1u << option)) != 0) flags |= kBrowserFlags[option];
  }
  return flags;
}

bool TFolderDialog::Execute() {
  const auto chosen = owner_.platform().browseForFolder(owner_, Title, BrowserFlags());
  if (!chosen) return false;
  Folder = *chosen;
  return true;
}

}  // namespace orv

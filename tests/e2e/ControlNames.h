// The controls of the program's two windows in creation order: a control's window id is 100
// plus its place here. A host test checks these lists against the forms.
#pragma once

#include <array>
#include <string_view>

namespace orv::e2e {

inline constexpr std::array<std::string_view, 4> kBackControls = {"lblBackTitle2", "lblBackTitle1",
                                                                  "lblPrgTitle2", "lblPrgTitle1"};

inline constexpr std::array<std::string_view, 23> kMainControls = {
    "fraReadme",      "txtReadme",        "grpMessage",     "fraStatus",      "prgStatus",
    "lblStatus",      "lblMessage",       "grpSetupFolder", "txtFolder",      "btnRefer",
    "grpOption",      "chkOverWrite",     "fraShortCut",    "chkSCutDesktop", "chkSCutStartMenu",
    "chkSCutStartUp", "chkSCutSendTo",    "btnContinue",    "btnSetup",       "btnUnSetup",
    "btnEnd",         "btnCloseErrorLog", "btnAbort"};

// The place of control on form ("main" or "back"), or -1.
inline int ControlIndex(std::string_view form, std::string_view control) {
  const auto search = [control](const auto& names) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == control) return static_cast<int>(i);
    }
    return -1;
  };
  return form == "main" ? search(kMainControls) : form == "back" ? search(kBackControls) : -1;
}

}  // namespace orv::e2e

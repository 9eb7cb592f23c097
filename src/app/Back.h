// The background window: maximised, teal, carrying the run's title and the program's banner as
// shadowed labels. Its enabled state is the run-finished flag. Its first resize lays out the
// labels and shows the main window modally; everything the user does happens inside that call.
// Every later resize keeps the labels at the window's edges.
#pragma once

#include "common/Form.h"

namespace orv {

namespace back_text {
inline constexpr const char* kCaption = "Orvane! Setup 98 Version1.70β(Build:1212)";
inline constexpr const char* kBannerPlaceholder = "BackTitle";
// Two lines: the program, and a notice of its makers.
inline constexpr const char* kBanner =
    "Orvane! Setup 98 Pre-Release Version\rMade by the Orvane Setup developers";
}  // namespace back_text

class TfrmBack : public Form {
 public:
  explicit TfrmBack(Platform& platform);

  // Drawing order: each white label lies over its blue twin.
  Control lblBackTitle2;
  Control lblBackTitle1;
  Control lblPrgTitle2;
  Control lblPrgTitle1;

  // The form the first resize shows modally. Until it is set (while the windows are still
  // being made) a resize lays out nothing and shows nothing.
  void setMainForm(Form& main) { main_ = &main; }

  // The run-finished flag: false until a run ends or is given up.
  bool runFinished() const { return enabled(); }
  void setRunFinished() { setEnabled(true); }

 protected:
  void FormResize() override;

 private:
  void PlaceLabels();
  Form* main_ = nullptr;
};

}  // namespace orv

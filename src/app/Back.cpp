#include "app/Back.h"

#include "app/SETUP.h"
#include "common/Platform.h"

namespace orv {

namespace {

constexpr Color kTeal{0, 128, 128};
constexpr Color kBlue{0, 0, 255};
constexpr Color kWhite{255, 255, 255};
constexpr const char* kJapaneseFace = "ＭＳ Ｐゴシック";

ControlOptions TitleOptions(Color color) {
  return {Font{kJapaneseFace, 32, true, false}, color, true, false, false};
}

ControlOptions BannerOptions(Color color) {
  return {Font{"Times New Roman", 16, true, true}, color, true, true, false};
}

}  // namespace

TfrmBack::TfrmBack(Platform& platform)
    : Form(platform, "frmBack",
           {back_text::kCaption,
            {},
            Font{kJapaneseFace, 12},
            kTeal,
            false,
            false,
            false,
            nullptr,
            kApplicationTitle}),
      lblBackTitle2(*this, nullptr, ControlKind::kLabel, "lblBackTitle2", {79, 16, 58, 32}, "",
                    TitleOptions(kBlue)),
      lblBackTitle1(*this, nullptr, ControlKind::kLabel, "lblBackTitle1", {16, 16, 57, 32}, "",
                    TitleOptions(kWhite)),
      lblPrgTitle2(*this, nullptr, ControlKind::kLabel, "lblPrgTitle2", {8, 56, 61, 19},
                   back_text::kBannerPlaceholder, BannerOptions(kBlue)),
      lblPrgTitle1(*this, nullptr, ControlKind::kLabel, "lblPrgTitle1", {8, 48, 61, 19},
                   back_text::kBannerPlaceholder, BannerOptions(kWhite)) {
  lblPrgTitle2.setVisible(false);
  lblPrgTitle1.setVisible(false);
}

void TfrmBack::FormResize() {
  // Nothing is laid out while the windows are still being made.
  if (main_ == nullptr) return;
  const bool first = !lblPrgTitle1.visible();
  if (first) {
    lblPrgTitle1.setCaption(back_text::kBanner);
    lblPrgTitle2.setCaption(back_text::kBanner);
    lblPrgTitle1.setAutoSize(false);
    Rect banner = lblPrgTitle1.bounds();
    banner.width += 8;  // room for the italic overhang
    lblPrgTitle1.setBounds(banner);
  }
  // Every size change, a change of the display's scale too, keeps the labels at the window's
  // edges.
  PlaceLabels();
  if (!first) return;
  lblPrgTitle1.setVisible(true);
  lblPrgTitle2.setVisible(true);
  for (const Control* label : {&lblBackTitle1, &lblBackTitle2, &lblPrgTitle1, &lblPrgTitle2}) {
    repaint(*label);
  }
  main_->showModal();
  close();
}

void TfrmBack::PlaceLabels() {
  const Rect window = bounds();
  const Rect title = lblBackTitle1.bounds();
  lblBackTitle1.setBounds({title.left, title.top, window.width - 24, title.height});
  lblBackTitle2.setBounds({title.left + 2, title.top + 2, window.width - 24, title.height});
  Rect banner = lblPrgTitle1.bounds();
  banner.left = window.width - banner.width - 24;
  banner.top = window.height - banner.height - 48;
  lblPrgTitle1.setBounds(banner);
  const Rect shadow = lblPrgTitle2.bounds();
  lblPrgTitle2.setBounds({banner.left + 2, banner.top + 2, shadow.width, shadow.height});
}

}  // namespace orv

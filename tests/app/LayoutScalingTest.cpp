// The forms' layout, designed in pixels at 96 DPI, as the views show it at other display scales.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>

#include "app/ShellFixture.h"
#include "common/Scaling.h"

namespace orv::test {
namespace {

using LayoutScaling = ShellTest;

constexpr int kDpis[] = {96, 110, 120, 144, 192};

TEST(Scaling, RoundsToTheNearestPixel) {
  const struct {
    int design;
    int dpi;
    int scaled;
  } cases[] = {
      {489, 144, 734}, {313, 144, 470}, {17, 120, 21}, {17, 110, 19}, {25, 110, 29},
      {2, 120, 3},     {-2, 120, -2},   {-4, 144, -6}, {-5, 120, -6}, {12, 192, 24},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Scaled(c.design, c.dpi), c.scaled) << c.design << " at " << c.dpi;
}

TEST(Scaling, PixelsInDesignUnitsCoverThePixelsAgain) {
  for (const int dpi : kDpis) {
    for (const int pixels : {-7, -6, 0, 1, 13, 734, 1288}) {
      const int design = Unscaled(pixels, dpi);
      EXPECT_GE(Scaled(design, dpi), pixels) << pixels << " at " << dpi;
      EXPECT_LT(Scaled(design - 1, dpi), pixels) << pixels << " at " << dpi;
    }
  }
}

// The rectangle in the form's client area, from the rectangles in the parents' windows.
Rect Absolute(const Control& control, int dpi) {
  Rect rect = dpi == kDesignDpi ? control.bounds() : ScaledBounds(control, dpi);
  if (control.parent() != nullptr) {
    const Rect parent = Absolute(*control.parent(), dpi);
    rect.left += parent.left;
    rect.top += parent.top;
  }
  return rect;
}

// The edges a layout can line up: left, right, top, bottom.
std::array<int, 4> Edges(const Rect& r) {
  return {r.left, r.left + r.width, r.top, r.top + r.height};
}

int Order(int a, int b) {
  return a < b ? -1 : a > b ? 1 : 0;
}

// At every scale, controls that meet, line up or overlap in the design still do, and no others:
// every pair of horizontal edges (and of vertical ones) keeps its order, equality included.
TEST_F(LayoutScaling, ControlsKeepTheirAlignmentAtEveryScale) {
  for (const Form* form :
       {static_cast<const Form*>(&frmMain), static_cast<const Form*>(&frmBack)}) {
    for (const int dpi : kDpis) {
      for (const Control* a : form->controls()) {
        const auto designA = Edges(Absolute(*a, kDesignDpi));
        const auto scaledA = Edges(Absolute(*a, dpi));
        EXPECT_LE(std::abs(scaledA[1] - scaledA[0] - (designA[1] - designA[0]) * dpi / 96), 1)
            << a->name() << " at " << dpi;
        EXPECT_LE(std::abs(scaledA[3] - scaledA[2] - (designA[3] - designA[2]) * dpi / 96), 1)
            << a->name() << " at " << dpi;
        for (const Control* b : form->controls()) {
          const auto designB = Edges(Absolute(*b, kDesignDpi));
          const auto scaledB = Edges(Absolute(*b, dpi));
          for (int i = 0; i < 4; ++i) {
            for (int j = i < 2 ? 0 : 2; j < (i < 2 ? 2 : 4); ++j) {
              EXPECT_EQ(Order(scaledA[i], scaledB[j]), Order(designA[i], designB[j]))
                  << a->name() << " edge " << i << ", " << b->name() << " edge " << j << " at "
                  << dpi;
            }
          }
        }
      }
    }
  }
}

TEST_F(LayoutScaling, ControlsInGroupsScaleFromTheClientOrigin) {
  const struct {
    int dpi;
    Size client;
    Rect overWrite;  // inside grpOption
    int folderFont;
  } rows[] = {
      {96, {489, 313}, {8, 16, 457, 17}, 16},   {110, {560, 359}, {9, 18, 524, 20}, 18},
      {120, {611, 391}, {10, 20, 571, 21}, 20}, {144, {734, 470}, {12, 24, 686, 26}, 24},
      {192, {978, 626}, {16, 32, 914, 34}, 32},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Scaled(frmMain.style().clientSize, row.dpi), row.client) << row.dpi;
    EXPECT_EQ(ScaledBounds(frmMain.chkOverWrite, row.dpi), row.overWrite) << row.dpi;
    EXPECT_EQ(Scaled(frmMain.txtFolder.font(), row.dpi).height, row.folderFont) << row.dpi;
  }
}

// A view that records what a change of DPI does to its windows.
class RecordingView final : public ScaledView {
 public:
  using ScaledView::ScaledView;
  void changed(const Control*, Property) override {}
  void show(ShowMode) override {}
  void hide() override {}
  void close() override {}
  void repaint(const Control&) override {}

  Rect window;
  std::map<const Control*, std::pair<Rect, Font>> placed;

 protected:
  void placeWindow(const Rect& outer) override { window = outer; }
  void placeControl(const Control& control, const Rect& bounds, const Font& font) override {
    placed[&control] = {bounds, font};
  }
};

TEST_F(LayoutScaling, MoveToAnotherScaleRelaysEveryControl) {
  RecordingView view(frmMain);
  view.dpiChanged(144, {100, 50, 750, 520});
  EXPECT_EQ(view.dpi(), 144);
  EXPECT_EQ(view.window, (Rect{100, 50, 750, 520}));
  EXPECT_EQ(view.placed.size(), frmMain.controls().size());
  EXPECT_EQ(view.placed[&frmMain.chkOverWrite].first, (Rect{12, 24, 686, 26}));
  EXPECT_EQ(view.placed[&frmMain.chkOverWrite].second, (Font{"ＭＳ Ｐゴシック", 18}));
  EXPECT_EQ(view.placed[&frmMain.btnEnd].first, (Rect{384, 420, 278, 38}));
  EXPECT_EQ(view.placed[&frmMain.txtFolder].second.height, 24);

  view.dpiChanged(96, {10, 20, 495, 342});
  EXPECT_EQ(view.window, (Rect{10, 20, 495, 342}));
  for (const Control* control : frmMain.controls()) {
    EXPECT_EQ(view.placed[control].first, control->bounds()) << control->name();
    EXPECT_EQ(view.placed[control].second, control->font()) << control->name();
  }
}

}  // namespace
}  // namespace orv::test

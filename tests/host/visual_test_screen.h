#pragma once
// A screen with chosen system colours whose nearest-colour snapping is
// visible (every channel made even), so tests can tell where it is applied.
#include <map>

#include "visual/color_math.h"

namespace snibbet::testing {

class FakeScreen : public ScreenColors {
 public:
  // The classic grey Windows look.
  FakeScreen() {
    colors_ = {{kSysBtnFace, FromHexRgb(0xD4D0C8)}, {kSysWindow, FromHexRgb(0xFFFFFF)},
               {kSysBtnShadow, FromHexRgb(0x808080)}, {kSysHighlight, FromHexRgb(0x0A246A)},
               {kSysHighlightText, FromHexRgb(0xFFFFFF)}, {kSysBtnText, 0},
               {kSysGrayText, FromHexRgb(0x808080)}, {kSysBtnHighlight, FromHexRgb(0xFFFFFF)}};
  }
  void Set(int index, RgbColor color) { colors_[index] = color; }
  RgbColor SystemColor(int index) const override {
    const auto it = colors_.find(index);
    return it == colors_.end() ? 0x123456 : it->second;
  }
  RgbColor Nearest(RgbColor color) const override { return color & 0xFEFEFE; }

 private:
  std::map<int, RgbColor> colors_;
};

}  // namespace snibbet::testing

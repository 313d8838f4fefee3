#pragma once
// The real screen for the window-free colour code: the system colours, and
// the colours its device context can show.
#include <windows.h>

#include "ui/gdi.h"
#include "visual/color_math.h"

namespace snibbet {

class SystemScreen : public ScreenColors {
 public:
  RgbColor SystemColor(int index) const override { return GetSysColor(index); }
  RgbColor Nearest(RgbColor color) const override {
    const ui::WindowDC screen;
    const COLORREF nearest = screen.Get() ? GetNearestColor(screen.Get(), color) : CLR_INVALID;
    return nearest == CLR_INVALID ? color : nearest;
  }
};

}  // namespace snibbet

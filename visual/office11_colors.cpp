#include "visual/office11_colors.h"

#include <array>
#include <vector>

#include "ui/gdi.h"
#include "visual/gradient.h"
#include "visual/system_screen.h"
#include "visual/system_version.h"
#include "visual/theme_binding.h"

namespace snibbet {
namespace {

constexpr int kBrushEntries[] = {12, 13, 14, 15, 18, 19, 20, 21, 26, 27, 28, 29};
constexpr const wchar_t* kPictureNames[] = {L"DXSUBMENUEXPAND", L"DXEXPANDBUTTON_MINUS", L"DXEXPANDBUTTON_PLUS"};

struct SchemeResources {
  std::array<ui::Brush, std::size(kBrushEntries)> brushes;
  ui::Brush border;
  std::array<ui::Bitmap, std::size(kPictureNames)> pictures;
};

struct SchemeState {
  Office11Table table;
  int users = 0;
  SchemeResources resources;
};

SchemeState& State() {
  static SchemeState state;
  return state;
}

RgbColor Real(std::uint32_t color) { return ToRealColor(color, SystemScreen()); }

void FillTable() {
  const SystemScreen screen;
  State().table = BuildOffice11Table(DetectLunaScheme(), screen);
}

// Recolours a picture's pixels in place through a 32-bit top-down copy.
void RecolorPicture(HBITMAP picture, RgbColor light, RgbColor dark) {
  BITMAP info{};
  if (!GetObjectW(picture, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof(format.bmiHeader);
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -info.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<RgbColor> pixels(static_cast<std::size_t>(info.bmWidth) * static_cast<std::size_t>(info.bmHeight));
  const ui::WindowDC screenDc;
  if (GetDIBits(screenDc, picture, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS) == 0) {
    return;
  }
  // DIB pixels are 0x00RRGGBB; the table's colours are 0x00BBGGRR.
  auto swap = [](RgbColor c) { return MakeRgb(BlueOf(c), GreenOf(c), RedOf(c)); };
  for (RgbColor& p : pixels) p = swap(p);
  RecolorMonoPixels(pixels, light, dark, SystemScreen());
  for (RgbColor& p : pixels) p = swap(p);
  SetDIBits(screenDc, picture, 0, static_cast<UINT>(info.bmHeight), pixels.data(), &format, DIB_RGB_COLORS);
}

void CreateResources() {
  SchemeState& s = State();
  for (std::size_t i = 0; i < std::size(kBrushEntries); ++i) {
    s.resources.brushes[i].Reset(CreateSolidBrush(s.table.colors[static_cast<std::size_t>(kBrushEntries[i])]));
  }
  s.resources.border.Reset(CreateSolidBrush(BlendColors(s.table.colors[4], s.table.colors[11], 50)));
  const HINSTANCE module = GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < std::size(kPictureNames); ++i) {
    s.resources.pictures[i].Reset(static_cast<HBITMAP>(
        LoadImageW(module, kPictureNames[i], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  }
  if (HBITMAP arrow = s.resources.pictures[0].Get()) RecolorPicture(arrow, s.table.colors[0], s.table.colors[1]);
}

void FreeResources() { State().resources = {}; }

}  // namespace

void Office11ColorsAddRef() {
  SchemeState& s = State();
  if (s.users == 0) {
    FillTable();
    CreateResources();
  }
  ++s.users;
}

void Office11ColorsRefresh() {
  FillTable();
  if (State().users > 0) {
    FreeResources();
    CreateResources();
  }
}

void Office11ColorsRelease() {
  SchemeState& s = State();
  if (s.users == 0) return;
  if (--s.users == 0) FreeResources();
}

COLORREF Office11Color(int entry) {
  if (entry < 0 || entry >= kOffice11ColorCount) return 0;
  return State().table.colors[static_cast<std::size_t>(entry)];
}

const Office11Table& Office11Colors() { return State().table; }
int Office11GradientBias() { return State().table.gradientBias; }

Office11Scheme DetectLunaScheme() {
  if (!AreThemesUsable()) return Office11Scheme::None;
  ThemeNames names;
  if (!GetCurrentThemeNames(names)) return Office11Scheme::None;
  return SchemeFromThemeNames(names.file, names.color, RunningSystemVersion().major);
}

COLORREF ShadeColor(std::uint32_t color, int percent) { return ShadeRgb(Real(color), percent); }
COLORREF TintColor(std::uint32_t color, int percent) { return TintRgb(Real(color), percent); }

COLORREF BlendColors(std::uint32_t color1, std::uint32_t color2, int percent) {
  const SystemScreen screen;
  return screen.Nearest(BlendRgb(ToRealColor(color1, screen), ToRealColor(color2, screen), percent));
}

void FillGradientRect(HDC dc, const RECT& rect, std::uint32_t color1, bool horizontal, std::uint32_t color2) {
  const RgbColor first = Real(color1), last = Real(color2);
  if (first == last) {
    const ui::Brush brush(CreateSolidBrush(first));
    FillRect(dc, &rect, brush.Get());
    return;
  }
  const int length = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
  const std::vector<RgbColor> bands = TwoPartGradientBands(first, last, Office11GradientBias(), length);
  for (int i = 0; i < static_cast<int>(bands.size()); ++i) {
    RECT band = rect;
    if (horizontal) {
      band.left = rect.left + i;
      band.right = band.left + 1;
    } else {
      band.top = rect.top + i;
      band.bottom = band.top + 1;
    }
    if (IsRectEmpty(&band)) continue;
    const ui::Brush brush(CreateSolidBrush(bands[static_cast<std::size_t>(i)]));
    FillRect(dc, &band, brush.Get());
  }
}

HBRUSH Office11Brush(int entry) {
  for (std::size_t i = 0; i < std::size(kBrushEntries); ++i) {
    if (kBrushEntries[i] == entry) return State().resources.brushes[i].Get();
  }
  return nullptr;
}

HBRUSH Office11BorderBrush() { return State().resources.border.Get(); }

HBITMAP Office11Bitmap(Office11Picture picture) {
  return State().resources.pictures[static_cast<std::size_t>(picture)].Get();
}

}  // namespace snibbet

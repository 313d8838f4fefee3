#include "dialogs/rtf_toolbar_pictures.h"

#include <cstdint>
#include <functional>

#include "ui/gdi.h"

namespace snibbet {
namespace {

constexpr int kSize = 16;
constexpr COLORREF kInk = RGB(40, 40, 48);
constexpr COLORREF kBlue = RGB(40, 90, 190);
constexpr COLORREF kKey = RGB(255, 0, 255);  // the transparent colour while drawing

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{left, top, right, bottom};
  ui::Brush brush(CreateSolidBrush(color));
  FillRect(dc, &r, brush.Get());
}

void Letters(HDC dc, const wchar_t* text, RECT box, int height, const wchar_t* face, int weight, bool italic,
             bool underline, COLORREF color, UINT align = DT_CENTER) {
  // Not antialiased: smoothed edges would blend with the transparent colour.
  ui::Font font(CreateFontW(-height, 0, 0, 0, weight, italic, underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, face));
  ui::SelectedObject selected(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, text, -1, &box, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
}

// Five text lines; `starts` and `ends` give each line's horizontal extent.
void TextLines(HDC dc, const int (&starts)[5], const int (&ends)[5], COLORREF color = kInk) {
  for (int i = 0; i < 5; ++i) Fill(dc, starts[i], 2 + i * 3, ends[i], 3 + i * 3, color);
}

void Arrow(HDC dc, int tipX, int y, bool pointsRight) {
  for (int i = 0; i < 4; ++i) {
    const int x = pointsRight ? tipX - i : tipX + i;
    Fill(dc, x, y - i, x + 1, y + i + 1, kBlue);
  }
}

void Draw(int picture, HDC dc) {
  switch (picture) {
    case kPictureFont:
      Letters(dc, L"A", {0, 0, 11, 15}, 14, L"Times New Roman", FW_BOLD, false, false, kBlue);
      Letters(dc, L"a", {7, 3, 16, 16}, 10, L"Times New Roman", FW_NORMAL, false, false, kInk);
      break;
    case kPictureBold: Letters(dc, L"B", {0, 0, 16, 16}, 14, L"Arial", FW_BLACK, false, false, kInk); break;
    case kPictureItalic: Letters(dc, L"I", {0, 0, 16, 16}, 14, L"Times New Roman", FW_BOLD, true, false, kInk); break;
    case kPictureUnderline:
      Letters(dc, L"U", {0, -1, 16, 13}, 12, L"Arial", FW_BOLD, false, false, kInk);
      Fill(dc, 3, 14, 13, 15, kInk);
      break;
    case kPictureAlignLeft: TextLines(dc, {1, 1, 1, 1, 1}, {15, 10, 13, 8, 15}); break;
    case kPictureAlignCenter: TextLines(dc, {1, 4, 2, 5, 1}, {15, 12, 14, 11, 15}); break;
    case kPictureAlignRight: TextLines(dc, {1, 6, 3, 8, 1}, {15, 15, 15, 15, 15}); break;
    case kPictureJustify: TextLines(dc, {1, 1, 1, 1, 1}, {15, 15, 15, 15, 9}); break;
    case kPictureBackground:
      Fill(dc, 0, 11, 16, 16, RGB(255, 230, 0));
      Letters(dc, L"ab", {0, -2, 16, 12}, 11, L"Arial", FW_BOLD, false, false, kInk);
      break;
    case kPictureBullets:
      for (int i = 0; i < 3; ++i) {
        Fill(dc, 1, 2 + i * 5, 4, 5 + i * 5, kBlue);
        Fill(dc, 6, 3 + i * 5, 15, 4 + i * 5, kInk);
      }
      break;
    case kPictureIndentLess:
      TextLines(dc, {1, 8, 8, 8, 1}, {15, 15, 15, 15, 15});
      Arrow(dc, 1, 8, false);
      Fill(dc, 2, 8, 6, 9, kBlue);
      break;
    case kPictureIndentMore:
      TextLines(dc, {1, 8, 8, 8, 1}, {15, 15, 15, 15, 15});
      Arrow(dc, 6, 8, true);
      Fill(dc, 1, 8, 4, 9, kBlue);
      break;
    case kPictureSuperscript:
      Letters(dc, L"x", {0, 3, 11, 16}, 13, L"Arial", FW_BOLD, false, false, kInk);
      Letters(dc, L"2", {9, 0, 16, 8}, 8, L"Arial", FW_BOLD, false, false, kBlue);
      break;
    case kPictureSubscript:
      Letters(dc, L"x", {0, 0, 11, 13}, 13, L"Arial", FW_BOLD, false, false, kInk);
      Letters(dc, L"2", {9, 8, 16, 16}, 8, L"Arial", FW_BOLD, false, false, kBlue);
      break;
    case kPictureInsertPicture:
      Fill(dc, 0, 2, 16, 14, kInk);
      Fill(dc, 1, 3, 15, 13, RGB(170, 210, 250));
      Fill(dc, 10, 4, 13, 7, RGB(255, 200, 0));  // the sun
      for (int x = 1; x < 15; ++x) {             // a hill
        const int top = 8 + (x - 6) * (x - 6) / 8;
        Fill(dc, x, top < 13 ? top : 12, x + 1, 13, RGB(60, 150, 60));
      }
      break;
    case kPictureInsertObject:
      Fill(dc, 1, 1, 12, 12, kInk);
      Fill(dc, 2, 2, 11, 11, RGB(255, 255, 255));
      Fill(dc, 2, 2, 11, 4, kBlue);  // a small window
      Fill(dc, 6, 7, 15, 15, kInk);
      Fill(dc, 7, 8, 14, 14, RGB(250, 210, 90));
      break;
    case kPictureFind: {
      ui::Pen pen(CreatePen(PS_SOLID, 2, kInk));
      ui::SelectedObject selectedPen(dc, pen.Get());
      ui::SelectedObject brush(dc, GetStockObject(NULL_BRUSH));
      Ellipse(dc, 1, 1, 11, 11);
      MoveToEx(dc, 10, 10, nullptr);
      LineTo(dc, 15, 15);
      Fill(dc, 3, 3, 9, 9, RGB(200, 225, 250));  // the glass
      break;
    }
    default: break;
  }
}

// One picture as an icon: drawn over the key colour, which becomes transparent.
ui::IconHandle PictureIcon(int picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = kSize;
  info.bmiHeader.biHeight = -kSize;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::Bitmap color(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!color) return {};
  {
    ui::MemoryDC dc;
    ui::SelectedObject selected(dc, color.Get());
    Fill(dc, 0, 0, kSize, kSize, kKey);
    Draw(picture, dc);
    GdiFlush();
  }
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::uint8_t maskBits[kSize * kSize / 8] = {};  // 1: transparent; rows of 16 bits
  for (int i = 0; i < kSize * kSize; ++i) {
    if ((pixels[i] & 0xFFFFFF) == 0xFF00FF) {
      pixels[i] = 0;
      maskBits[i / 8] |= static_cast<std::uint8_t>(0x80 >> (i % 8));
    } else {
      pixels[i] |= 0xFF000000;
    }
  }
  ui::Bitmap mask(CreateBitmap(kSize, kSize, 1, 1, maskBits));
  ICONINFO icon{TRUE, 0, 0, mask.Get(), color.Get()};
  return ui::IconHandle(CreateIconIndirect(&icon));
}

}  // namespace

ui::ImageList MakeRtfToolbarPictures() {
  ui::ImageList pictures(kSize, kSize, kRtfPictureCount);
  for (int i = 0; i < kRtfPictureCount; ++i) {
    ui::IconHandle icon = PictureIcon(i);
    pictures.AddIcon(icon.Get());
  }
  return pictures;
}

}  // namespace snibbet

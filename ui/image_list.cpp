#include "ui/image_list.h"

#include <stdexcept>
#include <vector>

#include "ui/gdi.h"

namespace ui {

ImageList::ImageList(int width, int height, int initialCapacity)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, initialCapacity, 8)) {
  if (!list_) throw std::runtime_error("ImageList_Create failed");
}

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

ImageList& ImageList::operator=(ImageList&& other) noexcept {
  if (this != &other) {
    if (list_) ImageList_Destroy(list_);
    list_ = std::exchange(other.list_, nullptr);
  }
  return *this;
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

SIZE ImageList::ImageSize() const {
  int cx = 0, cy = 0;
  if (list_) ImageList_GetIconSize(list_, &cx, &cy);
  return {cx, cy};
}

int ImageList::AddIcon(HICON icon) { return list_ && icon ? ImageList_ReplaceIcon(list_, -1, icon) : -1; }

int ImageList::AddStrip(HINSTANCE module, const wchar_t* resource, COLORREF mask) {
  if (!list_) return -1;
  Bitmap strip(static_cast<HBITMAP>(LoadImageW(module, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return -1;
  return mask == CLR_NONE ? ImageList_Add(list_, strip.Get(), nullptr) : ImageList_AddMasked(list_, strip.Get(), mask);
}

int ImageList::AddIconResource(HINSTANCE module, const wchar_t* resource) {
  const SIZE size = ImageSize();
  IconHandle icon(static_cast<HICON>(LoadImageW(module, resource, IMAGE_ICON, size.cx, size.cy, 0)));
  return AddIcon(icon.Get());
}

IconHandle ImageList::ExtractIcon(int index) const {
  return IconHandle(list_ ? ImageList_GetIcon(list_, index, ILD_TRANSPARENT) : nullptr);
}

void ImageList::Draw(int index, HDC dc, int x, int y, UINT style) const {
  if (list_) ImageList_Draw(list_, index, dc, x, y, style);
}

GdiObject<HBITMAP> ImageList::ToAlphaBitmap(int index) const {
  if (!list_ || index < 0 || index >= Count()) return {};
  const SIZE size = ImageSize();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return {};
  auto* pixels = static_cast<DWORD*>(bits);
  const int count = size.cx * size.cy;

  // The colours drawn on black, then the mask decides which pixels are the image's.
  MemoryDC dc;
  {
    SelectedObject selected(dc, picture.Get());
    ImageList_DrawEx(list_, index, dc, 0, 0, size.cx, size.cy, CLR_NONE, CLR_NONE, ILD_IMAGE);
  }
  GdiFlush();
  std::vector<DWORD> colors(pixels, pixels + count);
  bool hasAlpha = false;
  for (DWORD c : colors) hasAlpha = hasAlpha || (c >> 24) != 0;
  if (!hasAlpha) {
    {
      SelectedObject selected(dc, picture.Get());
      ImageList_DrawEx(list_, index, dc, 0, 0, size.cx, size.cy, CLR_NONE, CLR_NONE, ILD_MASK);
    }
    GdiFlush();
    for (int i = 0; i < count; ++i) {
      const bool transparent = (pixels[i] & 0xFFFFFF) != 0;  // the mask is white where transparent
      pixels[i] = transparent ? 0 : (colors[i] | 0xFF000000);
    }
    return picture;
  }
  for (int i = 0; i < count; ++i) {  // premultiply
    const DWORD c = colors[i], a = c >> 24;
    const DWORD r = ((c >> 16) & 0xFF) * a / 255, g = ((c >> 8) & 0xFF) * a / 255, b = (c & 0xFF) * a / 255;
    pixels[i] = (a << 24) | (r << 16) | (g << 8) | b;
  }
  return picture;
}

void ImageList::Clear() {
  if (list_) ImageList_RemoveAll(list_);
}

}  // namespace ui

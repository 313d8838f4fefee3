#include "ui/image_list.h"

#include <stdexcept>
#include <vector>

#include "ui/gdi.h"

namespace ui {
namespace {

int AddStripTo(HIMAGELIST list, HINSTANCE module, const wchar_t* resource, COLORREF mask) {
  Bitmap strip(static_cast<HBITMAP>(LoadImageW(module, resource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return -1;
  return mask == CLR_NONE ? ImageList_Add(list, strip.Get(), nullptr) : ImageList_AddMasked(list, strip.Get(), mask);
}

}  // namespace

ImageList::ImageList(int width, int height, int initialCapacity)
    : list_(ImageList_Create(width, height, ILC_COLOR32 | ILC_MASK, initialCapacity, 8)) {
  if (!list_) throw std::runtime_error("ImageList_Create failed");
}

ImageList ImageList::StripOnFirstUse(int width, int height, HINSTANCE module, std::wstring resource,
                                     COLORREF mask) {
  ImageList list;
  list.deferred_.reset(new DeferredStrip{width, height, module, std::move(resource), mask});
  return list;
}

ImageList::~ImageList() {
  if (list_) ImageList_Destroy(list_);
}

ImageList& ImageList::operator=(ImageList&& other) noexcept {
  if (this != &other) {
    if (list_) ImageList_Destroy(list_);
    list_ = std::exchange(other.list_, nullptr);
    deferred_ = std::move(other.deferred_);
  }
  return *this;
}

HIMAGELIST ImageList::List() const {
  if (deferred_) {
    const std::unique_ptr<DeferredStrip> strip = std::move(deferred_);
    list_ = ImageList_Create(strip->width, strip->height, ILC_COLOR32 | ILC_MASK, 8, 8);
    if (list_) AddStripTo(list_, strip->module, strip->resource.c_str(), strip->mask);
  }
  return list_;
}

int ImageList::Count() const { return List() ? ImageList_GetImageCount(list_) : 0; }

SIZE ImageList::ImageSize() const {
  int cx = 0, cy = 0;
  if (List()) ImageList_GetIconSize(list_, &cx, &cy);
  return {cx, cy};
}

int ImageList::AddIcon(HICON icon) { return List() && icon ? ImageList_ReplaceIcon(list_, -1, icon) : -1; }

int ImageList::AddStrip(HINSTANCE module, const wchar_t* resource, COLORREF mask) {
  return List() ? AddStripTo(list_, module, resource, mask) : -1;
}

IconHandle ImageList::ExtractIcon(int index) const {
  return IconHandle(List() ? ImageList_GetIcon(list_, index, ILD_TRANSPARENT) : nullptr);
}

void ImageList::Draw(int index, HDC dc, int x, int y, UINT style) const {
  if (List()) ImageList_Draw(list_, index, dc, x, y, style);
}

namespace {

// The pixels of a bitmap as 32-bit top-down rows (a monochrome mask comes
// out as black and white).
std::vector<DWORD> PixelsOf(HBITMAP bitmap, int width, int height) {
  std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  WindowDC screen;
  if (!bitmap || !GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS)) pixels.clear();
  return pixels;
}

}  // namespace

GdiObject<HBITMAP> ImageList::ToAlphaBitmap(int index) const {
  if (!List() || index < 0 || index >= Count()) return {};
  const SIZE size = ImageSize();
  // The icon's colour and mask bitmaps are our own copies, safe to read.
  IconHandle icon(ImageList_GetIcon(list_, index, ILD_NORMAL));
  ICONINFO parts{};
  if (!icon || !GetIconInfo(icon.Get(), &parts)) return {};
  Bitmap color(parts.hbmColor), mask(parts.hbmMask);
  const std::vector<DWORD> colors = PixelsOf(color.Get(), size.cx, size.cy);
  const std::vector<DWORD> masks = PixelsOf(mask.Get(), size.cx, size.cy);
  if (colors.empty()) return {};

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size.cx;
  info.bmiHeader.biHeight = -size.cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Bitmap picture(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!picture) return {};
  auto* pixels = static_cast<DWORD*>(bits);

  bool hasAlpha = false;
  for (DWORD c : colors) hasAlpha = hasAlpha || (c >> 24) != 0;
  for (size_t i = 0; i < colors.size(); ++i) {
    const DWORD c = colors[i];
    if (!hasAlpha) {  // the mask is white where the image is transparent
      const bool transparent = !masks.empty() && (masks[i] & 0xFFFFFF) != 0;
      pixels[i] = transparent ? 0 : (c | 0xFF000000);
      continue;
    }
    const DWORD a = c >> 24;  // premultiplied, as menus expect
    pixels[i] = (a << 24) | ((((c >> 16) & 0xFF) * a / 255) << 16) | ((((c >> 8) & 0xFF) * a / 255) << 8) |
                ((c & 0xFF) * a / 255);
  }
  GdiFlush();
  return picture;
}

void ImageList::Clear() {
  if (List()) ImageList_RemoveAll(list_);
}

}  // namespace ui

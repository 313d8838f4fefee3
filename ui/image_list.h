#pragma once
// An owned image list (32-bit colour with mask).
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <utility>

#include "ui/gdi.h"
#include "ui/handles.h"

namespace ui {

class ImageList {
 public:
  ImageList() = default;
  ImageList(int width, int height, int initialCapacity = 8);
  ~ImageList();
  // One strip of `module`'s bitmap resource `resource` (as AddStrip), made
  // only when the list is first used: a list that may never be shown costs
  // nothing until then. Empty if it cannot be made then.
  static ImageList StripOnFirstUse(int width, int height, HINSTANCE module, std::wstring resource, COLORREF mask);
  ImageList(ImageList&& other) noexcept
      : list_(std::exchange(other.list_, nullptr)), deferred_(std::move(other.deferred_)) {}
  ImageList& operator=(ImageList&& other) noexcept;
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;

  HIMAGELIST Get() const { return List(); }
  explicit operator bool() const { return list_ != nullptr || deferred_ != nullptr; }
  int Count() const;
  SIZE ImageSize() const;

  int AddIcon(HICON icon);  // the list keeps a copy; returns the index or -1
  // A horizontal strip of images from a bitmap resource; `mask` is the
  // transparent colour (CLR_NONE: none). Returns the first new index or -1.
  int AddStrip(HINSTANCE module, const wchar_t* resource, COLORREF mask);
  IconHandle ExtractIcon(int index) const;
  void Draw(int index, HDC dc, int x, int y, UINT style = ILD_TRANSPARENT) const;
  // The image as a 32-bit bitmap with premultiplied alpha (what menu items
  // take as a picture); empty when the index is out of range.
  GdiObject<HBITMAP> ToAlphaBitmap(int index) const;
  void Clear();

 private:
  struct DeferredStrip {
    int width, height;
    HINSTANCE module;
    std::wstring resource;
    COLORREF mask;
  };
  // The list, made now if it was deferred.
  HIMAGELIST List() const;

  mutable HIMAGELIST list_ = nullptr;
  mutable std::unique_ptr<DeferredStrip> deferred_;
};

}  // namespace ui

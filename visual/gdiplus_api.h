#pragma once
// GDI+ bound at run time: gdiplus.dll is loaded and started on first need, so
// the program starts and runs where it is missing or will not start; only the
// pictures that need it (PNG) are then unavailable. Only the entry points the
// program calls are bound. GUI thread only.
#include <windows.h>
#include <objidl.h>  // left out by WIN32_LEAN_AND_MEAN, needed by GDI+

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <string_view>

// GDI+ expects the min and max of windows.h, which NOMINMAX leaves out.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
// Only for the flat API's types and signatures: nothing here links to it.
#include <gdiplus.h>

namespace snibbet::gdiplus {

namespace flat = Gdiplus::DllExports;

// The entry points, each with the signature of its declaration.
struct Api {
  decltype(&Gdiplus::GdiplusStartup) Startup = nullptr;
  decltype(&Gdiplus::GdiplusShutdown) Shutdown = nullptr;
  decltype(&flat::GdipCreateBitmapFromStream) CreateBitmapFromStream = nullptr;
  decltype(&flat::GdipCreateBitmapFromScan0) CreateBitmapFromScan0 = nullptr;
  decltype(&flat::GdipCreateHBITMAPFromBitmap) CreateHBITMAPFromBitmap = nullptr;
  decltype(&flat::GdipGetImageDimension) GetImageDimension = nullptr;
  decltype(&flat::GdipDisposeImage) DisposeImage = nullptr;
  decltype(&flat::GdipCreateFromHDC) CreateFromHDC = nullptr;
  decltype(&flat::GdipDeleteGraphics) DeleteGraphics = nullptr;
  decltype(&flat::GdipGetInterpolationMode) GetInterpolationMode = nullptr;
  decltype(&flat::GdipSetInterpolationMode) SetInterpolationMode = nullptr;
  decltype(&flat::GdipGetPixelOffsetMode) GetPixelOffsetMode = nullptr;
  decltype(&flat::GdipSetPixelOffsetMode) SetPixelOffsetMode = nullptr;
  decltype(&flat::GdipDrawImageRectRect) DrawImageRectRect = nullptr;
  decltype(&flat::GdipGetImageEncodersSize) GetImageEncodersSize = nullptr;
  decltype(&flat::GdipGetImageEncoders) GetImageEncoders = nullptr;
  decltype(&flat::GdipSaveImageToStream) SaveImageToStream = nullptr;
};

// Loads gdiplus.dll, binds the entry points and starts GDI+ at the first
// call; it stays up until the program ends. Null when the library, one of its
// entry points or the start is missing; the answer does not change later.
const Api* GdiPlus();

// Binds the entry points from an already loaded library; nothing when one is
// missing. Starts nothing.
std::optional<Api> BindGdiPlus(HMODULE library);

// A GDI+ call that did not give Ok, where the caller cannot go on.
class GdiplusError : public std::runtime_error {
 public:
  explicit GdiplusError(Gdiplus::GpStatus status)
      : std::runtime_error("Invalid operation in GDI+"), status_(status) {}
  Gdiplus::GpStatus Status() const { return status_; }

 private:
  Gdiplus::GpStatus status_;
};

inline void CheckStatus(Gdiplus::GpStatus status) {
  if (status != Gdiplus::Ok) throw GdiplusError(status);
}

// The class identifier of the encoder for `mimeType` (compared ignoring
// case); nothing when GDI+ has none.
std::optional<CLSID> EncoderClsid(const Api& api, std::wstring_view mimeType);

}  // namespace snibbet::gdiplus

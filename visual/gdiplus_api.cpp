#include "visual/gdiplus_api.h"

#include <cwctype>
#include <vector>

namespace snibbet::gdiplus {
namespace {

template <class Entry>
bool Bind(HMODULE library, const char* name, Entry& entry) {
  entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return entry != nullptr;
}

// The library and its start, held until the program ends.
class Session {
 public:
  Session() {
    library_ = LoadLibraryW(L"gdiplus.dll");
    if (!library_) return;
    std::optional<Api> api = BindGdiPlus(library_);
    if (!api) return;
    Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread and codecs on
    if (api->Startup(&token_, &input, nullptr) != Gdiplus::Ok) return;
    api_ = *api;
  }
  ~Session() {
    if (api_) api_->Shutdown(token_);
    if (library_) FreeLibrary(library_);
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const Api* Get() const { return api_ ? &*api_ : nullptr; }

 private:
  HMODULE library_ = nullptr;
  ULONG_PTR token_ = 0;
  std::optional<Api> api_;
};

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

}  // namespace

std::optional<Api> BindGdiPlus(HMODULE library) {
  Api api;
  const bool bound = Bind(library, "GdiplusStartup", api.Startup) && Bind(library, "GdiplusShutdown", api.Shutdown) &&
                     Bind(library, "GdipCreateBitmapFromStream", api.CreateBitmapFromStream) &&
                     Bind(library, "GdipCreateBitmapFromScan0", api.CreateBitmapFromScan0) &&
                     Bind(library, "GdipCreateHBITMAPFromBitmap", api.CreateHBITMAPFromBitmap) &&
                     Bind(library, "GdipGetImageDimension", api.GetImageDimension) &&
                     Bind(library, "GdipDisposeImage", api.DisposeImage) &&
                     Bind(library, "GdipCreateFromHDC", api.CreateFromHDC) &&
                     Bind(library, "GdipDeleteGraphics", api.DeleteGraphics) &&
                     Bind(library, "GdipGetInterpolationMode", api.GetInterpolationMode) &&
                     Bind(library, "GdipSetInterpolationMode", api.SetInterpolationMode) &&
                     Bind(library, "GdipGetPixelOffsetMode", api.GetPixelOffsetMode) &&
                     Bind(library, "GdipSetPixelOffsetMode", api.SetPixelOffsetMode) &&
                     Bind(library, "GdipDrawImageRectRect", api.DrawImageRectRect) &&
                     Bind(library, "GdipGetImageEncodersSize", api.GetImageEncodersSize) &&
                     Bind(library, "GdipGetImageEncoders", api.GetImageEncoders) &&
                     Bind(library, "GdipSaveImageToStream", api.SaveImageToStream);
  if (!bound) return std::nullopt;
  return api;
}

const Api* GdiPlus() {
  static Session session;
  return session.Get();
}

std::optional<CLSID> EncoderClsid(const Api& api, std::wstring_view mimeType) {
  UINT count = 0, size = 0;
  if (api.GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size < 1) return std::nullopt;
  // The records point into the buffer behind them (names, signatures).
  std::vector<std::uint8_t> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (api.GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return std::nullopt;
  for (UINT i = 0; i < count; ++i) {
    if (codecs[i].MimeType && SameTextIgnoringCase(codecs[i].MimeType, mimeType)) return codecs[i].Clsid;
  }
  return std::nullopt;
}

}  // namespace snibbet::gdiplus

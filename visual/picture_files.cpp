#include "visual/picture_files.h"

#include <vector>

#include "visual/gdiplus.h"

namespace snibbet {

std::wstring PictureOpenFilter() {
  if (!StartGdiplus()) return {};
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageDecodersSize(&count, &bytes) != Gdiplus::Ok || count == 0) return {};
  std::vector<BYTE> buffer(bytes);
  auto* decoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageDecoders(count, bytes, decoders) != Gdiplus::Ok) return {};
  std::wstring all, each;
  for (UINT i = 0; i < count; ++i) {
    const std::wstring patterns = decoders[i].FilenameExtension ? decoders[i].FilenameExtension : L"";
    if (patterns.empty()) continue;
    const std::wstring name = decoders[i].FormatDescription ? decoders[i].FormatDescription : L"";
    all += (all.empty() ? L"" : L";") + patterns;
    each += L"|" + name + L" (" + patterns + L")|" + patterns;
  }
  if (all.empty()) return {};
  return L"All (" + all + L")|" + all + each;
}

ui::Bitmap LoadPictureBitmap(const std::wstring& path) {
  if (path.empty() || !StartGdiplus()) return {};
  Gdiplus::Bitmap picture(path.c_str());
  HBITMAP bitmap = nullptr;
  if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0 ||
      picture.GetHBITMAP(Gdiplus::Color(255, 255, 255, 255), &bitmap) != Gdiplus::Ok) {
    return {};
  }
  return ui::Bitmap(bitmap);
}

}  // namespace snibbet

#include "keyboard/keyboard_background.h"

#include <algorithm>

#include "visual/gdiplus.h"

namespace snibbet {
namespace {

bool IsWhite(Gdiplus::Bitmap& bitmap, int x, int y) {
  Gdiplus::Color color;
  if (bitmap.GetPixel(x, y, &color) != Gdiplus::Ok) return false;
  return (color.GetValue() & 0x00FFFFFF) == 0x00FFFFFF;
}

}  // namespace

struct BackgroundPicture::Impl {
  std::unique_ptr<Gdiplus::Bitmap> bitmap;
};

BackgroundPicture::BackgroundPicture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
BackgroundPicture::~BackgroundPicture() = default;

std::unique_ptr<BackgroundPicture> BackgroundPicture::Load(const std::wstring& path) {
  if (!StartGdiplus()) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> file(Gdiplus::Bitmap::FromFile(path.c_str()));
  if (!file || file->GetLastStatus() != Gdiplus::Ok || file->GetWidth() == 0 || file->GetHeight() == 0)
    return nullptr;
  // A copy in memory, so the file is not kept open while the picture is shown.
  auto impl = std::make_unique<Impl>();
  impl->bitmap = std::make_unique<Gdiplus::Bitmap>(static_cast<INT>(file->GetWidth()),
                                                   static_cast<INT>(file->GetHeight()), PixelFormat32bppARGB);
  if (impl->bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
  Gdiplus::Graphics copy(impl->bitmap.get());
  if (copy.DrawImage(file.get(), 0, 0, impl->bitmap->GetWidth(), impl->bitmap->GetHeight()) != Gdiplus::Ok)
    return nullptr;
  return std::unique_ptr<BackgroundPicture>(new BackgroundPicture(std::move(impl)));
}

int BackgroundPicture::Width() const { return static_cast<int>(impl_->bitmap->GetWidth()); }
int BackgroundPicture::Height() const { return static_cast<int>(impl_->bitmap->GetHeight()); }

bool BackgroundPicture::HasWhiteCorner() const {
  return IsWhite(*impl_->bitmap, 0, 0) || IsWhite(*impl_->bitmap, Width() - 1, Height() - 1);
}

void BackgroundPicture::DrawScaled(HDC dc, int width, int height) const {
  Gdiplus::Graphics graphics(dc);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
  graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  graphics.DrawImage(impl_->bitmap.get(), Gdiplus::Rect(0, 0, width, height));
}

}  // namespace snibbet

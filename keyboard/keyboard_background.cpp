#include "keyboard/keyboard_background.h"

#include "ui/gdi.h"
#include "visual/picture.h"

namespace snibbet {
namespace {

// The corners as drawn on black: a transparent corner brings no edge of its own.
bool HasWhiteCornerPixel(const Picture& picture) {
  const ui::Bitmap bitmap(picture.CreateBitmap(RGB(0, 0, 0)));
  if (!bitmap) return false;
  const ui::MemoryDC dc;
  const ui::SelectedObject selected(dc, bitmap.Get());
  const auto white = [&](int x, int y) { return (GetPixel(dc, x, y) & 0x00FFFFFF) == 0x00FFFFFF; };
  return white(0, 0) || white(picture.Width() - 1, picture.Height() - 1);
}

}  // namespace

struct BackgroundPicture::Impl {
  std::unique_ptr<Picture> picture;
  bool whiteCorner = false;
};

BackgroundPicture::BackgroundPicture(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
BackgroundPicture::~BackgroundPicture() = default;

std::unique_ptr<BackgroundPicture> BackgroundPicture::Load(const std::wstring& path) {
  auto impl = std::make_unique<Impl>();
  try {
    impl->picture = ProgramPictureFormats().LoadFromFile(path);
  } catch (const PictureLoadError&) {
    return nullptr;
  }
  if (impl->picture->Width() <= 0 || impl->picture->Height() <= 0) return nullptr;
  impl->whiteCorner = HasWhiteCornerPixel(*impl->picture);
  return std::unique_ptr<BackgroundPicture>(new BackgroundPicture(std::move(impl)));
}

int BackgroundPicture::Width() const { return impl_->picture->Width(); }
int BackgroundPicture::Height() const { return impl_->picture->Height(); }

bool BackgroundPicture::HasWhiteCorner() const { return impl_->whiteCorner; }

void BackgroundPicture::DrawScaled(HDC dc, int width, int height) const {
  impl_->picture->DrawResampled(dc, RECT{0, 0, width, height});
}

void BackgroundPicture::DrawAt(HDC dc, int x, int y) const {
  impl_->picture->Draw(dc, RECT{x, y, x + Width(), y + Height()});
}

std::unique_ptr<HeldPicture> HeldBackgroundPicture::Load(const std::wstring& path) {
  std::unique_ptr<BackgroundPicture> picture = BackgroundPicture::Load(path);
  if (!picture) return nullptr;
  return std::make_unique<HeldBackgroundPicture>(std::move(picture));
}

}  // namespace snibbet

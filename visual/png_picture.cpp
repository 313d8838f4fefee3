#include "visual/png_picture.h"

#include <cstring>
#include <optional>
#include <stdexcept>

#include "ui/gdi.h"

namespace snibbet {
namespace {

using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using gdiplus::CheckStatus;

// 32 bits with premultiplied alpha; the pixels are handed over as they are.
constexpr Gdiplus::PixelFormat kPixelFormat = PixelFormat32bppPARGB;

// A graphics object on a device context, deleted at scope end.
class Graphics {
 public:
  Graphics(const gdiplus::Api& api, HDC dc) : api_(api) { CheckStatus(api.CreateFromHDC(dc, &graphics_)); }
  ~Graphics() { api_.DeleteGraphics(graphics_); }
  Graphics(const Graphics&) = delete;
  Graphics& operator=(const Graphics&) = delete;
  GpGraphics* Get() const { return graphics_; }

 private:
  const gdiplus::Api& api_;
  GpGraphics* graphics_ = nullptr;
};

const CLSID& PngEncoder(const gdiplus::Api& api) {
  static const std::optional<CLSID> encoder = gdiplus::EncoderClsid(api, L"image/png");
  if (!encoder) throw std::runtime_error("GDI+ has no PNG encoder");
  return *encoder;
}

}  // namespace

PngImage::PngImage(const gdiplus::Api& api, GpBitmap* image, std::unique_ptr<IStream, StreamRelease> source,
                   std::vector<std::uint32_t> bits)
    : api_(api), image_(image), source_(std::move(source)), bits_(std::move(bits)) {
  if (api_.GetImageDimension(image_, &width_, &height_) != Gdiplus::Ok) {
    api_.DisposeImage(image_);
    throw PictureLoadError("the picture is damaged");
  }
}

PngImage::~PngImage() {
  // The stream and the pixels go after the image that reads them.
  api_.DisposeImage(image_);
}

std::unique_ptr<PngImage> PngImage::FromStream(const gdiplus::Api& api, std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kMinStreamSize) throw PictureLoadError("the picture is too short");
  if (bytes[0] == 'B' && bytes[1] == 'M') {
    const ui::Bitmap bitmap(LoadBitmapFileBytes(bytes));
    return FromBitmap(api, bitmap.Get());
  }
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!block) throw std::bad_alloc();
  if (void* data = GlobalLock(block)) {
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
  }
  IStream* raw = nullptr;
  // The stream frees the block when it is released, which the image decides.
  if (CreateStreamOnHGlobal(block, TRUE, &raw) != S_OK) {
    GlobalFree(block);
    throw std::bad_alloc();
  }
  std::unique_ptr<IStream, StreamRelease> stream(raw);
  GpBitmap* image = nullptr;
  if (api.CreateBitmapFromStream(stream.get(), &image) != Gdiplus::Ok || !image)
    throw PictureLoadError("the picture is damaged");
  return std::unique_ptr<PngImage>(new PngImage(api, image, std::move(stream), {}));
}

std::unique_ptr<PngImage> PngImage::FromBitmap(const gdiplus::Api& api, HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight == 0)
    throw PictureLoadError("the picture is damaged");
  const int width = info.bmWidth, height = std::abs(info.bmHeight);
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;  // top-down
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const ui::WindowDC screen;
  if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS) == 0)
    throw PictureLoadError("the picture is damaged");
  return FromBits(api, width, height, std::move(pixels), info.bmBitsPixel == 32);
}

std::unique_ptr<PngImage> PngImage::FromBits(const gdiplus::Api& api, int width, int height,
                                             std::vector<std::uint32_t> pixels, bool hasAlpha) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    throw PictureLoadError("the picture is damaged");
  if (!hasAlpha) {
    for (auto& pixel : pixels) pixel |= 0xFF000000u;
  }
  GpBitmap* image = nullptr;
  CheckStatus(api.CreateBitmapFromScan0(width, height, width * 4, kPixelFormat,
                                        reinterpret_cast<BYTE*>(pixels.data()), &image));
  return std::unique_ptr<PngImage>(new PngImage(api, image, nullptr, std::move(pixels)));
}

int PngImage::Width() const { return static_cast<int>(width_); }
int PngImage::Height() const { return static_cast<int>(height_); }

void PngImage::Draw(HDC dc, const RECT& area) const { DrawPart(dc, area, RECT{0, 0, Width(), Height()}); }

void PngImage::DrawPart(HDC dc, const RECT& area, const RECT& source) const {
  const Graphics graphics(api_, dc);
  DrawPartToGraphics(graphics.Get(), area, source);
}

void PngImage::DrawPartToGraphics(GpGraphics* graphics, const RECT& area, const RECT& source) const {
  float sourceWidth = static_cast<float>(source.right - source.left);
  float sourceHeight = static_cast<float>(source.bottom - source.top);
  const float width = static_cast<float>(area.right - area.left);
  const float height = static_cast<float>(area.bottom - area.top);
  if (sourceWidth < 1 || sourceHeight < 1 || width < 1 || height < 1) return;
  const bool enlarged = width > sourceWidth || height > sourceHeight;
  if (width > sourceWidth && sourceWidth > 1) sourceWidth -= 1;
  if (height > sourceHeight && sourceHeight > 1) sourceHeight -= 1;
  // A smoothing filter blends in the pixels beyond the part: enlarged, each
  // pixel takes the source pixel under its centre.
  Gdiplus::InterpolationMode interpolation = Gdiplus::InterpolationModeDefault;
  Gdiplus::PixelOffsetMode offset = Gdiplus::PixelOffsetModeDefault;
  if (enlarged) {
    CheckStatus(api_.GetInterpolationMode(graphics, &interpolation));
    CheckStatus(api_.GetPixelOffsetMode(graphics, &offset));
    CheckStatus(api_.SetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor));
    CheckStatus(api_.SetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf));
  }
  const Gdiplus::GpStatus status = api_.DrawImageRectRect(
      graphics, image_, static_cast<float>(area.left), static_cast<float>(area.top), width, height,
      static_cast<float>(source.left), static_cast<float>(source.top), sourceWidth, sourceHeight, Gdiplus::UnitPixel,
      nullptr, nullptr, nullptr);
  if (enlarged) {
    api_.SetInterpolationMode(graphics, interpolation);
    api_.SetPixelOffsetMode(graphics, offset);
  }
  CheckStatus(status);
}

void PngImage::DrawResampled(HDC dc, const RECT& area) const {
  const Graphics graphics(api_, dc);
  CheckStatus(api_.SetInterpolationMode(graphics.Get(), Gdiplus::InterpolationModeHighQualityBicubic));
  CheckStatus(api_.SetPixelOffsetMode(graphics.Get(), Gdiplus::PixelOffsetModeHalf));
  CheckStatus(api_.DrawImageRectRect(graphics.Get(), image_, static_cast<float>(area.left),
                                     static_cast<float>(area.top), static_cast<float>(area.right - area.left),
                                     static_cast<float>(area.bottom - area.top), 0, 0, width_, height_,
                                     Gdiplus::UnitPixel, nullptr, nullptr, nullptr));
}

std::vector<std::uint8_t> PngImage::SaveAsPng() const {
  IStream* raw = nullptr;
  if (CreateStreamOnHGlobal(nullptr, TRUE, &raw) != S_OK) throw std::bad_alloc();
  const std::unique_ptr<IStream, StreamRelease> stream(raw);
  CheckStatus(api_.SaveImageToStream(image_, stream.get(), &PngEncoder(api_), nullptr));
  HGLOBAL block = nullptr;
  STATSTG stat{};
  if (GetHGlobalFromStream(stream.get(), &block) != S_OK || stream->Stat(&stat, STATFLAG_NONAME) != S_OK)
    throw std::runtime_error("the saved picture cannot be read back");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(stat.cbSize.QuadPart));
  if (const void* data = GlobalLock(block)) {
    std::memcpy(bytes.data(), data, bytes.size());
    GlobalUnlock(block);
  }
  return bytes;
}

HBITMAP PngImage::CreateBitmap32(Gdiplus::ARGB background) const {
  HBITMAP bitmap = nullptr;
  CheckStatus(api_.CreateHBITMAPFromBitmap(image_, &bitmap, background));
  return bitmap;
}

bool RegisterPngPicture(PictureFormats& formats) {
  const gdiplus::Api* api = gdiplus::GdiPlus();
  if (!api) return false;
  formats.Register(L"png", L"PNG graphics", [api](std::span<const std::uint8_t> bytes) -> std::unique_ptr<Picture> {
    return PngImage::FromStream(*api, bytes);
  });
  return true;
}

}  // namespace snibbet

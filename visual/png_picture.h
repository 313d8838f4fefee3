#pragma once
// PNG pictures through GDI+: decoded, drawn and saved by it, made from a PNG
// (or any stream GDI+ reads), a Windows bitmap stream or a bitmap. GUI thread
// only; every call needs GDI+ started (gdiplus_api.h).
#include <windows.h>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "visual/gdiplus_api.h"
#include "visual/picture.h"

namespace snibbet {

class PngImage final : public Picture {
 public:
  // Bytes of a BMP file header: a shorter stream is no picture at all.
  static constexpr std::size_t kMinStreamSize = 14;

  // A "BM" stream goes through the bitmap path, anything else to GDI+.
  // Throws PictureLoadError for a stream shorter than a file header or one
  // that is not a readable picture.
  static std::unique_ptr<PngImage> FromStream(const gdiplus::Api& api, std::span<const std::uint8_t> bytes);
  // The bitmap's pixels; its alpha is kept when it has 32 bits per pixel,
  // otherwise the picture is opaque.
  static std::unique_ptr<PngImage> FromBitmap(const gdiplus::Api& api, HBITMAP bitmap);
  // Top-down 32-bit pixels (0xAARRGGBB); alpha set to 0xFF unless hasAlpha.
  static std::unique_ptr<PngImage> FromBits(const gdiplus::Api& api, int width, int height,
                                            std::vector<std::uint32_t> pixels, bool hasAlpha);
  ~PngImage() override;
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;

  int Width() const override;
  int Height() const override;
  void Draw(HDC dc, const RECT& area) const override;
  // Part of the picture into `area` of the device context.
  void DrawPart(HDC dc, const RECT& area, const RECT& source) const;
  // An enlarged part is taken one pixel narrower (and lower) than asked and
  // drawn unfiltered, so that the pixels next to it never show.
  void DrawPartToGraphics(Gdiplus::GpGraphics* graphics, const RECT& area, const RECT& source) const;
  // High-quality bicubic filtering.
  void DrawResampled(HDC dc, const RECT& area) const override;
  // The picture as a PNG file, whatever it was made from.
  std::vector<std::uint8_t> SaveAsPng() const;
  // A 32-bit bitmap composed on `background` (0: alpha kept), owned by the caller.
  HBITMAP CreateBitmap32(Gdiplus::ARGB background = 0) const;

 private:
  struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
  };
  PngImage(const gdiplus::Api& api, Gdiplus::GpBitmap* image, std::unique_ptr<IStream, StreamRelease> source,
           std::vector<std::uint32_t> bits);

  const gdiplus::Api& api_;
  Gdiplus::GpBitmap* image_;
  // GDI+ may decode lazily from the stream it was made from: held until the image is gone.
  std::unique_ptr<IStream, StreamRelease> source_;
  // The pixels of an image made from pixels, which GDI+ uses in place.
  std::vector<std::uint32_t> bits_;
  float width_ = 0, height_ = 0;
};

// Registers the PNG format with `formats` when GDI+ has started; false, with
// nothing registered, when it has not.
bool RegisterPngPicture(PictureFormats& formats);

}  // namespace snibbet

// Pictures by file extension and PNG over GDI+ (Wine's gdiplus.dll): the
// round trip through PNG with and without alpha, drawing an enlarged part,
// and damaged or short streams as picture-load errors.
#include "visual/png_picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "ui/gdi.h"

namespace snibbet::test {
namespace {

// A bitmap of `bits` bits per pixel from top-down 0xAARRGGBB pixels.
HBITMAP MakeBitmap(int width, int height, int bits, const std::vector<std::uint32_t>& pixels) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, static_cast<WORD>(bits), BI_RGB, 0, 0, 0, 0, 0};
  void* data = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &data, nullptr, 0);
  const ui::WindowDC screen;
  BITMAPINFO source{};
  source.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  SetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &source, DIB_RGB_COLORS);
  return bitmap;
}

std::vector<std::uint32_t> PixelsOf(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
  const ui::WindowDC screen;
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS);
  return pixels;
}

// A Windows bitmap file of 24 bits, bottom-up, from 0x00RRGGBB pixels.
std::vector<std::uint8_t> BitmapFile(int width, int height, std::uint32_t color) {
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> bytes(file.bfOffBits + stride * height);
  file.bfSize = static_cast<DWORD>(bytes.size());
  std::memcpy(bytes.data(), &file, sizeof file);
  std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) std::memcpy(&bytes[file.bfOffBits + y * stride + x * 3], &color, 3);
  return bytes;
}

class PngPicture : public ::testing::Test {
 protected:
  void SetUp() override {
    api_ = gdiplus::GdiPlus();
    ASSERT_NE(api_, nullptr) << "GDI+ did not start";
  }
  std::unique_ptr<PngImage> RoundTrip(HBITMAP bitmap) {
    const auto saved = PngImage::FromBitmap(*api_, bitmap)->SaveAsPng();
    EXPECT_GE(saved.size(), 8u);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 8), "\x89PNG\r\n\x1a\n");
    return PngImage::FromStream(*api_, saved);
  }
  std::uint32_t FirstPixel(const PngImage& image) {
    const ui::Bitmap bitmap(image.CreateBitmap32());
    return PixelsOf(bitmap.Get(), image.Width(), image.Height())[0];
  }
  const gdiplus::Api* api_ = nullptr;
};

TEST_F(PngPicture, SavesAsPngOpaqueFrom24BitsAndWithItsAlphaFrom32Bits) {
  const ui::Bitmap opaque(MakeBitmap(3, 2, 24, std::vector<std::uint32_t>(6, 0x00336699)));
  const auto fromOpaque = RoundTrip(opaque.Get());
  EXPECT_EQ(fromOpaque->Width(), 3);
  EXPECT_EQ(fromOpaque->Height(), 2);
  EXPECT_EQ(FirstPixel(*fromOpaque) >> 24, 0xFFu);

  // Premultiplied: a half-transparent dark red.
  const ui::Bitmap translucent(MakeBitmap(2, 2, 32, std::vector<std::uint32_t>(4, 0x80400000)));
  EXPECT_EQ(FirstPixel(*RoundTrip(translucent.Get())) >> 24, 0x80u);
}

TEST_F(PngPicture, AnEnlargedPartIsTakenOnePixelNarrowerSoItsNeighbourStaysOut) {
  const auto image = PngImage::FromBits(*api_, 2, 1, {0x00FF0000, 0x000000FF}, false);  // red | blue
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 4, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  const ui::Bitmap target(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const ui::MemoryDC dc;
  {
    const ui::SelectedObject selected(dc, target.Get());
    image->DrawPart(dc, RECT{0, 0, 4, 1}, RECT{0, 0, 2, 1});
    GdiFlush();
  }
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (int x = 0; x < 4; ++x) {
    EXPECT_LT(pixels[x] & 0xFF, 0x20u) << "blue shows at " << x << ": " << std::hex << pixels[x];
    EXPECT_GT((pixels[x] >> 16) & 0xFF, 0xC0u) << "no red at " << x << ": " << std::hex << pixels[x];
  }
}

TEST_F(PngPicture, ABitmapStreamTakesTheBitmapPathAndKeepsNoAlpha) {
  const auto image = PngImage::FromStream(*api_, BitmapFile(5, 3, 0x0000FF00));
  EXPECT_EQ(image->Width(), 5);
  EXPECT_EQ(image->Height(), 3);
  EXPECT_EQ(FirstPixel(*image), 0xFF00FF00u);
}

TEST_F(PngPicture, AShortOrDamagedStreamIsAPictureLoadError) {
  const std::vector<std::uint8_t> shortStream{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  EXPECT_THROW(PngImage::FromStream(*api_, shortStream), PictureLoadError);
  std::vector<std::uint8_t> damaged(shortStream);
  damaged.resize(64, 0x5A);
  EXPECT_THROW(PngImage::FromStream(*api_, damaged), PictureLoadError);
  auto bitmapHeaderOnly = BitmapFile(40, 40, 0);
  bitmapHeaderOnly.resize(60);
  EXPECT_THROW(PngImage::FromStream(*api_, bitmapHeaderOnly), PictureLoadError);
}

TEST_F(PngPicture, TheStreamsBytesMayGoAsSoonAsThePictureIsMade) {
  const ui::Bitmap source(MakeBitmap(2, 2, 24, std::vector<std::uint32_t>(4, 0x00123456)));
  auto saved = PngImage::FromBitmap(*api_, source.Get())->SaveAsPng();
  const auto image = PngImage::FromStream(*api_, saved);
  std::fill(saved.begin(), saved.end(), 0);
  saved.clear();
  saved.shrink_to_fit();
  EXPECT_EQ(FirstPixel(*image), 0xFF123456u);
}

class PictureFiles : public ::testing::Test {
 protected:
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::wstring Write(const std::wstring& name, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(folder_);
    const auto path = folder_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
    return path.wstring();
  }
  std::filesystem::path folder_ = std::filesystem::temp_directory_path() /
                                  ("picture_files_" + std::to_string(GetCurrentProcessId()));
};

TEST_F(PictureFiles, OpenByExtensionWithPngOnlyWhereGdiPlusRuns) {
  const std::wstring bmp = Write(L"green.BMP", BitmapFile(4, 2, 0x0000FF00));
  const auto picture = ProgramPictureFormats().LoadFromFile(bmp);
  EXPECT_EQ(picture->Width(), 4);
  EXPECT_EQ(picture->Height(), 2);
  const ui::Bitmap copy(picture->CreateBitmap(RGB(255, 255, 255)));
  EXPECT_EQ(PixelsOf(copy.Get(), 4, 2)[0] & 0xFFFFFF, 0x00FF00u);

  const ui::Bitmap source(MakeBitmap(2, 2, 24, std::vector<std::uint32_t>(4, 0x00FF0000)));
  const std::wstring png = Write(L"red.png", PngImage::FromBitmap(*gdiplus::GdiPlus(), source.Get())->SaveAsPng());
  EXPECT_EQ(ProgramPictureFormats().LoadFromFile(png)->Width(), 2);
  // Without GDI+ the format is not there, and the file is one of an unknown kind.
  EXPECT_FALSE(PictureFormats::GdiFormats().Knows(L"png"));
  EXPECT_THROW(PictureFormats::GdiFormats().LoadFromFile(png), PictureLoadError);

  EXPECT_THROW(ProgramPictureFormats().LoadFromFile(Write(L"odd.xyz", BitmapFile(1, 1, 0))), PictureLoadError);
  EXPECT_THROW(ProgramPictureFormats().LoadFromFile(Write(L"bad.png", std::vector<std::uint8_t>(100, 7))),
               PictureLoadError);
  EXPECT_THROW(ProgramPictureFormats().LoadFromFile(folder_.wstring() + L"\\gone.bmp"), PictureLoadError);
}

}  // namespace
}  // namespace snibbet::test

#include "visual/picture.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "ui/gdi.h"
#include "ui/handles.h"
#include "visual/png_picture.h"

namespace snibbet {
namespace {

// Beyond this the picture is taken for damaged rather than allocated.
constexpr std::int64_t kMaxPixels = 1 << 28;

std::wstring Lower(std::wstring_view text) {
  std::wstring lower(text);
  for (auto& c : lower) c = static_cast<wchar_t>(std::towlower(c));
  return lower;
}

std::wstring ExtensionOf(const std::wstring& path) {
  const std::size_t dot = path.find_last_of(L'.');
  const std::size_t slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return {};
  return path.substr(dot + 1);
}

std::vector<std::uint8_t> ReadWholeFile(const std::wstring& path) {
  ui::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
    throw PictureLoadError("the picture file cannot be read");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    throw PictureLoadError("the picture file cannot be read");
  bytes.resize(read);
  return bytes;
}

template <class T>
T ReadAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
  T value{};
  if (offset > bytes.size() || bytes.size() - offset < sizeof value) throw PictureLoadError("the picture is damaged");
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

int ScreenPixelsPerInch(int index) {
  const ui::WindowDC screen;
  const int dpi = GetDeviceCaps(screen, index);
  return dpi > 0 ? dpi : 96;
}

class GdiBitmapPicture final : public Picture {
 public:
  explicit GdiBitmapPicture(HBITMAP bitmap) : bitmap_(bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) throw PictureLoadError("the picture is damaged");
    width_ = info.bmWidth;
    height_ = std::abs(info.bmHeight);
  }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& area) const override {
    const ui::MemoryDC source(dc);
    const ui::SelectedObject selected(source, bitmap_.Get());
    const int oldMode = SetStretchBltMode(dc, HALFTONE);
    POINT oldOrigin{};
    SetBrushOrgEx(dc, 0, 0, &oldOrigin);
    StretchBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source, 0, 0, width_,
               height_, SRCCOPY);
    SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    SetStretchBltMode(dc, oldMode);
  }

 private:
  ui::Bitmap bitmap_;
  int width_ = 0, height_ = 0;
};

class IconPicture final : public Picture {
 public:
  IconPicture(HICON icon, int width, int height) : icon_(icon), width_(width), height_(height) {}
  ~IconPicture() override { DestroyIcon(icon_); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& area) const override {
    DrawIconEx(dc, area.left, area.top, icon_, area.right - area.left, area.bottom - area.top, 0, nullptr, DI_NORMAL);
  }

 private:
  HICON icon_;
  int width_, height_;
};

class MetafilePicture final : public Picture {
 public:
  MetafilePicture(HENHMETAFILE metafile, int width, int height) : metafile_(metafile), width_(width), height_(height) {}
  ~MetafilePicture() override { DeleteEnhMetaFile(metafile_); }
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void Draw(HDC dc, const RECT& area) const override { PlayEnhMetaFile(dc, metafile_, &area); }

 private:
  HENHMETAFILE metafile_;
  int width_, height_;
};

// The first picture of the icon file's directory.
std::unique_ptr<Picture> LoadIcon(std::span<const std::uint8_t> bytes) {
  if (ReadAt<WORD>(bytes, 2) != 1 || ReadAt<WORD>(bytes, 4) < 1) throw PictureLoadError("the picture is damaged");
  const int width = ReadAt<BYTE>(bytes, 6) ? ReadAt<BYTE>(bytes, 6) : 256;
  const int height = ReadAt<BYTE>(bytes, 7) ? ReadAt<BYTE>(bytes, 7) : 256;
  const DWORD size = ReadAt<DWORD>(bytes, 14), offset = ReadAt<DWORD>(bytes, 18);
  if (offset > bytes.size() || bytes.size() - offset < size || size == 0) throw PictureLoadError("the picture is damaged");
  HICON icon = CreateIconFromResourceEx(const_cast<PBYTE>(bytes.data() + offset), size, TRUE, 0x00030000, width,
                                        height, LR_DEFAULTCOLOR);
  if (!icon) throw PictureLoadError("the picture is damaged");
  return std::make_unique<IconPicture>(icon, width, height);
}

std::unique_ptr<Picture> MetafileOf(HENHMETAFILE metafile) {
  if (!metafile) throw PictureLoadError("the picture is damaged");
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile, sizeof header, &header);
  // The frame is in 0.01 mm; shown at the screen's resolution.
  const int width = MulDiv(header.rclFrame.right - header.rclFrame.left, ScreenPixelsPerInch(LOGPIXELSX), 2540);
  const int height = MulDiv(header.rclFrame.bottom - header.rclFrame.top, ScreenPixelsPerInch(LOGPIXELSY), 2540);
  return std::make_unique<MetafilePicture>(metafile, std::max(width, 0), std::max(height, 0));
}

std::unique_ptr<Picture> LoadEnhancedMetafile(std::span<const std::uint8_t> bytes) {
  return MetafileOf(SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), bytes.data()));
}

// A Windows metafile with its placeable header, which gives its size.
std::unique_ptr<Picture> LoadWindowsMetafile(std::span<const std::uint8_t> bytes) {
  constexpr DWORD kPlaceableKey = 0x9AC6CDD7;
  constexpr std::size_t kPlaceableHeaderSize = 22;
  if (ReadAt<DWORD>(bytes, 0) != kPlaceableKey) throw PictureLoadError("the picture is damaged");
  const int width = ReadAt<SHORT>(bytes, 10) - ReadAt<SHORT>(bytes, 6);
  const int height = ReadAt<SHORT>(bytes, 12) - ReadAt<SHORT>(bytes, 8);
  const int unitsPerInch = ReadAt<WORD>(bytes, 14);
  if (width <= 0 || height <= 0 || unitsPerInch <= 0 || bytes.size() <= kPlaceableHeaderSize)
    throw PictureLoadError("the picture is damaged");
  METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(width, 2540, unitsPerInch), MulDiv(height, 2540, unitsPerInch), nullptr};
  return MetafileOf(SetWinMetaFileBits(static_cast<UINT>(bytes.size() - kPlaceableHeaderSize),
                                       bytes.data() + kPlaceableHeaderSize, nullptr, &picture));
}

}  // namespace

HBITMAP Picture::CreateBitmap(COLORREF background) const {
  const int width = Width(), height = Height();
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  ui::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return nullptr;
  const ui::MemoryDC dc;
  {
    const ui::SelectedObject selected(dc, bitmap.Get());
    const RECT area{0, 0, width, height};
    const ui::Brush brush(CreateSolidBrush(background));
    FillRect(dc, &area, brush.Get());
    Draw(dc, area);
  }
  return bitmap.Release();
}

HBITMAP LoadBitmapFileBytes(std::span<const std::uint8_t> bytes) {
  constexpr std::size_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);
  if (ReadAt<WORD>(bytes, 0) != 0x4D42) throw PictureLoadError("the picture is not a bitmap");
  const auto header = ReadAt<BITMAPINFOHEADER>(bytes, kFileHeaderSize);
  if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
      header.biPlanes != 1 || static_cast<std::int64_t>(header.biWidth) * std::abs(std::int64_t{header.biHeight}) > kMaxPixels)
    throw PictureLoadError("the picture is damaged");
  const std::size_t masks = header.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
  const std::size_t colors = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount) : header.biClrUsed;
  const std::size_t infoSize = header.biSize + masks + colors * sizeof(RGBQUAD);
  if (infoSize > bytes.size() - kFileHeaderSize) throw PictureLoadError("the picture is damaged");
  const DWORD offset = ReadAt<DWORD>(bytes, 10);
  const std::size_t bitsAt = offset >= kFileHeaderSize + infoSize && offset < bytes.size() ? offset : kFileHeaderSize + infoSize;
  const bool compressed = header.biCompression == BI_RLE4 || header.biCompression == BI_RLE8;
  const std::size_t stride = ((static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
  const std::size_t needed = compressed ? 1 : stride * static_cast<std::size_t>(std::abs(header.biHeight));
  if (bitsAt > bytes.size() || bytes.size() - bitsAt < needed) throw PictureLoadError("the picture is damaged");

  // The file's own header for reading; the section's the same, uncompressed.
  std::vector<std::uint8_t> fileInfo(bytes.begin() + kFileHeaderSize, bytes.begin() + kFileHeaderSize + infoSize);
  std::vector<std::uint8_t> sectionInfo = fileInfo;
  auto* section = reinterpret_cast<BITMAPINFOHEADER*>(sectionInfo.data());
  if (compressed) {
    section->biCompression = BI_RGB;
    section->biSizeImage = 0;
  }
  void* sectionBits = nullptr;
  ui::Bitmap bitmap(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(sectionInfo.data()), DIB_RGB_COLORS,
                                     &sectionBits, nullptr, 0));
  if (!bitmap) throw PictureLoadError("the picture is damaged");
  const ui::WindowDC screen;
  const int rows = std::abs(header.biHeight);
  if (SetDIBits(screen, bitmap.Get(), 0, rows, bytes.data() + bitsAt, reinterpret_cast<BITMAPINFO*>(fileInfo.data()),
                DIB_RGB_COLORS) == 0)
    throw PictureLoadError("the picture is damaged");
  return bitmap.Release();
}

std::unique_ptr<Picture> BitmapPicture(HBITMAP bitmap) { return std::make_unique<GdiBitmapPicture>(bitmap); }

void PictureFormats::Register(std::wstring extension, std::wstring description, PictureLoader loader) {
  Unregister(extension);
  formats_.push_back({Lower(extension), std::move(description), std::move(loader)});
}

void PictureFormats::Unregister(std::wstring_view extension) {
  const std::wstring lower = Lower(extension);
  std::erase_if(formats_, [&](const Format& format) { return format.extension == lower; });
}

const PictureFormats::Format* PictureFormats::Find(std::wstring_view extension) const {
  const std::wstring lower = Lower(extension);
  for (const auto& format : formats_) {
    if (format.extension == lower) return &format;
  }
  return nullptr;
}

bool PictureFormats::Knows(std::wstring_view extension) const { return Find(extension) != nullptr; }

std::wstring PictureFormats::OpenFilter() const {
  std::wstring all, each;
  for (const auto& format : formats_) {
    const std::wstring pattern = L"*." + format.extension;
    all += (all.empty() ? L"" : L";") + pattern;
    each += L"|" + format.description + L" (" + pattern + L")|" + pattern;
  }
  return all.empty() ? std::wstring() : L"All (" + all + L")|" + all + each;
}

std::unique_ptr<Picture> PictureFormats::Load(std::wstring_view extension, std::span<const std::uint8_t> bytes) const {
  const Format* format = Find(extension);
  if (!format) throw PictureLoadError("unknown picture file extension");
  try {
    std::unique_ptr<Picture> picture = format->loader(bytes);
    if (!picture) throw PictureLoadError("the picture is damaged");
    return picture;
  } catch (const PictureLoadError&) {
    throw;
  } catch (const std::exception& error) {
    // The format's library refused it: for the caller it is one more bad picture.
    throw PictureLoadError(error.what());
  }
}

std::unique_ptr<Picture> PictureFormats::LoadFromFile(const std::wstring& path) const {
  const std::wstring extension = ExtensionOf(path);
  if (!Knows(extension)) throw PictureLoadError("unknown picture file extension");
  return Load(extension, ReadWholeFile(path));
}

PictureFormats PictureFormats::GdiFormats() {
  PictureFormats formats;
  formats.Register(L"bmp", L"Bitmaps", [](auto bytes) { return BitmapPicture(LoadBitmapFileBytes(bytes)); });
  formats.Register(L"ico", L"Icons", LoadIcon);
  formats.Register(L"emf", L"Enhanced Metafiles", LoadEnhancedMetafile);
  formats.Register(L"wmf", L"Metafiles", LoadWindowsMetafile);
  return formats;
}

const PictureFormats& ProgramPictureFormats() {
  static const PictureFormats formats = [] {
    PictureFormats all = PictureFormats::GdiFormats();
    RegisterPngPicture(all);
    return all;
  }();
  return formats;
}

}  // namespace snibbet

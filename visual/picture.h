#pragma once
// Pictures loaded from files through a registry of formats by extension: the
// formats GDI draws itself (.bmp, .ico, .emf, .wmf) and those added when a
// library they need is present (.png over GDI+, see png_picture.h).
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// A picture that could not be loaded: an unknown extension, a file that
// cannot be read, or content that is not a picture of its format.
class PictureLoadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // The whole picture stretched to `area`.
  virtual void Draw(HDC dc, const RECT& area) const = 0;
  // The same with the best filtering the format offers.
  virtual void DrawResampled(HDC dc, const RECT& area) const { Draw(dc, area); }
  // A 24-bit copy drawn on `background`, owned by the caller; null when it
  // cannot be made.
  HBITMAP CreateBitmap(COLORREF background) const;
};

// Makes a picture from a file's bytes; throws PictureLoadError.
using PictureLoader = std::function<std::unique_ptr<Picture>(std::span<const std::uint8_t> bytes)>;

class PictureFormats {
 public:
  // `extension` without the dot, compared ignoring case; a later
  // registration of the same extension replaces the earlier one.
  void Register(std::wstring extension, std::wstring description, PictureLoader loader);
  void Unregister(std::wstring_view extension);
  bool Knows(std::wstring_view extension) const;
  // An open dialog's filter of every format: "All (*.bmp;...)|*.bmp;...", then
  // each format's description with its pattern.
  std::wstring OpenFilter() const;

  // Throws PictureLoadError, never anything of the format's library.
  std::unique_ptr<Picture> LoadFromFile(const std::wstring& path) const;
  std::unique_ptr<Picture> Load(std::wstring_view extension, std::span<const std::uint8_t> bytes) const;

  // GDI's own formats only.
  static PictureFormats GdiFormats();

 private:
  struct Format {
    std::wstring extension, description;
    PictureLoader loader;
  };
  const Format* Find(std::wstring_view extension) const;
  std::vector<Format> formats_;
};

// The program's formats: GDI's, and PNG when GDI+ has started.
const PictureFormats& ProgramPictureFormats();

// A Windows bitmap file's bytes as a DIB section of the file's bit depth;
// throws PictureLoadError.
HBITMAP LoadBitmapFileBytes(std::span<const std::uint8_t> bytes);
// A GDI bitmap as a picture, taking ownership.
std::unique_ptr<Picture> BitmapPicture(HBITMAP bitmap);

}  // namespace snibbet

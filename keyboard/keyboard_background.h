#pragma once
// The picture behind the keys of the keyboard view, loaded by its file's
// extension (visual/picture.h) and drawn resampled to the view's size.
#include <windows.h>

#include <memory>
#include <string>

#include "core/preset_effects.h"

namespace snibbet {

class BackgroundPicture {
 public:
  ~BackgroundPicture();
  BackgroundPicture(const BackgroundPicture&) = delete;
  BackgroundPicture& operator=(const BackgroundPicture&) = delete;

  // Null when the file cannot be read as a picture.
  static std::unique_ptr<BackgroundPicture> Load(const std::wstring& path);

  int Width() const;
  int Height() const;
  // A white top-left or bottom-right pixel: the picture brings its own edge,
  // so the view draws no frame around it.
  bool HasWhiteCorner() const;
  // Draws the picture stretched to (0, 0)-(width, height) with high-quality filtering.
  void DrawScaled(HDC dc, int width, int height) const;
  // Draws the picture at its own size with its top-left corner at (x, y).
  void DrawAt(HDC dc, int x, int y) const;

 private:
  struct Impl;
  explicit BackgroundPicture(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// The settings' background picture, as the settings object holds it.
class HeldBackgroundPicture final : public HeldPicture {
 public:
  explicit HeldBackgroundPicture(std::unique_ptr<BackgroundPicture> picture) : picture_(std::move(picture)) {}
  const BackgroundPicture& Picture() const { return *picture_; }
  // Null when the file cannot be read as a picture.
  static std::unique_ptr<HeldPicture> Load(const std::wstring& path);

 private:
  std::unique_ptr<BackgroundPicture> picture_;
};

}  // namespace snibbet

#include "visual/picture_files.h"

#include "visual/picture.h"

namespace snibbet {

std::wstring PictureOpenFilter() { return ProgramPictureFormats().OpenFilter(); }

ui::Bitmap LoadPictureBitmap(const std::wstring& path) {
  if (path.empty()) return {};
  try {
    const std::unique_ptr<Picture> picture = ProgramPictureFormats().LoadFromFile(path);
    return ui::Bitmap(picture->CreateBitmap(RGB(255, 255, 255)));
  } catch (const PictureLoadError&) {
    return {};
  }
}

}  // namespace snibbet

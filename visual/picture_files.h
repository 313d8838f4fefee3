#pragma once
// Picture files in the program's formats: the open dialog's filter, and a
// picture file as a bitmap.
#include <string>

#include "ui/gdi.h"

namespace snibbet {

// "All (*.bmp;...)|*.bmp;...|Bitmaps (*.bmp)|*.bmp|..." for a file dialog;
// PNG is in it only when GDI+ has started.
std::wstring PictureOpenFilter();

// The picture in the file on a white background; empty when it does not load.
ui::Bitmap LoadPictureBitmap(const std::wstring& path);

}  // namespace snibbet

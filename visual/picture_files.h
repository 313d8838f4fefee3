#pragma once
// Picture files through GDI+: the open dialog's filter of every format it
// reads, and a picture file as a bitmap.
#include <string>

#include "ui/gdi.h"

namespace snibbet {

// "All (*.bmp;*.png;...)|*.bmp;*.png;...|BMP (...)|...|" for a file dialog;
// empty without GDI+.
std::wstring PictureOpenFilter();

// The picture in the file on a white background; empty when it does not load.
ui::Bitmap LoadPictureBitmap(const std::wstring& path);

}  // namespace snibbet

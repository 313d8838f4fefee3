#pragma once
// The rich-text toolbar's button pictures, drawn when the toolbar is made
// (16 x 16, transparent around the drawing).
#include "ui/image_list.h"

namespace snibbet {

enum RtfPicture : int {
  kPictureFont,
  kPictureBold,
  kPictureItalic,
  kPictureUnderline,
  kPictureAlignLeft,
  kPictureAlignCenter,
  kPictureAlignRight,
  kPictureJustify,
  kPictureBackground,
  kPictureBullets,
  kPictureIndentLess,
  kPictureIndentMore,
  kPictureSuperscript,
  kPictureSubscript,
  kPictureInsertPicture,
  kPictureInsertObject,
  kPictureFind,
  kRtfPictureCount,
};

ui::ImageList MakeRtfToolbarPictures();

}  // namespace snibbet

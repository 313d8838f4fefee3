#include "ui/image_combo_box.h"

#include <iterator>

#include "ui/image_list.h"

namespace ui {

void ImageComboBox::SetImages(const ImageList* images) {
  Send(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images ? images->Get() : nullptr));
}

int ImageComboBox::AddItem(std::wstring_view text, int image) {
  std::wstring caption(text);
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
  item.iItem = -1;  // at the end
  item.pszText = caption.data();
  item.iImage = image;
  item.iSelectedImage = image;
  return static_cast<int>(Send(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void ImageComboBox::Clear() { Send(CB_RESETCONTENT); }
int ImageComboBox::Count() const { return hwnd_ ? static_cast<int>(Send(CB_GETCOUNT)) : 0; }
int ImageComboBox::ItemIndex() const { return hwnd_ ? static_cast<int>(Send(CB_GETCURSEL)) : -1; }
void ImageComboBox::SetItemIndex(int index) { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

std::wstring ImageComboBox::ItemText(int index) const {
  wchar_t buffer[260] = {};
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_TEXT;
  item.iItem = index;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(std::size(buffer));
  if (!Send(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
  return buffer;
}

// The extended combo box passes its inner box's notifications on as its own.
bool ImageComboBox::OnCommandReflected(WORD code) {
  if (code != CBN_SELCHANGE || !onChange) return false;
  onChange();
  return true;
}

}  // namespace ui

#include "ui/tree_view.h"

#include "ui/image_list.h"
#include "ui/monitor.h"

namespace ui {
namespace {

// -1 to the control means "ask the parent" (I_IMAGECALLBACK), which nobody
// answers; an index past any list draws nothing and reads back as it was.
constexpr int kStoredNoImage = -2;
int ToStored(int image) { return image < 0 ? kStoredNoImage : image; }
int FromStored(int image) { return image < 0 ? -1 : image; }

}  // namespace

void TreeView::SetImages(const ImageList* images) {
  TreeView_SetImageList(hwnd_, images ? images->Get() : nullptr, TVSIL_NORMAL);
}

void TreeView::SetIndent(int pixels) { TreeView_SetIndent(hwnd_, ScaleToDpi(pixels)); }

TreeView::Node TreeView::AddNode(Node parent, std::wstring_view text, int image, int selectedImage,
                                 std::intptr_t data) {
  std::wstring caption(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent ? parent : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
  insert.item.pszText = caption.data();
  // Without an image list the indexes are only kept: nothing is drawn.
  insert.item.iImage = ToStored(image);
  insert.item.iSelectedImage = ToStored(selectedImage);
  insert.item.lParam = static_cast<LPARAM>(data);
  return TreeView_InsertItem(hwnd_, &insert);
}

void TreeView::DeleteNode(Node node) {
  if (node) TreeView_DeleteItem(hwnd_, node);
}

void TreeView::Clear() { TreeView_DeleteAllItems(hwnd_); }
int TreeView::Count() const { return static_cast<int>(TreeView_GetCount(hwnd_)); }
TreeView::Node TreeView::FirstNode() const { return TreeView_GetRoot(hwnd_); }
TreeView::Node TreeView::NextSibling(Node node) const { return node ? TreeView_GetNextSibling(hwnd_, node) : nullptr; }
bool TreeView::ReadNode(Node node, TVITEMW& item) const {
  if (!node) return false;
  item.hItem = node;
  return TreeView_GetItem(hwnd_, &item) != FALSE;
}

std::wstring TreeView::NodeText(Node node) const {
  wchar_t buffer[512] = {};
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = static_cast<int>(std::size(buffer));
  return ReadNode(node, item) ? std::wstring(buffer) : std::wstring();
}

void TreeView::SetNodeText(Node node, std::wstring_view text) {
  if (!node) return;
  std::wstring caption(text);
  TVITEMW item{};
  item.mask = TVIF_TEXT;
  item.hItem = node;
  item.pszText = caption.data();
  TreeView_SetItem(hwnd_, &item);
}

int TreeView::NodeImage(Node node) const {
  TVITEMW item{};
  item.mask = TVIF_IMAGE;
  return ReadNode(node, item) ? FromStored(item.iImage) : -1;
}

int TreeView::NodeSelectedImage(Node node) const {
  TVITEMW item{};
  item.mask = TVIF_SELECTEDIMAGE;
  return ReadNode(node, item) ? FromStored(item.iSelectedImage) : -1;
}

void TreeView::SetNodeImages(Node node, int image, int selectedImage) {
  if (!node) return;
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = node;
  item.iImage = ToStored(image);
  item.iSelectedImage = ToStored(selectedImage);
  TreeView_SetItem(hwnd_, &item);
}

std::intptr_t TreeView::NodeData(Node node) const {
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  return ReadNode(node, item) ? static_cast<std::intptr_t>(item.lParam) : 0;
}

TreeView::Node TreeView::Selected() const { return TreeView_GetSelection(hwnd_); }
void TreeView::Select(Node node) { TreeView_SelectItem(hwnd_, node); }

void TreeView::SelectNodeUnderMouse() {
  const DWORD at = GetMessagePos();
  TVHITTESTINFO hit{};
  hit.pt = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  ScreenToClient(hwnd_, &hit.pt);
  if (Node node = TreeView_HitTest(hwnd_, &hit); node && (hit.flags & TVHT_ONITEM)) Select(node);
}

bool TreeView::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  switch (header.code) {
    case TVN_SELCHANGINGW:
      if (!onChanging) return false;
      result = onChanging(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.hItem) ? FALSE : TRUE;
      return true;
    case TVN_SELCHANGEDW:
      if (onChange) onChange(reinterpret_cast<NMTREEVIEWW&>(header).itemNew.hItem);
      return true;
    case NM_RCLICK:
      if (!rightClickSelects) return false;
      SelectNodeUnderMouse();
      return false;  // the form may still show a menu
    default:
      return false;
  }
}

}  // namespace ui

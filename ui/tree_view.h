#pragma once
// A tree of nodes, each with a text, an image and a selected image from an
// image list, and a data value of the program's (its identity, a page
// number...). Read-only: no label editing. The design's style adds lines,
// buttons, TVS_FULLROWSELECT, TVS_TRACKSELECT and so on.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class ImageList;

class TreeView : public Control {
 public:
  using Node = HTREEITEM;

  using Control::Control;

  // The selection changed, by the user or by Select(); null: none.
  std::function<void(Node node)> onChange;
  // The user (or Select()) is about to select `node`; false refuses it.
  std::function<bool(Node node)> onChanging;
  // A right click selects the node under the mouse first.
  bool rightClickSelects = false;

  void SetImages(const ImageList* images);  // not owned; null: no images
  void SetIndent(int pixels);                // at 96 DPI

  // Appends a node under `parent` (null: at the top level). An image of -1: none.
  Node AddNode(Node parent, std::wstring_view text, int image = -1, int selectedImage = -1, std::intptr_t data = 0);
  void DeleteNode(Node node);
  void Clear();
  int Count() const;

  // Walking the tree: the first top-level node, the next sibling, the first child; null at the end.
  Node FirstNode() const;
  Node NextSibling(Node node) const;

  std::wstring NodeText(Node node) const;
  void SetNodeText(Node node, std::wstring_view text);
  int NodeImage(Node node) const;
  int NodeSelectedImage(Node node) const;
  void SetNodeImages(Node node, int image, int selectedImage);
  std::intptr_t NodeData(Node node) const;

  Node Selected() const;
  void Select(Node node);  // null clears the selection

 protected:
  const wchar_t* WindowClassName() const override { return WC_TREEVIEWW; }
  DWORD ControlStyle() const override { return WS_TABSTOP | TVS_SHOWSELALWAYS; }
  bool OnNotifyReflected(NMHDR& header, LRESULT& result) override;

 private:
  bool ReadNode(Node node, TVITEMW& item) const;
  void SelectNodeUnderMouse();
};

}  // namespace ui

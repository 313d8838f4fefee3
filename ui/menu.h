#pragma once
// Pop-up menus built from named items (like the class library's TPopupMenu):
// the program keeps the items and changes their caption, enabled, checked
// and visible state; the system menu is built afresh each time it pops up,
// so hidden items simply are not in it.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/component.h"

namespace ui {

class ImageList;
class MenuItemPainter;

class MenuItem {
 public:
  MenuItem(std::wstring name, std::wstring caption, std::function<void()> onClick = {});

  std::wstring name;
  std::wstring caption;  // L"-" makes a separator
  bool enabled = true;
  bool checked = false;
  bool radio = false;      // checked shows a bullet
  bool visible = true;
  bool isDefault = false;  // shown in bold
  int imageIndex = -1;     // in the menu's image list
  std::intptr_t tag = 0;   // the program's own value (a colour, a command number)
  std::function<void()> onClick;

  // Sub-items: an item with sub-items opens a sub-menu.
  MenuItem& Add(std::wstring name, std::wstring caption, std::function<void()> onClick = {});
  MenuItem& AddSeparator(std::wstring name = {});
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return items_; }
  void Clear() { items_.clear(); }
  MenuItem* Find(std::wstring_view itemName);  // this item's sub-tree, depth first
  bool IsSeparator() const { return caption == L"-"; }

 private:
  std::vector<std::unique_ptr<MenuItem>> items_;
};

class PopupMenu : public Component {
 public:
  PopupMenu(Form* owner, std::wstring name);
  ~PopupMenu() override;

  MenuItem& Add(std::wstring name, std::wstring caption, std::function<void()> onClick = {}) {
    return root_.Add(std::move(name), std::move(caption), std::move(onClick));
  }
  MenuItem& AddSeparator(std::wstring name = {}) { return root_.AddSeparator(std::move(name)); }
  MenuItem* Find(std::wstring_view name) { return root_.Find(name); }
  MenuItem& Item(std::wstring_view name);  // throws std::out_of_range when missing
  const std::vector<std::unique_ptr<MenuItem>>& Items() const { return root_.Items(); }
  void Clear() { root_.Clear(); }
  void SetImages(const ImageList* images) { images_ = images; }
  // With a painter every item is owner-drawn by it; the menu owns it. Null
  // frees the painter and gives the items back to the system.
  void SetPainter(std::unique_ptr<MenuItemPainter> painter);
  MenuItemPainter* Painter() const { return painter_.get(); }

  std::function<void()> onPopup;  // just before the menu shows

  // Shows the menu at a screen point and returns when it has closed, after
  // running the chosen item's onClick; true when an item was chosen. The
  // owner (default: the application window) should be the foreground window,
  // else the menu may not close when the user clicks elsewhere.
  bool Popup(POINT screen, HWND owner = nullptr, UINT alignment = TPM_LEFTALIGN | TPM_TOPALIGN);

 private:
  MenuItem root_;
  const ImageList* images_ = nullptr;
  std::unique_ptr<MenuItemPainter> painter_;
};

}  // namespace ui

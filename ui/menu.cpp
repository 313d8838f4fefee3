#include "ui/menu.h"

#include <algorithm>
#include <stdexcept>

#include "ui/application.h"
#include "ui/gdi.h"
#include "ui/handles.h"
#include "ui/image_list.h"
#include "ui/menu_item_painter.h"
#include "ui/window_subclass.h"

namespace ui {

MenuItem::MenuItem(std::wstring itemName, std::wstring itemCaption, std::function<void()> click)
    : name(std::move(itemName)), caption(std::move(itemCaption)), onClick(std::move(click)) {}

MenuItem& MenuItem::Add(std::wstring itemName, std::wstring itemCaption, std::function<void()> click) {
  items_.push_back(std::make_unique<MenuItem>(std::move(itemName), std::move(itemCaption), std::move(click)));
  return *items_.back();
}

MenuItem& MenuItem::AddSeparator(std::wstring itemName) { return Add(std::move(itemName), L"-"); }

MenuItem* MenuItem::Find(std::wstring_view itemName) {
  for (auto& item : items_) {
    if (item->name == itemName) return item.get();
    if (MenuItem* found = item->Find(itemName)) return found;
  }
  return nullptr;
}

PopupMenu::PopupMenu(Form* owner, std::wstring name) : Component(owner, std::move(name)), root_({}, {}) {}

PopupMenu::~PopupMenu() = default;

void PopupMenu::SetPainter(std::unique_ptr<MenuItemPainter> painter) { painter_ = std::move(painter); }

MenuItem& PopupMenu::Item(std::wstring_view name) {
  if (MenuItem* item = Find(name)) return *item;
  throw std::out_of_range("no menu item " + std::string(name.begin(), name.end()));
}

namespace {

// One showing of a menu: the system menu, the item of each command id and the pictures.
struct BuiltMenu {
  bool ownerDrawn = false;
  std::vector<MenuItem*> byId;  // command id - 1
  std::vector<const MenuItem*> drawn;  // owner-drawn items, separators too
  std::vector<Bitmap> pictures;

  bool Draws(ULONG_PTR data) const {
    return std::find(drawn.begin(), drawn.end(), reinterpret_cast<const MenuItem*>(data)) != drawn.end();
  }
};

// Owner-drawn items carry their MenuItem as item data, and no text or picture
// of the system's.
void MarkOwnerDrawn(const MenuItem& item, MENUITEMINFOW& info, BuiltMenu& built) {
  built.drawn.push_back(&item);
  info.fMask = (info.fMask & ~MIIM_STRING) | MIIM_FTYPE | MIIM_DATA;
  info.fType |= MFT_OWNERDRAW;
  info.dwTypeData = nullptr;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(&item);
}

HMENU Build(const MenuItem& parent, const ImageList* images, BuiltMenu& built) {
  HMENU menu = CreatePopupMenu();
  for (const auto& item : parent.Items()) {
    if (!item->visible) continue;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    if (item->IsSeparator()) {
      info.fMask = MIIM_FTYPE;
      info.fType = MFT_SEPARATOR;
      if (built.ownerDrawn) MarkOwnerDrawn(*item, info, built);
      InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
      continue;
    }
    built.byId.push_back(item.get());
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
    info.wID = static_cast<UINT>(built.byId.size());
    info.dwTypeData = const_cast<wchar_t*>(item->caption.c_str());
    info.fType = item->radio ? MFT_RADIOCHECK : MFT_STRING;
    info.fState = (item->enabled ? MFS_ENABLED : MFS_DISABLED) | (item->checked ? MFS_CHECKED : 0) |
                  (item->isDefault ? MFS_DEFAULT : 0);
    if (!item->Items().empty()) {
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = Build(*item, images, built);
    }
    if (built.ownerDrawn) {
      MarkOwnerDrawn(*item, info, built);
    } else if (images && item->imageIndex >= 0) {
      if (Bitmap picture = images->ToAlphaBitmap(item->imageIndex)) {
        info.fMask |= MIIM_BITMAP;
        info.hbmpItem = picture.Get();
        built.pictures.push_back(std::move(picture));
      }
    }
    InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
  }
  return menu;
}

}  // namespace

bool PopupMenu::Popup(POINT screen, HWND owner, UINT alignment) {
  if (onPopup) onPopup();
  if (!owner) owner = ApplicationWindow();
  BuiltMenu built;
  built.ownerDrawn = painter_ != nullptr;
  MenuHandle menu(Build(root_, images_, built));  // DestroyMenu frees the sub-menus too
  // The system asks the owner window to measure and draw owner-drawn items.
  WindowSubclass drawing;
  if (MenuItemPainter* painter = painter_.get()) {
    drawing.Attach(owner, [&, painter](UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (message == WM_MEASUREITEM) {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure.CtlType != ODT_MENU || !built.Draws(measure.itemData)) return std::nullopt;
        const SIZE size = painter->Measure(*reinterpret_cast<const MenuItem*>(measure.itemData), images_);
        measure.itemWidth = static_cast<UINT>(size.cx);
        measure.itemHeight = static_cast<UINT>(size.cy);
        return TRUE;
      }
      if (message == WM_DRAWITEM) {
        auto& draw = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw.CtlType != ODT_MENU || !built.Draws(draw.itemData)) return std::nullopt;
        painter->Paint({*reinterpret_cast<const MenuItem*>(draw.itemData), draw.hDC, draw.rcItem, draw.itemState,
                        images_});
        return TRUE;
      }
      return std::nullopt;
    });
  }
  const UINT command = TrackPopupMenuEx(menu.Get(), alignment | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                        screen.x, screen.y, owner, nullptr);
  drawing.Detach();
  PostMessageW(owner, WM_NULL, 0, 0);  // lets a menu of a background window close properly next time
  if (command == 0 || command > built.byId.size()) return false;
  // The handler may change this menu; run a copy.
  std::function<void()> click = built.byId[command - 1]->onClick;
  if (click) click();
  return true;
}

}  // namespace ui

#include "ui/main_menu.h"

#include <stdexcept>

#include "ui/form.h"

namespace ui {

MainMenu::MainMenu(Form& owner, std::wstring name) : Component(&owner, std::move(name)), form_(owner), root_({}, {}) {}

MainMenu::~MainMenu() {
  commands_.Detach();
  if (form_.Handle() && GetMenu(form_.Handle()) == menu_.Get()) SetMenu(form_.Handle(), nullptr);
}

MenuItem& MainMenu::Item(std::wstring_view name) {
  if (MenuItem* item = Find(name)) return *item;
  throw std::out_of_range("no menu item " + std::string(name.begin(), name.end()));
}

HMENU MainMenu::Build(const MenuItem& parent, bool bar) {
  HMENU menu = bar ? CreateMenu() : CreatePopupMenu();
  for (const auto& item : parent.Items()) {
    if (!item->visible) continue;
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->enabled ? MF_ENABLED : MF_GRAYED) | (item->checked ? MF_CHECKED : 0);
    UINT_PTR id = 0;
    if (!item->Items().empty()) {
      flags |= MF_POPUP;
      id = reinterpret_cast<UINT_PTR>(Build(*item, false));
    } else {
      byId_.push_back(item.get());
      id = kFirstCommand + byId_.size() - 1;
    }
    AppendMenuW(menu, flags, id, item->caption.c_str());
  }
  return menu;
}

void MainMenu::Refresh() {
  HWND window = form_.Handle();
  if (!window) return;
  byId_.clear();
  MenuHandle built(Build(root_, true));
  SetMenu(window, built.Get());
  menu_ = std::move(built);  // the old bar is destroyed only once the new one is on
  DrawMenuBar(window);
  if (commands_.Window() != window) {
    commands_.Attach(window, [this](UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
      if (message != WM_COMMAND || lParam != 0 || HIWORD(wParam) != 0) return std::nullopt;
      const UINT id = LOWORD(wParam);
      if (id < kFirstCommand || id - kFirstCommand >= byId_.size()) return std::nullopt;
      std::function<void()> click = byId_[id - kFirstCommand]->onClick;  // the handler may rebuild the bar
      if (click) click();
      return 0;
    });
  }
}

void MainMenu::Click(std::wstring_view name) {
  MenuItem& item = Item(name);
  if (!item.visible || !item.enabled || !item.onClick) return;
  std::function<void()> click = item.onClick;
  click();
}

}  // namespace ui

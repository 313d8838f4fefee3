#pragma once
// A form's menu bar built from named items, like PopupMenu: the program keeps
// the items and changes their captions and enabled state, then calls Refresh,
// which builds the bar anew. A click runs the item's onClick.
#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/component.h"
#include "ui/handles.h"
#include "ui/menu.h"
#include "ui/window_subclass.h"

namespace ui {

class MainMenu : public Component {
 public:
  MainMenu(Form& owner, std::wstring name);
  ~MainMenu() override;

  // A top-level entry; its sub-items are its drop-down.
  MenuItem& Add(std::wstring name, std::wstring caption) { return root_.Add(std::move(name), std::move(caption)); }
  MenuItem* Find(std::wstring_view name) { return root_.Find(name); }
  MenuItem& Item(std::wstring_view name);  // throws std::out_of_range when missing

  // Puts the items on the form's window as they are now (after the form is created).
  void Refresh();
  // Runs the item's onClick when it is visible and enabled, as a click does.
  void Click(std::wstring_view name);
  HMENU Handle() const { return menu_.Get(); }

 private:
  static constexpr UINT kFirstCommand = 0xA000;  // clear of the controls' ids
  HMENU Build(const MenuItem& parent, bool bar);

  Form& form_;
  MenuItem root_;
  std::vector<MenuItem*> byId_;
  MenuHandle menu_;
  WindowSubclass commands_;
};

}  // namespace ui

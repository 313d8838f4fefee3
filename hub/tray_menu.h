#pragma once
// The tray menu pmTray: its items in menu order, their captions from the
// language table, the shortcut of each binding that opens one of its windows,
// and the items the menu lock disables.
#include <functional>
#include <string>
#include <vector>

#include "ui/menu.h"

namespace snibbet {

class TQvActions;

// The menu look of the running Windows: the standard style from Vista on,
// the XP style before.
enum class PopupMenuStyle { XP, Standard };
PopupMenuStyle PopupMenuStyleForOS();

// The menu reads right to left: a Middle-East system with the program's
// windows laid out right to left.
bool TrayMenuShownRightToLeft();

struct TrayMenuHandlers {
  std::function<void()> active;
  std::function<void()> soundEnabled;
  std::function<void()> showMainKeyboard;
  std::function<void()> showTemplates;
  std::function<void()> settings;
  std::function<void()> help;
  std::function<void()> www;
  std::function<void()> mail;
  std::function<void()> forum;
  std::function<void()> requestFeature;
  std::function<void()> reportBug;
  std::function<void()> checkNewVersion;
  std::function<void()> about;
  std::function<void()> close;
};

class TrayMenu {
 public:
  explicit TrayMenu(const TrayMenuHandlers& handlers);

  ui::PopupMenu& Menu() { return pmTray_; }
  ui::MenuItem& Item(std::wstring_view name) { return pmTray_.Item(name); }

  // Every caption from the language table; pmiActive by the present state.
  void ApplyLanguage(bool active);
  // pmiActive's caption and picture.
  void ShowActive(bool active);
  // Before each opening: the captions of the window items afresh, each with
  // the shortcuts of the bindings that open that window; the sound check.
  // Without bindings only the check.
  void Refresh(const TQvActions* bindings, bool soundEnabled);
  void EnableManagerItems(bool enabled);
  // The menu lock: the items that change the program's state.
  void DisableLockedItems();
  // The look the items are drawn in; the menu measures each item itself, so
  // a caption with its shortcut always fits.
  void SetStyle(PopupMenuStyle style);
  PopupMenuStyle Style() const { return style_; }

  // The captions of the items the menu shows, in order ("-" for a
  // separator, sub-items after their parent, indented by two spaces).
  std::vector<std::wstring> ShownCaptions() const;

 private:
  void Build(const TrayMenuHandlers& handlers);
  void SetWindowItemCaptions();

  ui::PopupMenu pmTray_;
  PopupMenuStyle style_ = PopupMenuStyle::Standard;
};

}  // namespace snibbet

#pragma once
// The program's tray: the notification-area icon and its picture (the state,
// or the flag of the layout in front), the tray menu and its items' work, the
// tip balloons, the image lists the tray and the settings window show, and
// the help file handed up to the help router.
#include <windows.h>

#include <functional>
#include <string>

#include "hub/tray_icon.h"
#include "hub/tray_menu.h"
#include "ui/image_list.h"

namespace snibbet {

class DataModuleParts;
class ForegroundWatch;
class ProgramSwitch;
class TAppIni;
class TPreset;
class TQvActions;
class TMainKeyboardForm;
class TQvKeyboard;
class TrayPort;

// The picture the tray icon shows: a flag of ilLangs, else an image of ilTrayIcons.
struct TrayPicture {
  bool flag = false;
  int image = 0;
  bool operator==(const TrayPicture&) const = default;
};

// What the tray reads and writes of the rest of the program; each may be
// null, and then the tray does without it.
struct TraySources {
  TAppIni* store = nullptr;               // the tip balloons' counters
  TPreset* settings = nullptr;            // the flag, the sounds, the hidden icon, the help language
  const TQvActions* bindings = nullptr;   // the menu shows their shortcuts
  const TQvKeyboard* keyModel = nullptr;  // the layout the flag shows; none: the program's own
};

class ProgramTray {
 public:
  // The pictures are bitmap strips of `pictures`' resources; `menuRightToLeft`
  // tells whether the menu reads right to left.
  ProgramTray(TrayPort& port, DataModuleParts& parts, ForegroundWatch& watch, ProgramSwitch& programSwitch,
              TraySources sources, HINSTANCE pictures, std::function<bool()> menuRightToLeft);
  ProgramTray(const ProgramTray&) = delete;
  ProgramTray& operator=(const ProgramTray&) = delete;

  // The tray image of the present state (also for the ShowLangIcon setter).
  void UpdateTrayIcon();
  const TrayPicture& ShownTrayPicture() const { return trayPicture_; }
  // The HideTrayIcon setter's effect: the icon shown or taken away.
  void SetTrayIconVisible(bool visible);
  // Shows the tip once more unless the counter `name` in the settings key has
  // reached `most`; title and body are language-text numbers.
  void ShowTipBalloon(const std::wstring& name, int most, int titleText, int bodyText, UINT timeMs);
  const std::wstring& CurrentBalloonName() const { return balloonName_; }

  // pmiActive's caption and picture; the manager items' state.
  void ShowActiveTrayItem(bool active);
  void EnableManagerTrayItems(bool enabled);
  // The menu lock, applied once at start-up: tray items and the keyboard
  // window's buttons (null: no window).
  void ApplyAccessRestrictions(TMainKeyboardForm* keyboardWindow);
  // The menu lock of the settings ("AccessDenied"): the items that change the
  // program's state do nothing. Never locked without settings.
  bool MenuLocked() const;

  void trayMainClick();
  void trayMainBalloonClick();
  void trayMainBalloonHide();
  void pmTrayPopup();
  // The tray item that switches on and off (nothing while the menu is locked).
  void pmiActiveClick();
  void pmiSettingsClick();
  void pmiCloseClick();
  void actHelpExecute();
  // Every caption from the language table.
  void ApplyLanguage();
  // The help file for the present language, handed to the help router.
  void SelectHelpFile();
  // A second start: the tip, then the tray menu at the mouse.
  void SecondInstanceStarted();

  TrayIcon& trayMain() { return trayMain_; }
  TrayMenu& pmTray() { return pmTray_; }
  const ui::ImageList& ilMain() const { return ilMain_; }
  const ui::ImageList& ilTrayIcons() const { return ilTrayIcons_; }
  const ui::ImageList& ilLangs() const { return ilLangs_; }

 private:
  TrayMenuHandlers TrayMenuActions();
  void LoadImageLists(HINSTANCE pictures);

  TrayPort& port_;
  DataModuleParts& parts_;
  ForegroundWatch& watch_;
  ProgramSwitch& switch_;
  TraySources sources_;
  std::function<bool()> menuRightToLeft_;
  ui::ImageList ilTrayIcons_;
  ui::ImageList ilMain_;
  ui::ImageList ilLangs_;
  std::wstring balloonName_;
  std::wstring helpFile_;
  TrayPicture trayPicture_;
  TrayMenu pmTray_;
  TrayIcon trayMain_;
};

}  // namespace snibbet

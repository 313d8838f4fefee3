#pragma once
// TDataDM: the central data module, the hub of the main program. One
// non-visual object, created third at start-up (after the hidden main window
// and the error report) and kept until the process ends. It switches the
// program between active (hook library bound, own keyboard hook and clipboard
// monitor running) and inactive, and it ends the input helper when destroyed.
//
// The tray icon and menus, the application events, the timers' work, the
// template-tag menu, the version check and the error report hang on this
// module; the steps of parts that are not in the program are empty below.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/foreground_state.h"
#include "core/hook_messages.h"
#include "hub/hook_library.h"
#include "hub/tray_icon.h"
#include "hub/tray_menu.h"
#include "hub/tray_port.h"
#include "keyboard/keyboard_appearance.h"
#include "ui/application.h"
#include "ui/image_list.h"
#include "ui/timer.h"

namespace snibbet {

class TQvIcons;
class TQvIconsList;

// The Office-2003 colour scheme of the visual support: taken into use when the
// module is created and released when it is destroyed. Empty until the scheme
// exists.
void UseOfficeColourScheme();
void ReleaseOfficeColourScheme();

// Posted by a second start of the program to the running one's main form.
inline constexpr UINT kSecondInstanceMessage = 1215;

// The parts below the module that its messages and its tray act on: the
// template pop-up and the keyboard. ProgramParts is the program's own, by
// direct calls; tests hand in their own through DataModuleOptions.
class DataModuleParts {
 public:
  virtual ~DataModuleParts() = default;

  // --- the template pop-up ---
  // Opens it at the caret of the focused window.
  virtual void ShowTemplateView() = 0;
  virtual bool PopupShown() = 0;
  virtual HWND PopupWindow() = 0;
  virtual RECT PopupBounds() = 0;  // screen coordinates
  virtual void HidePopup() = 0;
  virtual void PostWheelToGrid(WPARAM wheel) = 0;

  // --- windows the pop-up must not close for ---
  virtual bool MouseOverKeyboardWindow() = 0;
  virtual HWND WizardWindow() = 0;  // the first-run wizard while it exists
  // The keyboard window: shown when hidden, hidden when shown.
  virtual void ToggleKeyboardWindow() = 0;

  // --- the keyboard hook and the key-state model ---
  virtual void ResetKeyHistory() = 0;
  // A new window in front ends the word typed, unless it was typed into that
  // window; a click at `time` ends it, unless it was begun after the click.
  virtual void ResetKeyHistoryFor(HWND foreground) {
    (void)foreground;
    ResetKeyHistory();
  }
  virtual void ResetKeyHistoryForClickAt(DWORD time) {
    (void)time;
    ResetKeyHistory();
  }
  virtual void ApplyLayout(HKL layout) = 0;  // the layout now in front
  // The program has asked for a layout itself and awaits the answer (1176).
  virtual bool LayoutAnswerPending() = 0;
  virtual void LayoutAnswered() = 0;
  // Every key of the key model shown released and the view redrawn.
  virtual void ReleaseModelKeys() = 0;
  // The keyboard view's icon set of the application in front (none: null).
  virtual void SetAppIcons(const TQvIcons* set) { (void)set; }
};

class ProgramParts : public DataModuleParts {
 public:
  void ShowTemplateView() override;
  bool PopupShown() override;
  HWND PopupWindow() override;
  RECT PopupBounds() override;
  void HidePopup() override;
  void PostWheelToGrid(WPARAM wheel) override;
  bool MouseOverKeyboardWindow() override;
  HWND WizardWindow() override;
  void ToggleKeyboardWindow() override;
  void ResetKeyHistory() override;
  void ResetKeyHistoryFor(HWND foreground) override;
  void ResetKeyHistoryForClickAt(DWORD time) override;
  void ApplyLayout(HKL layout) override;
  bool LayoutAnswerPending() override;
  void LayoutAnswered() override;
  void ReleaseModelKeys() override;
  void SetAppIcons(const TQvIcons* set) override;
};

struct DataModuleOptions {
  std::wstring hookLibrary = kHookLibraryFileName;  // loaded by name: the program folder comes first
  HINSTANCE pictures = nullptr;                     // module with the image-list strips; null: the program
  TrayPort* tray = nullptr;                         // null: DefaultTrayPort
  DataModuleParts* parts = nullptr;                 // null: ProgramParts
  TQvIconsList* iconSets = nullptr;                 // null: no application gets an icon set
  std::function<bool()> trayMenuRightToLeft = {};   // null: TrayMenuShownRightToLeft
};

// The picture the tray icon shows: a flag of ilLangs, else an image of ilTrayIcons.
struct TrayPicture {
  bool flag = false;
  int image = 0;
  bool operator==(const TrayPicture&) const = default;
};

class TDataDM : public ui::ApplicationEvents {
 public:
  explicit TDataDM(DataModuleOptions options = {});
  // Ends the input helper (WM_DESTROY, if it is still the helper).
  ~TDataDM() override;
  TDataDM(const TDataDM&) = delete;
  TDataDM& operator=(const TDataDM&) = delete;

  // Switches on: binds the hook library and starts the own keyboard hook and
  // the clipboard monitor. False, with its message shown, when that fails or
  // when already active.
  bool Start();
  // Switches off; false when not active or when the library lacks "UnHook"
  // (then the program stays active).
  bool Stop();
  bool SetActive(bool value);
  // The tray item that switches on and off (nothing while the menu is locked).
  void pmiActiveClick();
  // The menu lock of the settings ("AccessDenied"), applied once at start-up.
  void ApplyAccessRestrictions();
  // Remembers now as the last activity, at most once every 5 ms.
  void TouchActivityTick();

  // --- tray icon, tray menu and balloon tips ---
  // The tray image of the present state (also for the ShowLangIcon setter).
  void UpdateTrayIcon();
  const TrayPicture& ShownTrayPicture() const { return trayPicture_; }
  // The HideTrayIcon setter's effect: the icon shown or taken away.
  void SetTrayIconVisible(bool visible);
  // Shows the tip once more unless the counter `name` in the settings key has
  // reached `most`; title and body are language-text numbers.
  void ShowTipBalloon(const std::wstring& name, int most, int titleText, int bodyText, UINT timeMs);
  const std::wstring& CurrentBalloonName() const { return balloonName_; }
  void trayMainClick();
  void trayMainBalloonClick();
  void trayMainBalloonHide();
  void pmTrayPopup();
  void pmiSettingsClick();
  void pmiCloseClick();
  void actHelpExecute();
  // Every text of the module, after each language load.
  void ApplyLanguage();
  // The keyboard appearance filled afresh from the settings and the system
  // colours, and handed to the keyboard view (which redraws when told).
  void ApplyKeyboardAppearance();
  // The one appearance record; its users read it, the module fills it.
  const KeyboardAppearance& Appearance() const { return appearance_; }
  // The help file for the present language, handed to the help router.
  void SelectHelpFile();
  // A second start: the tip, then the tray menu at the mouse.
  void SecondInstanceStarted();

  // --- application events and the message dispatch ---
  // Every queued message of the thread passes here first; none is marked
  // handled, so each is dispatched as usual afterwards.
  bool OnMessage(MSG& msg) override;
  // The program lost activation: an open hotkey capture dialog closes.
  void OnDeactivate() override;
  void OnSettingChange(WPARAM flag, LPARAM section) override;
  // The session ends: the open windows are asked as by the tray's Exit.
  bool OnQueryEndSession() override;
  void aeMainMessage(const MSG& msg);
  void aeMainSettingChange();
  // The foreground application changed (window may be 0).
  void DetectActiveApplication(HWND window);
  // Sets ForegroundIsIE and ForegroundInPasteTable from the two tables.
  void ClassifyForegroundApp(const std::wstring& executable, const std::wstring& windowClass);
  // SnibbetCm saw a mouse button go down (1187).
  void HelperMouseDown(const MSG& msg);

  TrayIcon& trayMain() { return trayMain_; }
  TrayMenu& pmTray() { return pmTray_; }

  bool Active() const { return active_; }
  std::uint32_t LastActivityTick() const { return Foreground().LastActivityTick(); }
  HWND LastForegroundWindow() const { return lastForegroundWindow_; }
  void SetLastForegroundWindow(HWND window) { lastForegroundWindow_ = window; }
  // What the module learned of the application in front (core/foreground_state.h).
  bool FullScreenActive() const { return Foreground().FullScreenActive(); }
  bool ForegroundIsIE() const { return Foreground().ForegroundIsIE(); }
  void SetForegroundIsIE(bool value) { Foreground().SetForegroundIsIE(value); }
  bool ForegroundInPasteTable() const { return Foreground().ForegroundInPasteTable(); }
  void SetForegroundInPasteTable(bool value) { Foreground().SetForegroundInPasteTable(value); }
  bool ActionsChanged() const { return actionsChanged_; }
  void SetActionsChanged(bool value) { actionsChanged_ = value; }

  const HookLibrary& HookLib() const { return hookLibrary_; }
  const ui::ImageList& ilMain() const { return ilMain_; }
  const ui::ImageList& ilTrayIcons() const { return ilTrayIcons_; }
  const ui::ImageList& ilLangs() const { return ilLangs_; }
  const ui::ImageList& ilFormBtns() const { return ilFormBtns_; }  // the keyboard window's title buttons
  const ui::ImageList& ilKeys() const { return ilKeys_; }  // the keyboard view's key pictures
  const ui::Timer& tmrCheckVista() const { return tmrCheckVista_; }

 private:
  void DataModuleCreate();
  void DataModuleDestroy();
  void LoadImageLists(HINSTANCE pictures);
  bool MenuLocked() const;

  TrayMenuHandlers TrayMenuActions();

  // Steps of Create, Start and Stop, in the order they run.
  void ApplyPopupMenuStyles();            // pmTray, pmActions
  void BuildActionKindCatalogue();        // binding kinds for menus and lists
  void PrepareTrayMenu();                 // pmiAbout's picture, items not offered hidden
  void InstallKeyboardHook();             // the own hook; it also tells SnibbetCm (1206)
  void RemoveKeyboardHook();              // likewise (1207)
  void ShowActiveTrayItem(bool active);   // pmiActive's caption and picture
  void ApplyForegroundLayout();           // the foreground thread's keyboard layout
  void SetKeyStateModelActive(bool active);
  void RegisterClipboardMonitor();        // and the present content handled as a change
  void UnregisterClipboardMonitor();
  void EnableManagerTrayItems(bool enabled);
  void DisableLockedMenuItems();          // AccessDenied: tray items and the keyboard's buttons
  void tmrCheckVistaTimer();              // the foreground poll
  void ClosePopupForNewForeground(HWND window);
  // The icon set of the application in front; none when nothing matches.
  const TQvIcons* IconSetOfDesktop();
  const TQvIcons* IconSetOfApplication(const std::wstring& executable, const std::wstring& windowClass);

  HookLibrary hookLibrary_;
  HINSTANCE pictures_;
  DefaultTrayPort defaultTray_;
  ProgramParts programParts_;
  TrayPort& tray_;
  DataModuleParts& parts_;
  TQvIconsList* iconSets_;
  bool active_ = false;
  HWND lastForegroundWindow_ = nullptr;  // where the tray gives the focus back
  HWND polledForegroundWindow_ = nullptr;  // what the foreground poll acted on last
  bool actionsChanged_ = true;

  KeyboardAppearance appearance_;
  ui::ImageList ilTrayIcons_;
  ui::ImageList ilMain_;
  ui::ImageList ilLangs_;
  ui::ImageList ilFormBtns_;
  ui::ImageList ilKeys_;
  std::wstring balloonName_;
  std::wstring helpFile_;
  std::function<bool()> trayMenuRightToLeft_;
  TrayPicture trayPicture_;
  TrayMenu pmTray_;
  TrayIcon trayMain_;
  ui::Timer tmrCheckVista_;
};

// The one data module while it exists; std::logic_error otherwise.
TDataDM& DataDM();
TDataDM* DataDMOrNull();

// Neither the settings window nor the template editor is visible, and the
// first-run wizard is absent or hidden.
bool NoProgramWindowShown();

}  // namespace snibbet

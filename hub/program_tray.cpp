#include "hub/program_tray.h"

#include <utility>

#include "core/app_ini.h"
#include "core/bug_report.h"
#include "core/debug_log.h"
#include "core/lang_table.h"
#include "core/message_pump.h"
#include "core/preset.h"
#include "core/product_name.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "core/tray_lookups.h"
#include "core/version_check.h"
#include "core/version_info.h"
#include "core/wait_form.h"
#include "core/window_helpers.h"
#include "hub/data_module_parts.h"
#include "hub/foreground_watch.h"
#include "hub/program_switch.h"
#include "hub/tray_port.h"
#include "keyboard/actions.h"
#include "keyboard/key_model.h"
#include "keyboard/main_keyboard_form.h"
#include "ui/application.h"

namespace snibbet {
namespace {

constexpr DWORD kClickSettleMs = 50;
constexpr int kInactiveTrayImage = 3;
constexpr int kActiveTrayImage = 2;
constexpr int kAboutItemImage = 43;
constexpr int kBalloonClicked = 1000;
constexpr int kTrayPictureSize = 16;

// A one-pixel window off screen that takes the foreground, so the menu closes
// when the user clicks elsewhere.
class MenuHostWindow {
 public:
  MenuHostWindow()
      : window_(CreateWindowExW(WS_EX_TOOLWINDOW, kTrayWindowClass, L"", WS_POPUP, -10, -10, 1, 1,
                                ui::ApplicationWindow(), nullptr, GetModuleHandleW(nullptr), nullptr)) {
    if (!window_) return;
    ShowWindow(window_, SW_SHOWNA);
    SetWindowPos(window_, nullptr, -10, -10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ForceForegroundWindow(window_, true);
  }
  ~MenuHostWindow() {
    if (window_) DestroyWindow(window_);
  }
  MenuHostWindow(const MenuHostWindow&) = delete;
  MenuHostWindow& operator=(const MenuHostWindow&) = delete;
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

}  // namespace

ProgramTray::ProgramTray(TrayPort& port, DataModuleParts& parts, ForegroundWatch& watch,
                         ProgramSwitch& programSwitch, TraySources sources, HINSTANCE pictures,
                         std::function<bool()> menuRightToLeft)
    : port_(port),
      parts_(parts),
      watch_(watch),
      switch_(programSwitch),
      sources_(sources),
      menuRightToLeft_(std::move(menuRightToLeft)),
      pmTray_(TrayMenuActions()) {
  LoadImageLists(pictures);
  trayMain_.popupMenu = &pmTray_.Menu();
  trayMain_.onClick = [this] { trayMainClick(); };
  trayMain_.onBalloonClick = [this] { trayMainBalloonClick(); };
  trayMain_.onBalloonHide = [this] { trayMainBalloonHide(); };
  pmTray_.Menu().SetImages(&ilMain_);
  pmTray_.Menu().onPopup = [this] { pmTrayPopup(); };
  UpdateTrayIcon();
  pmTray_.SetStyle(PopupMenuStyleForOS());
  // The items not offered are hidden when the menu is built; the About item
  // has its picture here.
  pmTray_.Item(L"pmiAbout").imageIndex = kAboutItemImage;
}

bool ProgramTray::MenuLocked() const { return sources_.settings != nullptr && sources_.settings->AccessDenied(); }

void ProgramTray::LoadImageLists(HINSTANCE pictures) {
  ilTrayIcons_ = ui::ImageList(kTrayPictureSize, kTrayPictureSize);
  ilTrayIcons_.AddStrip(pictures, L"IL_TRAY_ICONS", CLR_NONE);
  // The menu's pictures load with its first showing; the flags with the
  // settings window or the first flag in the tray.
  ilMain_ = ui::ImageList::StripOnFirstUse(kTrayPictureSize, kTrayPictureSize, pictures, L"IL_MAIN", CLR_NONE);
  ilLangs_ = ui::ImageList::StripOnFirstUse(kTrayPictureSize, kTrayPictureSize, pictures, L"IL_LANGS", CLR_NONE);
}

TrayMenuHandlers ProgramTray::TrayMenuActions() {
  TrayMenuHandlers h;
  h.active = [this] { pmiActiveClick(); };
  h.soundEnabled = [this] {
    if (TPreset* preset = sources_.settings) preset->SetSoundEnabled(!preset->SoundEnabled());
  };
  h.showMainKeyboard = [this] {
    ForceForegroundWindow(watch_.LastForegroundWindow(), true);
    parts_.ToggleKeyboardWindow();
    watch_.TouchActivityTick();
  };
  h.showTemplates = [this] {
    ForceForegroundWindow(watch_.LastForegroundWindow(), true);
    PumpMessagesFor(kClickSettleMs);
    parts_.ShowTemplateView();
  };
  h.settings = [this] { pmiSettingsClick(); };
  h.help = [this] { actHelpExecute(); };
  h.www = [this] {
    const TPreset* preset = sources_.settings;
    port_.OpenAddress(preset ? preset->LocalizeWebAddress(kProductPageAddress) : std::wstring(kProductPageAddress));
  };
  h.mail = [this] { port_.OpenAddress(SupportMailLink(GetProductVersion())); };
  h.forum = [this] { port_.OpenAddress(kForumPageAddress); };
  h.requestFeature = [this] { port_.OpenAddress(kFeatureRequestAddress); };
  h.reportBug = [] { BuildBugReport(L""); };
  h.checkNewVersion = [] { CheckNewVersion(true); };
  h.about = [this] { port_.OpenAbout(); };
  h.close = [this] { pmiCloseClick(); };
  return h;
}

void ProgramTray::UpdateTrayIcon() {
  const TPreset* preset = sources_.settings;
  const bool active = switch_.Active();
  TrayPicture picture{.flag = false, .image = kInactiveTrayImage};
  if (active && preset && preset->ShowLangIcon()) {
    // The layout the key model types in: the one of the window in front, which
    // the program's own thread need not share.
    const TQvKeyboard* model = sources_.keyModel;
    const LayoutHandle layout =
        model ? model->CurrentLayout() : reinterpret_cast<LayoutHandle>(GetKeyboardLayout(0));
    picture = {.flag = true, .image = LayoutToFlagIndex(layout)};
  } else if (active) {
    picture.image = kActiveTrayImage;
  }
  const ui::ImageList& list = picture.flag ? ilLangs_ : ilTrayIcons_;
  if (picture.image >= list.Count()) return;
  trayPicture_ = picture;
  ui::IconHandle icon = list.ExtractIcon(picture.image);
  trayMain_.SetIcon(icon.Get());
}

void ProgramTray::SetTrayIconVisible(bool visible) {
  const bool wasInShell = trayMain_.InShell();
  trayMain_.SetVisible(visible);
  if (visible && !wasInShell) DebugLog((trayMain_.InShell() ? L"TrayIcon " : L"TrayIcon refused ") + trayMain_.Hint());
}

void ProgramTray::ShowTipBalloon(const std::wstring& name, int most, int titleText, int bodyText, UINT timeMs) {
  // Without a store no tip could be counted, so none is shown.
  if (!sources_.store) return;
  balloonName_ = name;
  TAppIni& store = *sources_.store;
  const int count = store.ReadIntegerDef(name, 0);
  if (count >= most) return;
  store.WriteInteger(name, count + 1);
  trayMain_.SetVisible(true);
  const std::wstring body = Lang().GetText(bodyText, kNoText);
  const std::wstring title = FormatText(Lang().GetText(titleText, kProductName), {kProductName});
  const bool shown = trayMain_.ShowBalloon(title, body, timeMs);
  DebugLog(L"Balloon " + name + (shown ? L"" : L" refused"));
  // A hidden icon shows only for the balloon.
  if (const TPreset* preset = sources_.settings) trayMain_.SetVisible(!preset->HideTrayIcon());
}

void ProgramTray::ShowActiveTrayItem(bool active) { pmTray_.ShowActive(active); }

void ProgramTray::EnableManagerTrayItems(bool enabled) { pmTray_.EnableManagerItems(enabled); }

void ProgramTray::ApplyAccessRestrictions(TMainKeyboardForm* keyboardWindow) {
  if (!MenuLocked()) return;
  pmTray_.DisableLockedItems();
  if (keyboardWindow) keyboardWindow->HideTitleButtons();
}

void ProgramTray::trayMainBalloonClick() {
  if (!balloonName_.empty() && sources_.store) sources_.store->WriteInteger(balloonName_, kBalloonClicked);
  balloonName_.clear();
}

void ProgramTray::trayMainBalloonHide() { balloonName_.clear(); }

void ProgramTray::trayMainClick() {
  if (MenuLocked()) return;
  ForceForegroundWindow(watch_.LastForegroundWindow(), true);
  PumpMessagesFor(kClickSettleMs);
  parts_.ShowTemplateView();
}

void ProgramTray::pmTrayPopup() {
  const TPreset* preset = sources_.settings;
  // A right-to-left menu keeps its captions as they are.
  pmTray_.Refresh(menuRightToLeft_() ? nullptr : sources_.bindings, preset && preset->SoundEnabled());
  std::wstring shown;
  for (const std::wstring& caption : pmTray_.ShownCaptions()) shown += (shown.empty() ? L"" : L" | ") + caption;
  DebugLog(L"TrayMenu " + shown);
}

void ProgramTray::pmiActiveClick() {
  if (!MenuLocked()) switch_.SetActive(!switch_.Active());
}

void ProgramTray::pmiSettingsClick() {
  if (MenuLocked() || !port_.HasSettingsWindow()) return;
  const bool visible = port_.SettingsWindowVisible();
  if (!visible) ShowWaitMessageFmt(LangText(316, L"Settings"));
  port_.OpenSettings();
  if (!visible) HideWaitMessage();
}

void ProgramTray::pmiCloseClick() {
  if (MenuLocked()) return;
  if (!port_.WindowsAllowExit()) return;
  // Edits in an open settings window that were not applied are dropped.
  if (port_.SettingsWindowVisible() && sources_.settings) sources_.settings->Load();
  DebugLog(L"Exit");
  switch_.Stop();
  ui::Terminate();
}

void ProgramTray::actHelpExecute() {
  try {
    port_.ShowHelp();
  } catch (...) {
    // Help is a convenience: a failure must not reach the user.
  }
}

void ProgramTray::ApplyLanguage() { pmTray_.ApplyLanguage(switch_.Active()); }

void ProgramTray::SelectHelpFile() {
  const TPreset* preset = sources_.settings;
  const std::wstring file =
      SelectHelpFileName(ProgramFolder(), preset ? preset->Language() : 0, [](const std::wstring& path) {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
      });
  if (file == helpFile_) return;
  helpFile_ = file;
  port_.SetHelpFile(file);
}

void ProgramTray::SecondInstanceStarted() {
  DebugLog(L"SecondInstance");
  ShowTipBalloon(L"StartContextMenu", 10, LangId(0), LangId(35), 5000);
  MenuHostWindow host;
  POINT cursor{};
  GetCursorPos(&cursor);
  pmTray_.Menu().Popup(cursor, host.Get());
}

}  // namespace snibbet

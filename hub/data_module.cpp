#include "hub/data_module.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "clipboard/clipboard_monitor.h"
#include "core/debug_log.h"
#include "core/input_helper_link.h"
#include "core/input_helper_search.h"
#include "core/app_ini.h"
#include "core/bug_report.h"
#include "core/lang_apply.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
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
#include "keyboard/action_kinds.h"
#include "keyboard/actions.h"
#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/main_keyboard_form.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

TDataDM* g_dataDM = nullptr;

constexpr UINT kCheckVistaIntervalMs = 300;
constexpr DWORD kClickSettleMs = 50;
constexpr int kInactiveTrayImage = 3;
constexpr int kActiveTrayImage = 2;
constexpr int kBalloonClicked = 1000;
constexpr int kImageSize = 16;
constexpr int kFormButtonImageSize = 12;

std::wstring MissingEntryText(const wchar_t* entry) {
  return FormatText(LangText(27, L"Function \"%1\" is not found in the hook library SnibbetH.dll."), {entry});
}

}  // namespace

void UseOfficeColourScheme() { Office11ColorsAddRef(); }
void ReleaseOfficeColourScheme() { Office11ColorsRelease(); }

TDataDM::TDataDM(DataModuleOptions options)
    : hookLibrary_(std::move(options.hookLibrary)),
      pictures_(options.pictures ? options.pictures : GetModuleHandleW(nullptr)),
      tray_(options.tray ? *options.tray : defaultTray_),
      parts_(options.parts ? *options.parts : programParts_),
      iconSets_(options.iconSets),
      trayMenuRightToLeft_(options.trayMenuRightToLeft ? options.trayMenuRightToLeft : TrayMenuShownRightToLeft),
      pmTray_(TrayMenuActions()),
      tmrCheckVista_(kCheckVistaIntervalMs, [this] { tmrCheckVistaTimer(); }) {
  if (g_dataDM) throw std::logic_error("the data module exists already");
  g_dataDM = this;
  Foreground().Clear();
  DataModuleCreate();
}

TDataDM::~TDataDM() {
  DataModuleDestroy();
  Foreground().Clear();
  g_dataDM = nullptr;
}

TDataDM& DataDM() {
  if (!g_dataDM) throw std::logic_error("no data module");
  return *g_dataDM;
}

TDataDM* DataDMOrNull() { return g_dataDM; }

void TDataDM::DataModuleCreate() {
  DebugLog(L"DataDM");
  LoadImageLists(pictures_);
  trayMain_.popupMenu = &pmTray_.Menu();
  trayMain_.onClick = [this] { trayMainClick(); };
  trayMain_.onBalloonClick = [this] { trayMainBalloonClick(); };
  trayMain_.onBalloonHide = [this] { trayMainBalloonHide(); };
  pmTray_.Menu().SetImages(&ilMain_);
  pmTray_.Menu().onPopup = [this] { pmTrayPopup(); };
  UpdateTrayIcon();
  std::srand(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());
  ApplyPopupMenuStyles();
  UseOfficeColourScheme();
  ApplyKeyboardAppearance();
  BuildActionKindCatalogue();
  PrepareTrayMenu();
  // Every queued message of the thread passes the module first.
  if (ui::Application* app = ui::Application::Existing()) app->SetEvents(this);
}

void TDataDM::DataModuleDestroy() {
  if (ui::Application* app = ui::Application::Existing(); app && app->Events() == this) app->SetEvents(nullptr);
  ReleaseOfficeColourScheme();
  // The only place where the helper is ended.
  EndInputHelper();
}

// The pictures are bitmap strips of the program's resources.
void TDataDM::LoadImageLists(HINSTANCE module) {
  ilTrayIcons_ = ui::ImageList(kImageSize, kImageSize);
  ilTrayIcons_.AddStrip(module, L"IL_TRAY_ICONS", CLR_NONE);
  ilMain_ = ui::ImageList(kImageSize, kImageSize);
  ilMain_.AddStrip(module, L"IL_MAIN", CLR_NONE);
  ilLangs_ = ui::ImageList(kImageSize, kImageSize);
  ilLangs_.AddStrip(module, L"IL_LANGS", CLR_NONE);
  ilFormBtns_ = ui::ImageList(kFormButtonImageSize, kFormButtonImageSize);
  ilFormBtns_.AddStrip(module, L"IL_FORM_BTNS", CLR_NONE);
  ilKeys_ = ui::ImageList(kImageSize, kImageSize);
  ilKeys_.AddStrip(module, L"IL_KEYS", CLR_NONE);
}

bool TDataDM::MenuLocked() const {
  const TPreset* preset = PresetOrNull();
  return preset != nullptr && preset->AccessDenied();
}

bool TDataDM::Start() {
  DebugLog(L"Start");
  if (active_) return false;
  switch (hookLibrary_.Load()) {
    case HookLoadResult::Ready:
      break;
    case HookLoadResult::AlreadyLoaded:
      ShowErrorMessage(
          LangText(26, L"The hook library SnibbetH.dll is still loaded. Restart Orvane Paste to switch it on."));
      return false;
    case HookLoadResult::CannotLoad:
      ShowErrorMessage(LangText(28, L"Cannot load the hook library SnibbetH.dll."));
      return false;
    case HookLoadResult::NoHookEntry:
      ShowErrorMessage(MissingEntryText(L"Hook"));
      return false;
  }
  // The own hook comes first, so SnibbetCm's hooks are installed after it.
  InstallKeyboardHook();
  hookLibrary_.Hook(ui::ApplicationWindow());

  ShowActiveTrayItem(true);
  active_ = true;
  Foreground().SetLastActivityTick(GetTickCount());
  ApplyForegroundLayout();
  SetKeyStateModelActive(true);
  RegisterClipboardMonitor();
  UpdateTrayIcon();
  lastForegroundWindow_ = polledForegroundWindow_ = GetForegroundWindow();
  TouchActivityTick();
  if (!MenuLocked()) EnableManagerTrayItems(true);
  if (IsVistaOrLater()) tmrCheckVista_.Start();
  if (HWND app = ui::ApplicationWindow()) ShowWindow(app, SW_HIDE);
  return true;
}

bool TDataDM::Stop() {
  DebugLog(L"Stop");
  if (!active_) return false;
  if (hookLibrary_.Loaded()) {
    if (!hookLibrary_.UnHook()) {
      ShowErrorMessage(MissingEntryText(L"UnHook"));
      return false;
    }
    RemoveKeyboardHook();
    hookLibrary_.Free();
  }
  SetKeyStateModelActive(false);
  UnregisterClipboardMonitor();
  ShowActiveTrayItem(false);
  active_ = false;
  UpdateTrayIcon();
  EnableManagerTrayItems(false);
  tmrCheckVista_.Stop();
  return true;
}

bool TDataDM::SetActive(bool value) { return value ? Start() : Stop(); }

void TDataDM::pmiActiveClick() {
  if (!MenuLocked()) SetActive(!active_);
}

void TDataDM::ApplyAccessRestrictions() {
  if (MenuLocked()) DisableLockedMenuItems();
}

void TDataDM::TouchActivityTick() { Foreground().TouchActivityTick(); }

// --- tray icon, tray menu and balloon tips ---------------------------------

TrayMenuHandlers TDataDM::TrayMenuActions() {
  TrayMenuHandlers h;
  h.active = [this] { pmiActiveClick(); };
  h.soundEnabled = [] {
    if (TPreset* preset = PresetOrNull()) preset->SetSoundEnabled(!preset->SoundEnabled());
  };
  h.showMainKeyboard = [this] {
    ForceForegroundWindow(lastForegroundWindow_, true);
    parts_.ToggleKeyboardWindow();
    TouchActivityTick();
  };
  h.showTemplates = [this] {
    ForceForegroundWindow(lastForegroundWindow_, true);
    PumpMessagesFor(kClickSettleMs);
    parts_.ShowTemplateView();
  };
  h.settings = [this] { pmiSettingsClick(); };
  h.help = [this] { actHelpExecute(); };
  h.www = [this] {
    const TPreset* preset = PresetOrNull();
    tray_.OpenAddress(preset ? preset->LocalizeWebAddress(kProductPageAddress) : std::wstring(kProductPageAddress));
  };
  h.mail = [this] { tray_.OpenAddress(SupportMailLink(GetProductVersion())); };
  h.forum = [this] { tray_.OpenAddress(kForumPageAddress); };
  h.requestFeature = [this] { tray_.OpenAddress(kFeatureRequestAddress); };
  h.reportBug = [] { BuildBugReport(L""); };
  h.checkNewVersion = [] { CheckNewVersion(true); };
  h.about = [this] { tray_.OpenAbout(); };
  h.close = [this] { pmiCloseClick(); };
  return h;
}

void TDataDM::UpdateTrayIcon() {
  const TPreset* preset = PresetOrNull();
  TrayPicture picture{.flag = false, .image = kInactiveTrayImage};
  if (active_ && preset && preset->ShowLangIcon()) {
    // The layout the key model types in: the one of the window in front, which
    // the program's own thread need not share.
    const TQvKeyboard* model = QvKeyboard();
    const LayoutHandle layout =
        model ? model->CurrentLayout() : reinterpret_cast<LayoutHandle>(GetKeyboardLayout(0));
    picture = {.flag = true, .image = LayoutToFlagIndex(layout)};
  } else if (active_) {
    picture.image = kActiveTrayImage;
  }
  const ui::ImageList& list = picture.flag ? ilLangs_ : ilTrayIcons_;
  if (picture.image >= list.Count()) return;
  trayPicture_ = picture;
  ui::IconHandle icon = list.ExtractIcon(picture.image);
  trayMain_.SetIcon(icon.Get());
}

void TDataDM::SetTrayIconVisible(bool visible) {
  const bool wasInShell = trayMain_.InShell();
  trayMain_.SetVisible(visible);
  if (visible && !wasInShell) DebugLog((trayMain_.InShell() ? L"TrayIcon " : L"TrayIcon refused ") + trayMain_.Hint());
}

void TDataDM::ShowTipBalloon(const std::wstring& name, int most, int titleText, int bodyText, UINT timeMs) {
  balloonName_ = name;
  TAppIni& store = AppIni();
  const int count = store.ReadIntegerDef(name, 0);
  if (count >= most) return;
  store.WriteInteger(name, count + 1);
  trayMain_.SetVisible(true);
  const std::wstring body = Lang().GetText(bodyText, kNoText);
  const std::wstring title = FormatText(Lang().GetText(titleText, kProductName), {kProductName});
  const bool shown = trayMain_.ShowBalloon(title, body, timeMs);
  DebugLog(L"Balloon " + name + (shown ? L"" : L" refused"));
  // A hidden icon shows only for the balloon.
  if (const TPreset* preset = PresetOrNull()) trayMain_.SetVisible(!preset->HideTrayIcon());
}

void TDataDM::trayMainBalloonClick() {
  if (!balloonName_.empty()) AppIni().WriteInteger(balloonName_, kBalloonClicked);
  balloonName_.clear();
}

void TDataDM::trayMainBalloonHide() { balloonName_.clear(); }

void TDataDM::trayMainClick() {
  if (MenuLocked()) return;
  ForceForegroundWindow(lastForegroundWindow_, true);
  PumpMessagesFor(kClickSettleMs);
  parts_.ShowTemplateView();
}

void TDataDM::pmTrayPopup() {
  const TPreset* preset = PresetOrNull();
  // A right-to-left menu keeps its captions as they are.
  pmTray_.Refresh(trayMenuRightToLeft_() ? nullptr : &QvActions(), preset && preset->SoundEnabled());
  std::wstring shown;
  for (const std::wstring& caption : pmTray_.ShownCaptions()) shown += (shown.empty() ? L"" : L" | ") + caption;
  DebugLog(L"TrayMenu " + shown);
}

void TDataDM::pmiSettingsClick() {
  if (MenuLocked() || !tray_.HasSettingsWindow()) return;
  const bool visible = tray_.SettingsWindowVisible();
  if (!visible) ShowWaitMessageFmt(LangText(316, L"Settings"));
  tray_.OpenSettings();
  if (!visible) HideWaitMessage();
}

void TDataDM::pmiCloseClick() {
  if (MenuLocked()) return;
  if (!tray_.WindowsAllowExit()) return;
  // Edits in an open settings window that were not applied are dropped.
  if (tray_.SettingsWindowVisible()) Preset().Load();
  DebugLog(L"Exit");
  Stop();
  ui::Terminate();
}

void TDataDM::actHelpExecute() {
  try {
    tray_.ShowHelp();
  } catch (...) {
    // Help is a convenience: a failure must not reach the user.
  }
}

void TDataDM::ApplyLanguage() {
  BuildActionKindCatalogue();
  pmTray_.ApplyLanguage(active_);
}

void TDataDM::SelectHelpFile() {
  const TPreset* preset = PresetOrNull();
  const std::wstring file =
      SelectHelpFileName(ProgramFolder(), preset ? preset->Language() : 0, [](const std::wstring& path) {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
      });
  if (file == helpFile_) return;
  helpFile_ = file;
  tray_.SetHelpFile(file);
}

namespace {

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

void TDataDM::SecondInstanceStarted() {
  DebugLog(L"SecondInstance");
  ShowTipBalloon(L"StartContextMenu", 10, LangId(0), LangId(35), 5000);
  MenuHostWindow host;
  POINT cursor{};
  GetCursorPos(&cursor);
  pmTray_.Menu().Popup(cursor, host.Get());
}

// --- the steps of Create, Start and Stop -------------------------------------

void TDataDM::ApplyPopupMenuStyles() { pmTray_.SetStyle(PopupMenuStyleForOS()); }
void TDataDM::ApplyKeyboardAppearance() {
  FillKeyboardAppearance(appearance_, PresetOrNull(), MainKeyboardForm() != nullptr);
  if (TMainKeyboardForm* keyboard = MainKeyboardForm()) keyboard->ApplyAppearance();
}
void TDataDM::BuildActionKindCatalogue() {
  // The catalogue's names are language texts.
  KindCatalogue().Rebuild();
}

// The items not offered are hidden when the menu is built; the About item
// has its picture there too.
void TDataDM::PrepareTrayMenu() { pmTray_.Item(L"pmiAbout").imageIndex = 43; }
void TDataDM::ShowActiveTrayItem(bool active) { pmTray_.ShowActive(active); }
void TDataDM::EnableManagerTrayItems(bool enabled) { pmTray_.EnableManagerItems(enabled); }
void TDataDM::DisableLockedMenuItems() {
  pmTray_.DisableLockedItems();
  if (TMainKeyboardForm* keyboard = MainKeyboardForm()) keyboard->HideTitleButtons();
}
void TDataDM::RegisterClipboardMonitor() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) {
    monitor->RegisterViewer();
    monitor->ClipboardChanged();
  }
}
void TDataDM::UnregisterClipboardMonitor() {
  if (TQvClipboardMonitor* monitor = ClipboardMonitorOrNull()) monitor->UnregisterViewer();
}
// The keyboard runtime's own; each does nothing while there is no runtime.
void TDataDM::InstallKeyboardHook() { snibbet::InstallKeyboardHook(); }
void TDataDM::RemoveKeyboardHook() { snibbet::RemoveKeyboardHook(); }
void TDataDM::ApplyForegroundLayout() { ApplyForegroundWindowLayout(); }
void TDataDM::SetKeyStateModelActive(bool active) { snibbet::SetKeyStateModelActive(active); }

}  // namespace snibbet

#include "core/data_module.h"

#include "visual/office11_colors.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "core/debug_log.h"
#include "core/input_helper_link.h"
#include "core/input_helper_search.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/text_utils.h"
#include "core/version_info.h"

namespace snibbet {
namespace {

TDataDM* g_dataDM = nullptr;

KeyboardHookSteps& HookSteps() {
  static KeyboardHookSteps steps;
  return steps;
}

constexpr UINT kCheckVistaIntervalMs = 300;
constexpr int kImageSize = 16;

std::wstring MissingEntryText(const wchar_t* entry) {
  return FormatText(LangText(27, L"Function \"%1\" is not found in the hook library SnibbetH.dll."), {entry});
}

}  // namespace

void SetKeyboardHookSteps(KeyboardHookSteps steps) { HookSteps() = std::move(steps); }

void UseOfficeColourScheme() { Office11ColorsAddRef(); }
void ReleaseOfficeColourScheme() { Office11ColorsRelease(); }

TDataDM::TDataDM(DataModuleOptions options)
    : hookLibrary_(std::move(options.hookLibrary)),
      pictures_(options.pictures ? options.pictures : GetModuleHandleW(nullptr)),
      tmrCheckVista_(kCheckVistaIntervalMs, [this] { tmrCheckVistaTimer(); }) {
  if (g_dataDM) throw std::logic_error("the data module exists already");
  g_dataDM = this;
  DataModuleCreate();
}

TDataDM::~TDataDM() {
  DataModuleDestroy();
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
  lastActivityTick_ = GetTickCount();
  ApplyForegroundLayout();
  SetKeyStateModelActive(true);
  RegisterClipboardMonitor();
  UpdateTrayIcon();
  lastForegroundWindow_ = GetForegroundWindow();
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

void TDataDM::TouchActivityTick() {
  const std::uint32_t now = GetTickCount();
  if (ActivityTickDue(now, lastActivityTick_)) lastActivityTick_ = now;
}

// --- seams -----------------------------------------------------------------

void TDataDM::UpdateTrayIcon() {}
void TDataDM::ApplyPopupMenuStyles() {}
void TDataDM::ApplyKeyboardAppearance() {}
void TDataDM::BuildActionKindCatalogue() {}
void TDataDM::PrepareTrayMenu() {}
void TDataDM::InstallKeyboardHook() {
  if (HookSteps().installHook) HookSteps().installHook();
}
void TDataDM::RemoveKeyboardHook() {
  if (HookSteps().removeHook) HookSteps().removeHook();
}
void TDataDM::ShowActiveTrayItem(bool) {}
void TDataDM::ApplyForegroundLayout() {
  if (HookSteps().applyForegroundLayout) HookSteps().applyForegroundLayout();
}
void TDataDM::SetKeyStateModelActive(bool active) {
  if (HookSteps().setModelActive) HookSteps().setModelActive(active);
}
void TDataDM::RegisterClipboardMonitor() {}
void TDataDM::UnregisterClipboardMonitor() {}
void TDataDM::EnableManagerTrayItems(bool) {}
void TDataDM::DisableLockedMenuItems() {}
void TDataDM::tmrCheckVistaTimer() {}

}  // namespace snibbet

#include "hub/data_module.h"

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <utility>

#include "core/debug_log.h"
#include "keyboard/action_kinds.h"
#include "ui/application.h"
#include "visual/office11_colors.h"

namespace snibbet {
namespace {

// The claim of the one module; nothing reaches the module through it.
const TDataDM* g_dataDM = nullptr;

HINSTANCE PicturesModule(HINSTANCE pictures) { return pictures ? pictures : GetModuleHandleW(nullptr); }

}  // namespace

void UseOfficeColourScheme() { Office11ColorsAddRef(); }
void ReleaseOfficeColourScheme() { Office11ColorsRelease(); }

TDataDM::Claim::Claim(TDataDM* module) {
  if (g_dataDM) throw std::logic_error("the data module exists already");
  g_dataDM = module;
}

TDataDM::Claim::~Claim() { g_dataDM = nullptr; }

TDataDM::TDataDM(InputRecords records, DataModuleOptions options)
    : claim_(this),
      programParts_(records.keyHistory, options.keyModel, options.openWindows),
      port_(options.tray ? *options.tray : defaultTray_),
      parts_(options.parts ? *options.parts : programParts_),
      pictures_(PicturesModule(options.pictures)),
      look_(pictures_, options.settings),
      watch_(parts_, records.foreground, options.iconSets),
      switch_(std::move(options.hookLibrary), tray_, watch_),
      tray_(port_, parts_, watch_, switch_,
            TraySources{.store = options.store,
                        .settings = options.settings,
                        .bindings = &records.bindings,
                        .keyModel = options.keyModel},
            pictures_,
            options.trayMenuRightToLeft ? std::move(options.trayMenuRightToLeft) : TrayMenuShownRightToLeft),
      dispatch_(parts_, watch_, tray_, port_, look_, options.settings) {
  DebugLog(L"DataDM");
  std::srand(static_cast<unsigned>(std::time(nullptr)) ^ GetTickCount());
  UseOfficeColourScheme();
  look_.Apply();
  BuildActionKindCatalogue();
  // Every queued message of the thread passes the hub first.
  if (ui::Application* app = ui::Application::Existing()) app->SetEvents(&dispatch_);
}

TDataDM::~TDataDM() {
  if (ui::Application* app = ui::Application::Existing(); app && app->Events() == &dispatch_) app->SetEvents(nullptr);
  ReleaseOfficeColourScheme();
  // The parts go in reverse: the switch's end ends the input helper.
}

void TDataDM::ConnectPopup(TTemplateViewForm* popup) {
  programParts_.ConnectPopup(popup);
}

void TDataDM::ConnectKeyboardWindow(TMainKeyboardForm* window) {
  programParts_.ConnectKeyboardWindow(window);
  look_.ConnectKeyboardWindow(window);
}

void TDataDM::ConnectClipboardMonitor(TQvClipboardMonitor* monitor) {
  switch_.ConnectClipboardMonitor(monitor);
  dispatch_.ConnectClipboardMonitor(monitor);
}

void TDataDM::ApplyLanguage() {
  BuildActionKindCatalogue();
  tray_.ApplyLanguage();
}

// The catalogue's names are language texts.
void TDataDM::BuildActionKindCatalogue() { KindCatalogue().Rebuild(); }

}  // namespace snibbet

#pragma once
// TDataDM: the central data module, the hub of the main program. One object,
// created third at start-up (after the hidden main window and the error
// report) and kept until the process ends. It owns the hub's parts, each
// given what it works with:
//   ForegroundWatch  which application is in front (hub/foreground_watch.h)
//   ProgramSwitch    switching the program on and off; its end ends the input
//                    helper (hub/program_switch.h)
//   ProgramTray      the tray icon, its menu and balloons (hub/program_tray.h)
//   MessageDispatch  the application events (hub/message_dispatch.h)
//   KeyboardLook     the keyboard window's appearance and pictures
//                    (hub/keyboard_look.h)
// and does what spans them: the start-up steps, the texts after a language
// load, the bindings flag.
#include <windows.h>

#include <functional>
#include <string>

#include "core/hook_messages.h"
#include "hub/data_module_parts.h"
#include "hub/foreground_watch.h"
#include "hub/hook_library.h"
#include "hub/keyboard_look.h"
#include "hub/message_dispatch.h"
#include "hub/program_switch.h"
#include "hub/program_tray.h"
#include "hub/tray_port.h"
#include "keyboard/input_records.h"

namespace snibbet {

class TAppIni;
class TPreset;
class TQvClipboardMonitor;
class TQvIconsList;
class TMainKeyboardForm;
class TQvKeyboard;

// The Office-2003 colour scheme of the visual support: taken into use when the
// module is created and released when it is destroyed. Empty until the scheme
// exists.
void UseOfficeColourScheme();
void ReleaseOfficeColourScheme();

struct DataModuleOptions {
  std::wstring hookLibrary = kHookLibraryFileName;  // loaded by name: the program folder comes first
  HINSTANCE pictures = nullptr;                     // module with the image-list strips; null: the program
  TrayPort* tray = nullptr;                         // null: ShellTrayPort
  DataModuleParts* parts = nullptr;                 // null: ProgramParts
  const OpenWindows* openWindows = nullptr;         // ProgramParts's; null: none is ever open
  TQvIconsList* iconSets = nullptr;                 // null: no application gets an icon set
  TAppIni* store = nullptr;                         // null: no tip balloon
  TPreset* settings = nullptr;                      // null: the tray, the dispatch and the look read no setting
  TQvKeyboard* keyModel = nullptr;                  // null: no key model is told of the foreground
  std::function<bool()> trayMenuRightToLeft = {};   // null: TrayMenuShownRightToLeft
};

class TDataDM {
 public:
  // The watch keeps `records.foreground`, the dispatch ends `records.keyHistory`'s
  // word, the tray menu shows `records.bindings`; they outlive the module.
  explicit TDataDM(InputRecords records, DataModuleOptions options = {});
  ~TDataDM();
  TDataDM(const TDataDM&) = delete;
  TDataDM& operator=(const TDataDM&) = delete;

  ForegroundWatch& Watch() { return watch_; }
  ProgramSwitch& Switch() { return switch_; }
  ProgramTray& Tray() { return tray_; }
  MessageDispatch& Dispatch() { return dispatch_; }
  KeyboardLook& Look() { return look_; }
  // The pop-up that the dispatch, the watch, the tray and the settings window
  // reach; none until connected, and disconnected before it goes.
  void ConnectPopup(TTemplateViewForm* popup);
  // The keyboard window that the dispatch, the watch and the keyboard look
  // reach; likewise none until connected, disconnected before it goes.
  void ConnectKeyboardWindow(TMainKeyboardForm* window);
  // The clipboard monitor that the switch runs and the dispatch keeps awake;
  // likewise.
  void ConnectClipboardMonitor(TQvClipboardMonitor* monitor);

  // Every text of the module, after each language load.
  void ApplyLanguage();
  bool ActionsChanged() const { return actionsChanged_; }
  void SetActionsChanged(bool value) { actionsChanged_ = value; }

 private:
  // The one module's claim, made before any part: a second module is refused
  // before its parts could touch the program's state.
  class Claim {
   public:
    explicit Claim(TDataDM* module);
    ~Claim();
    Claim(const Claim&) = delete;
    Claim& operator=(const Claim&) = delete;
  };

  void BuildActionKindCatalogue();  // binding kinds for menus and lists

  Claim claim_;
  ShellTrayPort defaultTray_;
  ProgramParts programParts_;
  TrayPort& port_;
  DataModuleParts& parts_;
  HINSTANCE pictures_;
  KeyboardLook look_;
  ForegroundWatch watch_;
  // The switch reaches the tray only from Start and Stop; the tray reads the
  // switch's state from its first picture on.
  ProgramSwitch switch_;
  ProgramTray tray_;
  MessageDispatch dispatch_;
  bool actionsChanged_ = true;
};

}  // namespace snibbet

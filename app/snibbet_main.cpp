#include "app/snibbet_main.h"

#include <windows.h>

#include <optional>
#include <system_error>

#include "app/app_messages.h"
#include "app/bug_report_adapter.h"
#include "app/first_form.h"
#include "app/history_keyboard_adapter.h"
#include "app/program_tray_port.h"
#include "app/keyboard_window_adapter.h"
#include "app/program_windows_adapter.h"
#include "app/single_instance.h"
#include "app/start_failure.h"
#include "app/system_check.h"
#include "clipboard/clipboard_monitor.h"
#include "core/app_ini.h"
#include "core/bug_report.h"
#include "core/bug_report_form.h"
#include "core/debug_log.h"
#include "core/foreground_state.h"
#include "core/icon_sets.h"
#include "core/input_helper_link.h"
#include "core/lang_list.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/message_form.h"
#include "core/never_ask_list.h"
#include "core/preset.h"
#include "core/text_utils.h"
#include "core/utilities.h"
#include "dialogs/dialog_parts.h"
#include "dialogs/form_setting_effects.h"
#include "dialogs/settings_form.h"
#include "dialogs/wizard_form.h"
#include "hub/data_module.h"
#include "hub/data_module_setting_effects.h"
#include "hub/settings_window_link.h"
#include "keyboard/action_shell.h"
#include "keyboard/actions.h"
#include "keyboard/key_history.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_model.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/keyboard_setting_effects.h"
#include "keyboard/main_keyboard_form.h"
#include "keyboard/scope_exit.h"
#include "keyboard/template_hotkey.h"
#include "templates/template_view_form.h"
#include "ui/application.h"
#include "visual/theme_binding.h"

namespace snibbet {
namespace {

// The data module answers a second start.
static_assert(WM_SECOND_INSTANCE == kSecondInstanceMessage);

// The process-wide singletons, created in this order and finalised in reverse:
// settings store, settings object, language table, shared utilities.
class ProcessSingletons {
 public:
  ProcessSingletons() {
    try {
      store_ = &InitializeSettingsStore();
      settings_ = &InitializePreset(*store_);
    } catch (const FolderCreateError& error) {
      folderError_ = error.Folder();
    }
    InitializeLanguages();
    // The forms made before the settings load take the character set of the
    // language they start with.
    if (settings_) Lang().SetLanguageSetting(settings_->Language());
    InitializeUtilities();
  }
  ~ProcessSingletons() {
    FinalizeUtilities();
    FinalizeLanguages();
    // Saves the settings (when they were loaded) before the key closes.
    FinalizeSettingsStore();
  }
  ProcessSingletons(const ProcessSingletons&) = delete;
  ProcessSingletons& operator=(const ProcessSingletons&) = delete;

  // The data folder that could not be created, if any: then nothing may start.
  const std::optional<std::wstring>& FolderError() const { return folderError_; }
  // The settings store and the settings object on it; only without a folder error.
  TAppIni& Store() { return *store_; }
  TPreset& Settings() { return *settings_; }

 private:
  std::optional<std::wstring> folderError_;
  TAppIni* store_ = nullptr;
  TPreset* settings_ = nullptr;
};

class ThemeManagerScope {
 public:
  ThemeManagerScope() { StartThemeManager(); }
  ~ThemeManagerScope() { StopThemeManager(); }
  ThemeManagerScope(const ThemeManagerScope&) = delete;
  ThemeManagerScope& operator=(const ThemeManagerScope&) = delete;
};

// The application object and the forms it owns, freed before the singletons.
class ApplicationScope {
 public:
  ApplicationScope() : app_(ui::Application::Create(ui::ApplicationOptions{.title = kApplicationTitle})) {}
  ~ApplicationScope() { ui::Application::Destroy(); }
  ApplicationScope(const ApplicationScope&) = delete;
  ApplicationScope& operator=(const ApplicationScope&) = delete;
  ui::Application& App() { return app_; }

 private:
  ui::Application& app_;
};

// While it is in scope, a modifier change in the hook asks the keyboard
// window for its key hint afresh; it ends before the window goes.
class KeyboardHintConnection {
 public:
  KeyboardHintConnection(KeyboardRuntime& keyboard, TMainKeyboardForm& window) : keyboard_(keyboard) {
    keyboard_.OnModifierChanged([&window] { window.UpdateHint(); });
  }
  ~KeyboardHintConnection() { keyboard_.OnModifierChanged(nullptr); }
  KeyboardHintConnection(const KeyboardHintConnection&) = delete;
  KeyboardHintConnection& operator=(const KeyboardHintConnection&) = delete;

 private:
  KeyboardRuntime& keyboard_;
};

// The forms' ways up to higher parts; they outlive the forms.
struct FormAdapters {
  FormAdapters(TPreset& settings, TAppIni& store, OpenWindows& openWindows)
      : templateEditor(settings, store, openWindows), wizardWindow(openWindows), programWindows(openWindows),
        keyboardWindow(openWindows) {}

  TemplateEditorAdapter templateEditor;    // the pop-up's Edit button
  WizardWindowAdapter wizardWindow;        // the pop-up over the first-run wizard
  HistoryKeyboardAdapter historyKeyboard;  // the clipboard history's input block
  WizardLink wizard;                       // the first-run wizard's tray items, settings and templates
  ProgramWindowsAdapter programWindows;    // the hotkey opens the pop-up, the hook hands it keys
  KeyboardWindowAdapter keyboardWindow;    // the keyboard window's tray menu
};

void RunApplication(ui::Application& app, TAppIni& store, DialogParts& dialogParts, SettingsFormSystem& dialogSystem,
                    ProgramTrayPort& tray, std::optional<TDataDM>& dataModule, FormAdapters& adapters,
                    TQvIconsList& iconSets, std::optional<KeyboardRuntime>& keyboard,
                    ClipboardMonitorRecord& clipboardMonitorRecord) {
  TPreset& settings = dialogParts.preset;
  DebugLog(L"Initialize");

  // Failures that reach the application open the error report.
  app.SetExceptionHandler(ReportApplicationException);

  // The hidden forms, in their fixed order; later forms link to earlier ones.
  // The main window's help router takes every help request of the program.
  TFirstForm& mainWindow = app.CreateForm<TFirstForm>();
  app.CreateForm<TQvBugMessageForm>(NeverAskBugFileName(store.DataFolder()));
  // The binding list that the hook runs and the windows show and change, the
  // word typed and the record of the application in front, named once here
  // and handed to every part that uses them.
  const InputRecords records{.bindings = dialogParts.bindings, .keyHistory = KeyHistory(), .foreground = Foreground()};
  TQvActions& bindings = records.bindings;
  // The key-state model, the executor and the hook, which the keyboard
  // window shows and the data module tells of the application in front.
  keyboard.emplace(records, &settings, adapters.programWindows, &clipboardMonitorRecord);
  // The tray reaches the settings window, the About box and the help router;
  // the data module hands the keyboard view the icon set of the application in front.
  dataModule.emplace(records, DataModuleOptions{.tray = &tray,
                                                .openWindows = &dialogParts.openWindows,
                                                .iconSets = &iconSets,
                                                .store = &store,
                                                .settings = &settings,
                                                .keyModel = &keyboard->Model()});
  // The settings window, the wizard and the keyboard window reach its tray,
  // flags and bindings flag; it outlives every form.
  tray.ConnectDataModule(&*dataModule);
  adapters.wizard.ConnectDataModule(&*dataModule);
  adapters.keyboardWindow.ConnectTray(&dataModule->Tray());
  BugReportAdapter errorReport(dataModule->Switch());
  BugReportConnection errorReportConnected(errorReport);
  // The binding pictures show the data module's key pictures while it lives.
  // The binding listing's web addresses take the settings' language.
  ProgramShell().SetKeyPictures(&dataModule->Look().ilKeys());
  ProgramShell().SetSettings(&settings);
  const ScopeExit forgetShellParts([] {
    ProgramShell().SetKeyPictures(nullptr);
    ProgramShell().SetSettings(nullptr);
  });
  app.CreateForm<TQvMessageForm>();
  // The parts made before the keyboard runtime take its model now.
  errorReport.SetKeyModel(&keyboard->Model());
  dialogParts.keyModel = &keyboard->Model();
  dialogParts.keyHistory = &records.keyHistory;
  adapters.historyKeyboard.SetKeyModel(&keyboard->Model());
  // The keyboard window and its background, with the data module's appearance record.
  const KeyboardLook& keyboardLook = dataModule->Look();
  TMainKeyboardForm& keyboardWindow = app.CreateForm<TMainKeyboardForm>(
      KeyboardWindowParts{.model = keyboard->Model(),
                          .bindings = bindings,
                          .appearance = keyboardLook.Appearance(),
                          .port = adapters.keyboardWindow,
                          .settings = &settings,
                          .store = &store,
                          .buttonPictures = &keyboardLook.ilFormBtns(),
                          .keyPictures = &keyboardLook.ilKeys()});
  auto& keyboardBackground = app.CreateForm<TMainKeyboardBackgroundForm>(
      keyboardWindow, keyboardLook.Appearance(), adapters.keyboardWindow, records.foreground);
  KeyboardHintConnection hintConnected(*keyboard, keyboardWindow);
  // The main window (display changes), the hub and the hotkey capture reach
  // it until the loop ends; the forms go after that.
  const auto connectKeyboardWindow = [&](TMainKeyboardForm* window) {
    mainWindow.ConnectKeyboardWindow(window);
    dataModule->ConnectKeyboardWindow(window);
    dialogParts.keyboardWindow = window;
  };
  connectKeyboardWindow(&keyboardWindow);
  const ScopeExit disconnectKeyboardWindow([&connectKeyboardWindow] { connectKeyboardWindow(nullptr); });
  // The keys draw the bindings' pictures, the set of the application in front and Windows' own.
  keyboardWindow.ConnectIconSets(ProgramKeyIconSets(iconSets, &keyboard->BindingPictures()));
  // The view takes the appearance now that it exists (line height in its font).
  dataModule->Look().Apply();
  // The user's clipboard goes back later when the foreground watch found a slow paste target in front.
  ForegroundState& foreground = records.foreground;
  auto& clipboardMonitor = app.CreateForm<TQvClipboardMonitor>(
      ClipboardMonitorOptions{.record = &clipboardMonitorRecord,
                              .settings = &settings,
                              .historyFolder = store.ClipboardFolder(),
                              .keyboard = &adapters.historyKeyboard,
                              .slowPasteTargetInFront = [&foreground] { return foreground.ForegroundInPasteTable(); }});
  // The switch runs it and the dispatch keeps it awake until the loop ends.
  dataModule->ConnectClipboardMonitor(&clipboardMonitor);
  const ScopeExit disconnectClipboardMonitor([&dataModule] { dataModule->ConnectClipboardMonitor(nullptr); });
  // It reads the keyboard, the application in front and the settings; its
  // Edit button opens the template editor; it shows over the wizard.
  auto& popup = app.CreateForm<TTemplateViewForm>(
      PopupProgramParts{.keyboard = &*keyboard,
                        .foreground = records.foreground,
                        .settings = &settings,
                        .store = &store,
                        .clipboardMonitor = &clipboardMonitorRecord},
      adapters.templateEditor, adapters.wizardWindow);
  // The hook, the hub, the settings window and the wizard reach it until the
  // loop ends; the forms go after that.
  const auto connectPopup = [&](TTemplateViewForm* form) {
    adapters.programWindows.ConnectPopup(form);
    adapters.templateEditor.ConnectPopup(form);
    adapters.wizard.ConnectPopup(form);
    dataModule->ConnectPopup(form);
    tray.ConnectPopup(form);
  };
  connectPopup(&popup);
  const ScopeExit disconnectPopup([&connectPopup] { connectPopup(nullptr); });
  // The settings reach the running program's parts through these, until the parts go.
  KeyModelSettingEffects keyViewEffects(keyboard->Model());
  BindingListSettingEffects bindingEffects(bindings);
  KeyboardWindowSettingEffects keyboardWindowEffects(keyboardWindow, keyboardBackground);
  DataModuleSettingEffects hubEffects(*dataModule);
  FormSettingEffects formEffects(popup, dialogParts.openWindows);
  SettingEffectsConnection settingEffectsConnected(settings, {.keyView = &keyViewEffects,
                                                              .bindings = &bindingEffects,
                                                              .keyboardWindow = &keyboardWindowEffects,
                                                              .hub = &hubEffects,
                                                              .forms = &formEffects});
  if (ui::Terminated()) return;

  // Without the input helper nothing may start: no setting, no hook.
  if (!StartInputHelper() || ui::Terminated()) return;

  dataModule->Tray().trayMain().SetHint(kApplicationTitle);

  // The installed languages must be known before the settings pick one.
  if (!EnumerateLanguages() || ui::Terminated()) return;

  // Read before the first-start tip below writes it.
  const bool firstStart = !store.ValueExists(L"FirstStart");
  settings.Load();
  if (ui::Terminated()) return;
  // Once, in the user's language: the run goes on with what could be read.
  if (!store.Writable()) {
    ShowWarningMessage(FormatText(LangText(714, L"Orvane Paste cannot store its settings: the settings key \"%1\" "
                                                L"cannot be written.\r\nIt runs with the settings it could read; "
                                                L"changes made now are lost when it ends."),
                                  {std::wstring(L"HKEY_CURRENT_USER\\") + kSettingsKeyPath}));
  }
  dataModule->Tray().SetTrayIconVisible(!settings.HideTrayIcon());
  // The model's layout and the windows' size and opacity; they stay hidden.
  PrepareKeyboardWindowsHidden(keyboardWindow);
  BindTemplateHotkeyFromSetting(bindings, settings.SCShowTemplates());

  dataModule->Tray().ApplyAccessRestrictions(&keyboardWindow);
  // A failure has shown its message; the program runs on inactive.
  dataModule->Switch().Start();
  // The first start for this user opens the wizard; the loop runs on while it shows.
  if (firstStart) ShowWizard(adapters.wizard, dialogParts, dialogSystem);

  // The welcome tip is shown once; counting it marks the first start as done.
  try {
    dataModule->Tray().ShowTipBalloon(L"FirstStart", 1, LangId(34), LangId(35), 5000);
  } catch (const RegistryError&) {
    // A counter stored with another type costs only the tip.
  }

  DebugLog(L"Run");
  // The tray's Exit switches the program off before it ends the loop.
  app.Run();
  // Any other end of the loop (the main form closed by the system) leaves the
  // program on: switch it off here. The loop's quit request is taken out of
  // the queue first, else it would close a message of Stop at once.
  if (dataModule->Switch().Active()) {
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    dataModule->Switch().Stop();
  }
  DebugLog(L"Finalize");
}

// Everything after the single-instance claim; exceptions reach SnibbetMain
// only once every part made here is gone (the input helper ended with them).
int RunProgram() {
  ProcessSingletons singletons;
  if (singletons.FolderError()) {
    ShowErrorMessage(FormatText(LangText(8, L"Cannot create folder %1"), {*singletons.FolderError()}));
    return 1;
  }
  // Every icon set's header, before any window: a damaged file says so once here.
  TQvIconsList iconSets;
  iconSets.LoadAll();
  if (!CheckSystem()) return 0;

  // Visual styles are bound before the first window is made.
  ThemeManagerScope themes;
  // The settings window, the wizard and the template editor name themselves
  // here while they exist; it outlives every form.
  OpenWindows openWindows;
  // What the settings window and the wizard work on: the settings object and
  // the one binding list; the key-state model joins once it exists.
  DialogParts dialogParts{.preset = singletons.Settings(), .bindings = QvActions(), .openWindows = openWindows};
  ProgramSettingsFormSystem dialogSystem(dialogParts);
  // Outlives the data module it serves.
  ProgramTrayPort tray(dialogParts, dialogSystem);
  FormAdapters adapters(singletons.Settings(), singletons.Store(), openWindows);
  // Names the clipboard monitor while it exists, for the paste steps of the
  // pop-up and the keyboard; outlives them.
  ClipboardMonitorRecord clipboardMonitorRecord;
  // Outlives the keyboard window, which shows its model until it is destroyed,
  // and the data module, which tells the model of the application in front.
  std::optional<KeyboardRuntime> keyboard;
  // Outlives the forms, which link to its pictures; its end ends the input helper.
  std::optional<TDataDM> dataModule;
  std::optional<ApplicationScope> application;
  try {
    application.emplace();
  } catch (const std::system_error& error) {
    // No window at all: nothing else can work, and no box can show either.
    ReportStartFailure(StartFailureReason(error, true));
    return 1;
  }
  RunApplication(application->App(), singletons.Store(), dialogParts, dialogSystem, tray, dataModule, adapters, iconSets,
                 keyboard, clipboardMonitorRecord);
  return 0;
}

}  // namespace

int SnibbetMain() {
  // First of all: a second start while this one waits on a box (a damaged
  // icon set, the system check) must not become a second copy.
  SingleInstance instance;
  if (!instance.Claim()) return 0;
  try {
    return RunProgram();
  } catch (const std::exception& error) {
    ReportStartFailure(StartFailureReason(error, false));
  } catch (...) {
    ReportStartFailure(L"an unknown error.");
  }
  return 1;
}

}  // namespace snibbet

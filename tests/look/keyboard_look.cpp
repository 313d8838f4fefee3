// Shows the keyboard window with its background window over a plain desktop
// for a look at it: Win held in the model, so that the keys show the icons of
// Windows' own set, and a key under the mouse; Win, Backspace and the arrows
// show the key pictures; it closes itself. Usage: keyboard_look [colour scheme] [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "core/app_ini.h"
#include "core/foreground_state.h"
#include "core/icon_sets.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "keyboard/actions.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_model.h"
#include "keyboard/key_painter.h"
#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/keyboard_background_form.h"
#include "keyboard/keyboard_runtime.h"
#include "keyboard/main_keyboard_form.h"
#include "ui/application.h"
#include "ui/image_list.h"
#include "ui/timer.h"
#include "tests/unit/input_records_support.h"

namespace {

// Something behind the keyboard, to see through its face.
LRESULT CALLBACK Desktop(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(RGB(58, 110, 165));
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    for (int y = 10; y < client.bottom; y += 40) TextOutW(dc, 10, y, L"The desktop behind the keyboard", 31);
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int scheme = argc > 1 ? _wtoi(argv[1]) : 0;
  const int seconds = argc > 2 ? _wtoi(argv[2]) : 6;
  LocalFree(argv);

  WNDCLASSW desktopClass{};
  desktopClass.lpfnWndProc = Desktop;
  desktopClass.hInstance = instance;
  desktopClass.lpszClassName = L"LookDesktop";
  RegisterClassW(&desktopClass);
  CreateWindowExW(0, L"LookDesktop", L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);

  snibbet::InitializeSettingsStore();
  snibbet::InitializePreset(snibbet::AppIni());
  ui::Application::Create({.title = L"Keyboard look"});
  {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    const std::wstring programFolder = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"..\\bin\\";
    snibbet::TQvLang texts(programFolder + L"Lang\\");
    texts.Load(L"en");
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    snibbet::Preset().SetColorScheme(scheme);
    snibbet::Preset().SetShowIconWindows(true);
    snibbet::TQvIconsList iconSets(programFolder + L"Icons\\");
    iconSets.LoadAll();
    snibbet::KeyboardAppearance appearance;
    snibbet::FillKeyboardAppearance(appearance, &snibbet::Preset(), true);
    ui::ImageList buttons(12, 12);
    buttons.AddStrip(instance, L"IL_FORM_BTNS", CLR_NONE);
    ui::ImageList keyPictures(16, 16);
    keyPictures.AddStrip(instance, L"IL_KEYS", CLR_NONE);
    snibbet::NoKeyboardWindowPort port;
    snibbet::testing::ProgramKeyboardRuntime keyboard;
    auto& window = ui::Application::Get().CreateForm<snibbet::TMainKeyboardForm>(
        snibbet::KeyboardWindowParts{.model = keyboard.Model(),
                                     .bindings = snibbet::QvActions(),
                                     .appearance = appearance,
                                     .port = port,
                                     .settings = &snibbet::Preset(),
                                     .store = &snibbet::AppIni(),
                                     .buttonPictures = &buttons,
                                     .keyPictures = &keyPictures});
    ui::Application::Get().CreateForm<snibbet::TMainKeyboardBackgroundForm>(window, appearance, port,
                                                                            snibbet::Foreground());
    window.ConnectIconSets(snibbet::ProgramKeyIconSets(iconSets, &keyboard.BindingPictures()));
    snibbet::PrepareKeyboardWindowsHidden(window);
    window.ShowNoActivate();
    SetWindowPos(window.Handle(), nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(window.BackgroundWindow()->Handle(), nullptr, 40, 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    keyboard.Model().SetKeyPressed(VK_LWIN, true);
    window.Painter().HighlightKeyAt(80, 150);  // A
    ui::Timer closer(static_cast<UINT>(seconds * 1000), [] { ui::Terminate(); });
    closer.Start();
    ui::Application::Get().Run();
    snibbet::ExchangeLanguageTable(previousTexts);
  }
  ui::Application::Destroy();
  snibbet::FinalizeSettingsStore();
  return 0;
}

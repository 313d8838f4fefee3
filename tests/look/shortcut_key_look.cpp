// Shows the hotkey capture dialog with Ctrl+Alt+T pressed into it (through
// its own hook, as a user's keys arrive), for a look at it, its keyboard with
// the key pictures of the window's view; it closes itself.
// Usage: shortcut_key_look [seconds]
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "core/lang_table.h"
#include "dialogs/shortcut_key_form.h"
#include "keyboard/actions.h"
#include "keyboard/key_icons.h"
#include "keyboard/key_painter.h"
#include "keyboard/keyboard_runtime.h"
#include "ui/application.h"
#include "ui/image_list.h"
#include "ui/timer.h"
#include "tests/unit/input_records_support.h"

namespace {

void Send(int vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = static_cast<WORD>(vk);
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const int seconds = argc > 1 ? _wtoi(argv[1]) : 6;
  LocalFree(argv);
  ui::Application::Create({.title = L"Hotkey capture look"});
  {
    // The English texts of the program folder beside the test folder.
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring folder(self);
    folder = folder.substr(0, folder.find_last_of(L'\\') + 1) + L"..\\bin\\Lang\\";
    snibbet::TQvLang texts(folder);
    texts.Load(L"en");
    snibbet::TQvLang* const previousTexts = snibbet::ExchangeLanguageTable(&texts);
    snibbet::testing::ProgramKeyboardRuntime keyboard;
    keyboard.LoadLayout(L"Standard");
    // The keyboard window's view, whose key pictures the dialog borrows.
    ui::ImageList keyPictures(16, 16);
    keyPictures.AddStrip(GetModuleHandleW(nullptr), L"IL_KEYS", CLR_NONE);
    snibbet::KeyboardPainter windowView(keyboard.Model(), snibbet::QvActions());
    snibbet::ConnectKeyPictures(windowView, &keyPictures);
    bool pressed = false;
    int ticks = 0;
    ui::Timer driver(100, [&] {
      snibbet::TGetShortKeyForm* form = snibbet::GetShortKeyForm();
      if (!form) return;
      if (!pressed && form->CaptureHookInstalled()) {
        for (int vk : {VK_LCONTROL, VK_LMENU, int{'T'}}) Send(vk, false);
        pressed = true;
      }
      if (++ticks >= seconds * 10) {
        for (int vk : {int{'T'}, VK_LMENU, VK_LCONTROL}) Send(vk, true);
        form->Close();
      }
    });
    driver.Start();
    std::uint8_t key = 0x20;
    snibbet::ControlSet set = 0x80;
    snibbet::QueryShortcutKey(&keyboard.Model(), snibbet::QvActions(), nullptr, key, set);
    snibbet::ExchangeLanguageTable(previousTexts);
  }
  ui::Application::Destroy();
  return 0;
}

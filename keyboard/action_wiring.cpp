#include "keyboard/action_wiring.h"

#include "core/app_ini.h"
#include "core/busy_cursor.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/preset.h"
#include "core/version_info.h"
#include "core/web_address.h"
#include "keyboard/action_seams.h"
#include "keyboard/action_shell.h"

namespace snibbet {

void WireActionSeams() {
  ActionSeams& seams = Seams();
  seams.languageText = [](int number, const std::wstring& fallback) { return LangText(number, fallback); };
  seams.keyName = [](int vk) {
    const TPreset* preset = PresetOrNull();
    if (!preset || vk < 1 || vk > 255 || preset->KeyNames()[vk].empty()) return DefaultKeyName(vk);
    const std::wstring& name = preset->KeyNames()[vk];
    return vk == kVkRightShift || vk == kVkRightCtrl ? L"R" + name : name;
  };
  seams.layoutLanguageName = LocaleLanguageName;

  ActionShellSeams& shell = ShellSeams();
  shell.showError = [](const std::wstring& text) { ShowErrorMessage(text); };
  shell.busyBegin = [] { BusyCursorBegin(); };
  shell.busyEnd = [] { BusyCursorEnd(); };
  shell.documentsFolder = [] { return GetDocumentsFolder(); };
  shell.productVersion = GetProductVersion;
  shell.localizeWebAddress = [](const std::wstring& address) {
    const TPreset* preset = PresetOrNull();
    return preset ? LocalizeWebAddress(address, preset->Language()) : address;
  };
}

}  // namespace snibbet

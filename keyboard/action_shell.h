#pragma once
// What the binding files, pictures and listing need from the rest of the
// program on Windows: the error box, the busy cursor, folders, the product
// version, the web addresses, the shell and the data module's pictures. Each
// has a stand-in; the program wires the real ones once at start-up.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>

#include "keyboard/action_kinds.h"

namespace snibbet {

struct ActionShellSeams {
  std::function<void(const std::wstring& text)> showError;  // the error box
  std::function<void()> busyBegin;
  std::function<void()> busyEnd;
  std::function<std::wstring()> documentsFolder;  // ends in "\"
  std::function<std::wstring()> productVersion;
  std::function<std::wstring(const std::wstring& address)> localizeWebAddress;
  std::function<std::wstring()> productPage;  // footer links of the listing
  std::function<std::wstring()> makerPage;
  std::function<void(const std::wstring& file)> openDocument;  // with the shell

  // Pictures of the data module: the binding kinds (`ilQvActions`), a kind's
  // own strip, the keys (`ilKeys`) with the index of a key's picture, and the
  // keyboard view's font. The stand-ins have none.
  std::function<HIMAGELIST()> actionImages;
  std::function<HIMAGELIST(ActionPictures)> kindImages;
  std::function<HIMAGELIST()> keyImages;
  std::function<int(int vk)> keyPictureIndex;
  std::function<HFONT()> keyboardFont;
};

ActionShellSeams& ShellSeams();
void ResetShellSeams();

// The system's name of a language (locale information item 2), for
// `ActionSeams::layoutLanguageName`.
std::wstring LocaleLanguageName(std::uint16_t languageId);

// Shows the busy cursor for the life of the guard.
class BusyCursorGuard {
 public:
  BusyCursorGuard() { ShellSeams().busyBegin(); }
  ~BusyCursorGuard() { ShellSeams().busyEnd(); }
  BusyCursorGuard(const BusyCursorGuard&) = delete;
  BusyCursorGuard& operator=(const BusyCursorGuard&) = delete;
};

}  // namespace snibbet

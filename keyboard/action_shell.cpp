#include "keyboard/action_shell.h"

#include <shlobj.h>
#include <shellapi.h>

#include "ui/application.h"

namespace snibbet {
namespace {

std::wstring MyDocuments() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  std::wstring folder = path;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

ActionShellSeams StandIns() {
  ActionShellSeams s;
  s.showError = [](const std::wstring& text) {
    MessageBoxW(ui::ApplicationWindow(), text.c_str(), L"Error", MB_OK | MB_ICONERROR);
  };
  s.busyBegin = [] {};
  s.busyEnd = [] {};
  s.documentsFolder = MyDocuments;
  s.productVersion = [] { return std::wstring(); };
  s.localizeWebAddress = [](const std::wstring& address) { return address; };
  s.productPage = [] { return std::wstring(L"http://www.orvanesoftware.com/paste/"); };
  s.makerPage = [] { return std::wstring(L"http://www.orvanesoftware.com/"); };
  s.openDocument = [](const std::wstring& file) {
    ShellExecuteW(ui::ApplicationWindow(), nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  };
  s.actionImages = [] { return HIMAGELIST{}; };
  s.kindImages = [](ActionPictures) { return HIMAGELIST{}; };
  s.keyImages = [] { return HIMAGELIST{}; };
  s.keyPictureIndex = [](int) { return -1; };
  s.keyboardFont = [] { return HFONT{}; };
  return s;
}

}  // namespace

ActionShellSeams& ShellSeams() {
  static ActionShellSeams seams = StandIns();
  return seams;
}

void ResetShellSeams() { ShellSeams() = StandIns(); }

std::wstring LocaleLanguageName(std::uint16_t languageId) {
  wchar_t name[256] = {};
  const LCID locale = MAKELCID(languageId, SORT_DEFAULT);
  if (GetLocaleInfoW(locale, LOCALE_SLANGUAGE, name, 256) == 0) return {};
  return name;
}

}  // namespace snibbet

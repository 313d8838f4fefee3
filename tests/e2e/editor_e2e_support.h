#pragma once
// Support for the template editor's end-to-end tests: the program started on
// a template file of the test's own, a paste target, the editor opened as a
// user opens it (the hotkey's pop-up, its Edit button), its menus by keys, its
// list's rows, the tray's Exit, and what the file on disk holds.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "templates/zqt_codec.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {

std::string ReadBytes(const std::wstring& path);
POINT CentreOf(const RECT& r);
POINT CentreOf(HWND window);
// The visible child of `parent` of that class whose style has all of `style`
// (and, when given, that text).
HWND VisibleChild(HWND parent, const wchar_t* className, DWORD style = 0, const std::wstring& text = {});

// A buffer in another process's memory, for the messages that answer through a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size);
  ~RemoteBuffer();
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  // The buffer's address in the other process (null when it could not be had).
  void* Address() const { return address_; }
  bool Write(size_t offset, const void* bytes, size_t size);
  bool Read(size_t offset, void* bytes, size_t size) const;
  // Sends `message` with the buffer, first holding `value`, as lParam; what the window left in it.
  template <class T>
  std::optional<T> Exchange(HWND window, UINT message, WPARAM wParam, T value) {
    DWORD_PTR result = 0;
    if (!Write(0, &value, sizeof value) ||
        !SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(address_), SMTO_ABORTIFHUNG, 2000,
                             &result) ||
        !Read(0, &value, sizeof value))
      return std::nullopt;
    return value;
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

template <class T>
std::optional<T> AskThroughPointer(HWND window, UINT message, WPARAM wParam, T value) {
  RemoteBuffer buffer(window, sizeof(T));
  return buffer.Exchange(window, message, wParam, value);
}

// A rectangle in `window`'s client coordinates, on the screen.
POINT ScreenCentre(HWND window, RECT r);

// The text of a list view's row in any process ("" when there is none).
std::wstring ListRowText(HWND list, int row);
// The row of that text, or -1.
int ListRowOf(HWND list, std::wstring_view text);

snibbet::TemplateRecord TextTemplate(std::string name, std::string content);
// The templates of a file (none when it is missing or damaged).
std::vector<snibbet::TemplateRecord> ReadTemplateFile(const std::wstring& path);

class EditorE2eTest : public SnibbetTest {
 protected:
  void SetUp() override;

  // The template file the program starts on (the setting TemplatesFileName).
  void UseTemplateFile(const std::wstring& fileName, const std::vector<snibbet::TemplateRecord>& templates);
  // Snibbet with its debug log, its keyboard hook in place.
  void StartProgram();
  // ProbeTarget in `mode` ("edit", "richedit"): its window; its child has the focus.
  HWND StartTarget(const wchar_t* mode = L"edit");
  // The running program's visible top-level window of that class, or null.
  HWND Find(const wchar_t* className) const;
  // The hotkey from the focused window, then the pop-up's Edit button: the editor.
  HWND OpenEditorFromPopup();
  // A menu bar command of the editor by keys: F10, `menu` times Right, Down opens
  // the menu, then `item` times Down and Return.
  void ChooseMenuItem(int menu, int item);
  // Alt+X with the pointer over a window that outlives the editor (without a
  // window manager X sends keys to the window under the pointer, so the
  // release of Alt is not lost with the editor).
  void PressAltXOver(HWND editor, HWND survivor);
  // Selects the row with a click and opens its name for typing (F2); false
  // when no edit box shows.
  bool StartRenaming(HWND list, int row);
  // The tray menu's Exit, its last item, chosen by keys.
  void ChooseTrayExit();
  // The editor's list of templates, found by its class alone: while a command
  // refills the list its drawing is held off, which clears its visible flag.
  static HWND TemplateList(HWND editor);
  // The rows of a list view in any process.
  static int ListCount(HWND list);
  // The rows of the pop-up's list (it may be hidden); -1 without a pop-up.
  int PopupRows() const;

  std::vector<snibbet::TemplateRecord> SavedTemplates() const;
  std::optional<std::string> SavedTemplate(const std::string& name) const;

  std::wstring templateFile_;
  probe::Process* snibbet_ = nullptr;
  HWND main_ = nullptr;
};

}  // namespace snibbet_e2e

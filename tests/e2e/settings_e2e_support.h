#pragma once
// Support for the settings window's end-to-end tests: the running program
// with its tray, the window opened from the tray's Settings, its pages chosen
// in its tree, its controls found by their texts, the questions it asks, the
// tray menu's texts from the debug log, and controls of another process read
// through a buffer in that process.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/probe/probe.h"
#include "tests/e2e/editor_e2e_support.h"

namespace snibbet_e2e {

struct ListItem {
  std::wstring text;
  int image = -1;
  bool operator==(const ListItem&) const = default;
};

// The top-level nodes of a tree view, in order.
std::vector<ListItem> TreeItems(HWND tree);
std::vector<std::wstring> TreeTexts(HWND tree);
// The items of an extended combo box (ComboBoxEx32), in order.
std::vector<ListItem> ComboExItems(HWND combo);

HWND ChildWithText(HWND parent, const std::wstring& text);
HWND ChildOfClass(HWND parent, const std::wstring& className);

// The machine's start-with-Windows value "Snibbet"; none when missing.
std::optional<std::wstring> MachineRunValue();
void DeleteMachineRunValue();

// Sets an environment variable of this process (which the programs it
// starts inherit) for a scope.
class EnvironmentScope {
 public:
  EnvironmentScope(std::wstring name, const std::wstring& value);
  ~EnvironmentScope();
  EnvironmentScope(const EnvironmentScope&) = delete;
  EnvironmentScope& operator=(const EnvironmentScope&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> previous_;
};

class SettingsE2eTest : public EditorE2eTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Snibbet with its debug log, its hook and its tray in place.
  void StartRunning();
  // Picks the tray menu's Settings item; a disabled item leaves the menu
  // open, which Esc then closes.
  void PickSettings();
  // The tray's Settings, then the window in front: `settings_`.
  HWND OpenSettings();
  // Chooses the page of the tree node with that text, as a click does.
  void ShowPage(const std::wstring& nodeText);
  // The settings window's visible control with that text (and class).
  HWND Control(const std::wstring& text, const std::wstring& className = {}) const;
  // A click on a button of another process.
  static void Click(HWND button);
  // The program's message box once its buttons are there; none after 5 s.
  std::optional<probe::MessageBoxInfo> WaitForBox() const;
  // Returns once the program's thread has finished what it was handling
  // (a message sent to its main window waits for that); the process's idle
  // state under Wine may come before.
  void Sync() const;
  // Waits for a box whose text holds `part`, presses `button` in it and
  // waits until the program has handled the answer.
  void Answer(const std::wstring& part, int button);
  // The tray menu opened and closed again: its texts as the log lists them.
  std::string TrayMenuTexts();

  std::string Log() const;
  // The last line of the log that starts with `prefix`; empty when none.
  std::string LogLine(const std::string& prefix) const;

  HWND tray_ = nullptr;
  HWND settings_ = nullptr;
};

}  // namespace snibbet_e2e

#pragma once
// What a change of a setting does to the running program outside the
// settings object, split by the part it reaches. Each port's own methods do
// what happens while that part is not there: nothing, so a value simply waits
// in the settings object until the part reads it; the system's side is real.
// The program entry connects the parts' own once they exist.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/control_set.h"

namespace snibbet {

class KeyboardLayoutService;
class TQvAction;

// A picture held for the keyboard background; its type belongs to whoever loads it.
class HeldPicture {
 public:
  virtual ~HeldPicture() = default;
};

// The key-state model and the keyboard view that draws it.
class KeyViewEffects {
 public:
  virtual ~KeyViewEffects() = default;
  virtual void Redraw() {}
  // The characters of the keys worked out again, and the view redrawn.
  virtual void RebuildCharacters() {}
  // The layout the model follows; null without a model.
  virtual HKL Layout() { return nullptr; }
  // A hotkey as the keyboard view names its keys; none without a model.
  virtual std::optional<std::wstring> ShortcutText(std::uint8_t, ControlSet) { return std::nullopt; }
};

// The binding list.
class BindingEffects {
 public:
  virtual ~BindingEffects() = default;
  virtual void LoadFile(const std::wstring&) {}
  // The binding file changed: what is made of the bindings (menu, pictures) is rebuilt.
  virtual void Refresh() {}
  // The list holds just the template hotkey `value` (none for 0).
  virtual void BindTemplateHotkey(std::int32_t) {}
  // A new binding of the hotkey `value` to `kind` and `param`, or null for 0
  // or when the list takes none.
  virtual TQvAction* BindShortCut(std::int32_t, std::uint8_t, std::uint8_t) { return nullptr; }
};

// The keyboard window and its background window.
class KeyboardWindowEffects {
 public:
  virtual ~KeyboardWindowEffects() = default;
  virtual void LoadLayout(const std::wstring&) {}
  // Opacity and hide countdown re-applied from the settings.
  virtual void ReapplyTiming() {}
  virtual void SetShowInterval(int) {}
  virtual void SetAlpha(std::uint8_t) {}
  // The caption button's picture: 2 while the window hides by itself, 1 otherwise.
  virtual void SetCaptionButtonImage(int) {}
  // Visible, in front, and kept shown; or the countdown to hiding started.
  virtual void ShowAndKeep() {}
  virtual void StartHideDelay() {}
  virtual void RepaintBackground() {}
  // The picture of a background file; null when it cannot be loaded.
  virtual std::unique_ptr<HeldPicture> LoadBackgroundPicture(const std::wstring&) { return nullptr; }
};

// The central data module: its switch, its keyboard look, its tray.
class HubEffects {
 public:
  virtual ~HubEffects() = default;
  // Whether it is active (hooks installed); false while it is not there.
  virtual bool Active() { return false; }
  virtual void SetActive(bool) {}
  // The new language's texts everywhere: the program's own outside its forms,
  // then the forms (without the module: the forms only).
  virtual void ApplyLanguage();
  // Fonts and colours of the keyboard view filled afresh from the settings.
  virtual void ApplyAppearance() {}
  // The help file of a user-interface language.
  virtual void PickHelpFile(int) {}
  virtual void SetTrayIconActive(bool) {}
  virtual void RedrawTrayIcon() {}
  virtual void CheckTraySoundItem(bool) {}
};

// The template pop-up and the settings window and wizard while they are open.
class FormEffects {
 public:
  virtual ~FormEffects() = default;
  virtual void ReloadTemplates(const std::wstring&) {}
  virtual void SetPopupAlpha(std::uint8_t) {}
  virtual void ShowAutoHideInOpenDialogs(bool) {}
};

// The system.
class SystemEffects {
 public:
  virtual ~SystemEffects() = default;
  // Keyboard layouts for the key names.
  virtual KeyboardLayoutService* KeyboardLayouts();
  virtual void ApplyProcessPriority(bool high);
  virtual bool NumLockIsOn();
  virtual void PressNumLock();
  // Whether a sound of this process still plays; then a new one is not started.
  virtual bool SoundStillPlaying();
  virtual void PlaySoundFile(const std::wstring& file);
  virtual bool FileExists(const std::wstring& path);
  // The Run value "Snibbet" of the machine; empty when there is none.
  virtual std::wstring MachineRunValue();
};

// Where the settings object's changes go, one port per part. Given to a
// settings object, a null entry is the port's own default; given to a
// connection, a null entry leaves the one connected before in place.
struct SettingEffects {
  KeyViewEffects* keyView = nullptr;
  BindingEffects* bindings = nullptr;
  KeyboardWindowEffects* keyboardWindow = nullptr;
  HubEffects* hub = nullptr;
  FormEffects* forms = nullptr;
  SystemEffects* system = nullptr;
};

// The system's side of SystemEffects.
KeyboardLayoutService& SystemLayoutsForKeyNames();
// High priority class with the GUI thread above normal, or both normal.
void ApplyProcessPriority(bool high);
// The toggle state of Num Lock as the calling thread sees it.
bool NumLockIsOn();
// One press and release of Num Lock by synthetic input.
void PressNumLock();
bool SoundStillPlaying();
void PlaySoundFileAsync(const std::wstring& file);
bool IsExistingFile(const std::wstring& path);
std::wstring ReadMachineRunValue();

}  // namespace snibbet

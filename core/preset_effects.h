#pragma once
// Where a change of a setting reaches the running program outside the
// settings object. The windows it changes register their part here when they
// are created and clear it when they go; an empty entry means that part is
// not there (yet), and the value simply waits in the settings object until
// the part reads it. The system's side (process priority, Num Lock, sounds,
// keyboard layouts) is filled with the real services and may be replaced by
// tests.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace snibbet {

class KeyboardLayoutService;

// A picture held for the keyboard background; its type belongs to whoever loads it.
class HeldPicture {
 public:
  virtual ~HeldPicture() = default;
};

struct PresetEffects {
  // ---- the central data module ----
  // Whether it is active (hooks installed); false while it is not there.
  std::function<bool()> dataModuleActive;
  std::function<void(bool active)> setDataModuleActive;
  // Fonts and colours of the keyboard view re-applied from the settings.
  std::function<void()> applyAppearance;
  // The binding file changed: the data module's bindings (menu, pictures) are rebuilt.
  std::function<void()> refreshBindings;
  // The help file of a user-interface language.
  std::function<void(int language)> pickHelpFile;

  // ---- the keyboard window and its background window ----
  std::function<void(const std::wstring& layoutName)> loadKeyboardLayout;
  // Opacity and hide countdown re-applied from the settings.
  std::function<void()> reapplyKeyboardWindowTiming;
  std::function<void(int milliseconds)> setKeyboardShowInterval;
  std::function<void(std::uint8_t alpha)> setKeyboardWindowAlpha;
  // The caption button's picture: 2 while the window hides by itself, 1 otherwise.
  std::function<void(int image)> setKeyboardCaptionButtonImage;
  // Visible, in front, and kept shown; or the countdown to hiding started.
  std::function<void()> showKeyboardWindowAndKeep;
  std::function<void()> startKeyboardHideDelay;
  std::function<void()> repaintKeyboardBackground;
  // The picture of a background file; null when it cannot be loaded.
  std::function<std::unique_ptr<HeldPicture>(const std::wstring& file)> loadBackgroundPicture;

  // ---- the template pop-up ----
  std::function<void(const std::wstring& fileName)> reloadTemplates;
  std::function<void(std::uint8_t alpha)> setTemplatePopupAlpha;

  // ---- the tray icon and menu ----
  std::function<void(bool active)> setTrayIconActive;
  std::function<void()> redrawTrayIcon;
  std::function<void(bool checked)> checkTraySoundItem;

  // ---- the settings window and the first-run wizard, while open ----
  std::function<void(bool autoHide)> showAutoHideInOpenDialogs;

  // ---- the system ----
  // Keyboard layouts for the key names; the system's unless replaced.
  KeyboardLayoutService* keyboardLayouts = nullptr;
  std::function<void(bool high)> applyProcessPriority;
  std::function<bool()> numLockIsOn;
  std::function<void()> pressNumLock;
  // Whether a sound of this process still plays; then a new one is not started.
  std::function<bool()> soundStillPlaying;
  std::function<void(const std::wstring& file)> playSoundFile;
  std::function<bool(const std::wstring& path)> fileExists;
  // The Run value "Snibbet" of the machine; empty when there is none.
  std::function<std::wstring()> machineRunValue;
};

// The process-wide effects: windows' entries empty, the system's real.
PresetEffects& PresetEffectSeams();
// Back to that state (tests).
void ResetPresetEffects();

// The system's side, as PresetEffectSeams() starts with.
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

#pragma once
// TMainKeyboardForm: the on-screen keyboard window. Borderless, topmost and
// never activated; its face colour lime is see-through, so only the keys
// show, in front of its translucent background window. It shows the key
// model with the keys held at the moment; the mouse highlights keys, clicks
// and gestures on keys play sounds and repeat while held, modifiers clicked
// stay down (sticky), the window can be dragged, and two title buttons
// switch auto-hide and close it. The program creates it hidden and never
// offers it; while hidden the model paints nothing.
#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "core/qv_form.h"
#include "keyboard/form_button.h"
#include "keyboard/keyboard_appearance.h"
#include "keyboard/keyboard_window_rules.h"
#include "ui/paint_box.h"
#include "ui/timer.h"
#include "ui/tool_tips.h"

namespace ui {
class ImageList;
}

namespace snibbet {

class KeyboardPainter;
class TAppIni;
class TPreset;
class TQvActions;
class TQvKeyboard;
class TMainKeyboardBackgroundForm;
class KeyHintWindow;
struct KeyIconSets;

enum class ScreenMouseButton { Left, Right, Middle };

// What the keyboard window asks of the program above it.
class KeyboardWindowPort {
 public:
  virtual ~KeyboardWindowPort() = default;
  // The tray menu at a screen point (a right click on the background).
  virtual void PopUpTrayMenu(POINT screen) = 0;
  // While the settings window is open, it saves the settings itself.
  virtual bool SettingsWindowOpen() = 0;
  // The tray item that shows the keyboard window: checked while it shows.
  virtual void CheckKeyboardTrayItem(bool checked) = 0;
  // The delayed showing waits while one of the program's own windows shows.
  virtual bool NoProgramWindowShown() = 0;
  // A key clicked, repeated or given by a gesture on the keyboard.
  virtual void SendScreenKey(std::uint8_t code, ScreenMouseButton button) = 0;
};

// The program sends no key from the keyboard window.
class NoKeyboardWindowPort : public KeyboardWindowPort {
 public:
  void PopUpTrayMenu(POINT) override {}
  bool SettingsWindowOpen() override { return false; }
  void CheckKeyboardTrayItem(bool) override {}
  bool NoProgramWindowShown() override { return true; }
  void SendScreenKey(std::uint8_t, ScreenMouseButton) override {}
};

// Where the user's key repeat is read: "Control Panel\Keyboard" of the current user.
KeyRepeatTiming ReadUserKeyRepeat();

// What the keyboard window shows and works with; each outlives the window.
struct KeyboardWindowParts {
  TQvKeyboard& model;
  const TQvActions& bindings;  // a key remapped in them shows what it types
  const KeyboardAppearance& appearance;
  KeyboardWindowPort& port;
  // The settings it follows, changes and saves; null: the defaults, nothing saved.
  TPreset* settings = nullptr;
  // Where its position is kept; null: nowhere.
  TAppIni* store = nullptr;
  // The title buttons' and the keys' pictures; null: none.
  const ui::ImageList* buttonPictures = nullptr;
  const ui::ImageList* keyPictures = nullptr;
};

class TMainKeyboardForm : public TQvForm {
 public:
  static constexpr wchar_t kClassName[] = L"TMainKeyboardForm";
  static constexpr int kDesignWidth = 798, kDesignHeight = 305;
  static constexpr int kOffScreen = 3000;
  static constexpr int kNoPoint = -10000;
  static constexpr int kAutoHideImageOn = 2, kAutoHideImageOff = 1, kCloseImage = 0;

  explicit TMainKeyboardForm(const KeyboardWindowParts& parts);
  ~TMainKeyboardForm() override;

  // The background window that shows and moves with this one.
  void SetBackgroundWindow(TMainKeyboardBackgroundForm* background) { background_ = background; }
  TMainKeyboardBackgroundForm* BackgroundWindow() const { return background_; }

  void ApplyLanguage() override;
  // The layout of the setting KeyboardName, the window sized to it.
  void LoadLayoutFromSettings();
  // Opacity of both windows, the view's frame and the hide countdown from the settings.
  void ApplyAlphaBlend();
  // The appearance's fonts and colours on the view and the title buttons; the
  // view shows them at its next redraw.
  void ApplyAppearance();
  bool IsMouseOverKeyboard() const;
  // The menu lock of the settings takes the title buttons away.
  void HideTitleButtons();
  void UpdateHint();
  // The delay of the (never started) delayed showing.
  void SetShowDelay(int milliseconds) { tmrShow.SetInterval(static_cast<UINT>(milliseconds > 0 ? milliseconds : 1)); }

  // The picture's mouse, also as the background window forwards it (client coordinates).
  void PictureMouseDown(ScreenMouseButton button, POINT point);
  void PictureMouseUp(ScreenMouseButton button, POINT point);
  void PictureMouseMove(POINT point);
  void PictureMouseLeave();

  // The icon sets the keys draw and take their hints from; the sets outlive the window.
  void ConnectIconSets(const KeyIconSets& sets);

  KeyboardPainter& Painter() const { return *painter_; }
  ui::PaintBox& PictureBox() { return pbKeyboard; }
  TQvFormBtn& AutoHideButton() { return btnAutoHide; }
  TQvFormBtn& CloseButton() { return btnClose; }
  TQvKeyboard& Model() const { return model_; }
  // The settings the window follows; null: none.
  TPreset* Settings() const { return settings_; }
  const KeyRepeatTiming& RepeatTiming() const { return repeat_; }
  bool Sticky(int code) const { return code > 0 && code < 256 && stickyKeys_[static_cast<std::size_t>(code)]; }
  int HeldKey() const { return heldKey_; }
  bool Dragging() const { return dragOrigin_.x != kNoPoint; }
  int HideCountdown() const { return hideCountdown_; }

 protected:
  void OnCreate() override;
  void OnShow() override;
  void OnHide() override;
  void OnClose(ui::CloseAction& action) override;
  void OnDestroy() override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void PressScreenKey(int code, ScreenMouseButton button);
  void RepeatScreenKey();
  void ReleaseHeldKey();
  void HideHint();
  void ShowHintNow();
  void PlaceTitleButtons();
  void AfterTitleButton();
  void FollowWithBackground();
  void tmrShowTimer();
  void tmrHideTimer();

  TQvKeyboard& model_;
  const TQvActions& bindings_;
  const KeyboardAppearance& appearance_;
  KeyboardWindowPort& port_;
  TPreset* settings_;
  TAppIni* store_;
  const ui::ImageList* keyPictures_;
  TMainKeyboardBackgroundForm* background_ = nullptr;

  ui::Timer tmrPress;
  ui::PaintBox pbKeyboard;
  ui::Timer tmrHint;
  ui::Timer tmrHideHint;
  ui::Timer tmrCheckHint;
  ui::Timer tmrShow;
  ui::Timer tmrHide;
  TQvFormBtn btnAutoHide;
  TQvFormBtn btnClose;

  std::unique_ptr<KeyboardPainter> painter_;
  std::unique_ptr<KeyHintWindow> hint_;
  RECT hintRect_{};
  POINT dragOrigin_{kNoPoint, kNoPoint};
  KeyRepeatTiming repeat_;
  POINT gestureStart_{kNoPoint, kNoPoint};
  int gestureKey_ = 0;
  int heldKey_ = 0;
  int buttonPanelLeft_ = 352;
  POINT shownCursor_{};
  bool mouseMoved_ = false;
  std::array<bool, 256> stickyKeys_{};
  bool rightButtonMode_ = false;
  bool middleButtonMode_ = false;
  int hideCountdown_ = 0;
  int hintKey_ = 0;
  ui::ToolTips buttonHints_;
};

// What the first showing would give both keyboard windows (the model's
// layout, their size and opacity) while they stay hidden: the view makes its
// picture only when the window first shows.
void PrepareKeyboardWindowsHidden(TMainKeyboardForm& keyboard);

}  // namespace snibbet

#pragma once
// TMainKeyboardBackgroundForm: the translucent window behind the keyboard
// window, at the same place and size. It paints the layout's background
// picture, the settings' picture tiled, or the keyboard's face colour; it
// passes clicks through the keyboard's see-through face on to the keyboard
// window, opens the tray menu on a right click, and keeps both windows on top.
#include <windows.h>

#include "ui/form.h"
#include "ui/gdi.h"

namespace snibbet {

class ForegroundState;
class TMainKeyboardForm;
class KeyboardPainter;
struct KeyboardAppearance;
class KeyboardWindowPort;

class TMainKeyboardBackgroundForm : public ui::Form {
 public:
  static constexpr wchar_t kClassName[] = L"TMainKeyboardBackgroundForm";
  static constexpr BYTE kDesignAlpha = 100;
  static constexpr COLORREF kSeeThroughColour = 0xFFFFFF;

  // It paints the picture of the keyboard window's settings; bringing both
  // windows to the front counts as activity in `foreground`. All outlive it.
  TMainKeyboardBackgroundForm(TMainKeyboardForm& keyboard, const KeyboardAppearance& appearance,
                              KeyboardWindowPort& port, ForegroundState& foreground);
  ~TMainKeyboardBackgroundForm() override;

  // The keyboard window tells it so when it goes first.
  void KeyboardWindowGone() { keyboardGone_ = true; }

  // Both windows to the top, the background first; only while both show.
  void BringToFront();
  // The rounded shape afresh; the keyboard window's place unless it shows.
  void FormResize();
  // Painted anew now.
  void RepaintNow();
  bool TransparentColourOn() const { return colourKeyOn_; }

 protected:
  void OnCreate() override;
  void OnHide() override;
  void OnSize(int clientWidth, int clientHeight) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void FormPaint(HDC dc);
  void FormMouseDown(UINT message, WPARAM keys, POINT point);
  void FormMouseUp(UINT message, POINT point);
  void SetColourKey(bool on);

  TMainKeyboardForm& keyboard_;
  const KeyboardAppearance& appearance_;
  KeyboardWindowPort& port_;
  ForegroundState& foreground_;
  bool keyboardGone_ = false;
  bool frontGuard_ = false;
  bool paintGuard_ = false;
  bool colourKeyOn_ = true;
};

TMainKeyboardBackgroundForm* MainKeyboardBackgroundForm();

}  // namespace snibbet

#pragma once
// The keyboard view: the key model drawn with GDI into a bitmap of its own
// and copied to the window that shows it. Each key is painted on the shape of
// the US-layout key it sits on and shows what it does now: its character
// under the held modifiers, its name, or a picture; coloured by state.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "keyboard/key_model.h"
#include "keyboard/keyboard_appearance.h"
#include "keyboard/key_shape.h"
#include "keyboard/keyboard_background.h"
#include "ui/gdi.h"

namespace snibbet {

class TPreset;

inline constexpr COLORREF kTransparentFaceColor = 0x00FF00;  // the keyboard window's see-through colour

// The settings the view reads while it paints.
struct KeyPaintSettings {
  bool showLabels = false;
  bool centerInfo = false;
  bool showZone = false;
  bool showCharCtrl = false;
  bool keypadAlwaysDigits = false;
  bool showCaption = false;
  bool showHotkeySquare = false;
  // From the settings object; these defaults without one.
  static KeyPaintSettings FromPreset(const TPreset* preset);
};

// Drawing that belongs to other parts of the program; each draws nothing
// (answers false) until it is wired.
struct KeyPainterSeams {
  // Picture `index` of the key image list at (x, y).
  std::function<bool(HDC dc, int index, int x, int y)> drawKeyPicture;
  // The caption bar across the top of the view; the painter's own caption
  // bar in its appearance unless replaced.
  std::function<void(HDC dc, int width, COLORREF cornerColour, const std::wstring& caption)> drawCaption;
  // The icon of a bound action or of the foreground program's shortcut.
  std::function<bool(HDC dc, int iconCode, ControlSet set, ControlSet sideLessSet, int x, int y)> drawKeyIcon;
  // Marks for the foreground program's Ctrl and Alt shortcuts of a key.
  std::function<void(HDC dc, int iconCode, int x, int y)> drawHotkeySquares;
  std::function<std::wstring(int iconCode, ControlSet set, ControlSet sideLessSet)> iconHint;
};

// The key picture of a code: 0 Win, 1 Apps, 2 Backspace, 3..6 arrows, 7..24
// the browser and media keys; -1 for none.
int VirtualKeyToActionImage(int code);
// The face of a key in the finger-zone colouring; `normal` for keys outside the zones.
COLORREF FingerZoneColour(int code, COLORREF normal);

class TQvActions;

class KeyboardPainter : public KeyboardView {
 public:
  // Attaches itself to the model as its view; a key remapped in `bindings`
  // shows what it types. Both outlive the painter.
  KeyboardPainter(TQvKeyboard& model, const TQvActions& bindings);
  ~KeyboardPainter() override;
  KeyboardPainter(const KeyboardPainter&) = delete;
  KeyboardPainter& operator=(const KeyboardPainter&) = delete;

  // The window the picture is presented on; none until set.
  void SetTarget(HWND target) { target_ = target; }
  // Fonts and colours; the keys take them at the next redraw.
  void SetAppearance(const KeyboardAppearance& appearance);
  const KeyboardAppearance& Appearance() const { return look_; }
  void SetTransparentFace(bool transparent);
  void SetFrameVisible(bool visible);
  void SetTwoShapeStates(bool on) { twoShapeStates_ = on; }
  // The picture behind the keys (none: plain face) and its file name.
  void SetBackground(std::unique_ptr<BackgroundPicture> picture, std::wstring fileName);
  const std::wstring& BackgroundFileName() const { return backgroundFileName_; }
  bool HasBackground() const { return background_ != nullptr; }
  // The layout's picture resampled to (width, height) at (0, 0); the
  // resampled copy is kept for the next call of the same size.
  void PaintBackground(HDC dc, int width, int height);

  KeyPainterSeams seams;
  // Asked at each redraw; the defaults until set.
  std::function<KeyPaintSettings()> settings = [] { return KeyPaintSettings{}; };
  std::function<void()> onRedrawn;

  // KeyboardView; nothing while the model's painting is off.
  void DrawKey(int code) override;
  void Redraw() override;
  void Present() override;

  // The picture, for a window's WM_PAINT, and a copy scaled to fit (width, height).
  void PaintTo(HDC dc, int width, int height) const;
  void PaintScaled(HDC dc, int width, int height) const;

  // The mouse over the view.
  void HighlightKeyAt(int x, int y);
  void ClearHighlight(bool present);
  TQvBtn* HighlightedKey() const;
  // The first key (in code order) whose shape holds the point; `whichShape`
  // is the shape hit (1 for a key's extended shape).
  TQvBtn* KeyAt(int x, int y, int& whichShape) const;
  std::wstring GetHint(const TQvBtn& key) const;
  // The code whose icons a key shows: 0 for a held modifier.
  int IconKind(const TQvBtn& key) const;

  HDC Canvas() const { return canvas_.Get(); }
  // The height of a line of text in the view's own font (the label font's
  // face and style at the character font's size) at the last redraw.
  int TextHeight() const { return textHeight_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  void EnsureCanvas();
  void EnsureScaledBackground(HDC like, int width, int height);
  void PaintFace(bool frame, COLORREF& faceBrush);
  void DrawButton(const TQvBtn& key);
  void PaintShape(const TQvBtn& key, const std::vector<KeyPoint>& points, bool pressed, bool highlighted);
  KeyColours StateColours(const TQvBtn& key, bool pressed, bool highlighted) const;
  void DrawKeyName(const TQvBtn& key, int x, int y, int code, const RECT& clip);
  void DrawKeyChar(const TQvBtn& key, int x, int y, const KeyRect& textRect, bool withoutCtrl);
  bool LoneCtrlHeld() const;

  TQvKeyboard& model_;
  const TQvActions& bindings_;
  HWND target_ = nullptr;
  KeyboardAppearance look_;
  KeyPaintSettings current_;
  ui::Font labelFont_, charFont_, viewFont_;
  ui::MemoryDC canvas_;
  ui::Bitmap bitmap_;
  HGDIOBJ originalBitmap_ = nullptr;
  int width_ = 0, height_ = 0;
  int textHeight_ = 0;
  bool transparentFace_ = false;
  bool frameVisible_ = true;
  bool twoShapeStates_ = false;
  int highlightedCode_ = 0;
  std::unique_ptr<BackgroundPicture> background_;
  std::wstring backgroundFileName_;
  ui::Bitmap scaledBackground_;
  int scaledWidth_ = 0, scaledHeight_ = 0;
};

}  // namespace snibbet

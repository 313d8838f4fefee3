#include "keyboard/key_painter.h"

#include <algorithm>
#include <vector>

#include "core/busy_cursor.h"
#include "core/lang_table.h"
#include "core/preset.h"
#include "keyboard/actions.h"
#include "keyboard/keyboard_appearance_fill.h"
#include "keyboard/keyboard_caption.h"

namespace snibbet {
namespace {

constexpr int kRemapKind = 2;

struct Zone {
  COLORREF colour;
  std::initializer_list<int> codes;
};
const Zone kFingerZones[] = {
    {0x9EE9B9, {9, 20, 192, 49, 81, 65, 90, 56, 73, 75, 188}},
    {0x72E2FE, {50, 87, 83, 88, 55, 89, 85, 72, 74, 78, 77}},
    {0xFFD288, {51, 69, 68, 67, 48, 80, 186, 187, 189, 191, 219, 220, 221, 222, 8, 13}},
    {0x79B5FD, {52, 53, 54, 82, 84, 70, 71, 86, 66, 57, 79, 76, 190}},
    {0xAEA999, {32}},
};

ui::Font MakeFont(HDC dc, const std::wstring& name, int points, bool bold, bool italic) {
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  return ui::Font(CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name.c_str()));
}

SIZE TextSize(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

std::vector<POINT> ToPoints(const std::vector<KeyPoint>& points) {
  std::vector<POINT> result;
  for (const KeyPoint& p : points) result.push_back({p.x, p.y});
  return result;
}

bool IsFunctionKey(int code) { return code >= 112 && code <= 135; }

}  // namespace

KeyPaintSettings KeyPaintSettings::FromPreset(const TPreset* preset) {
  KeyPaintSettings s;
  if (preset) {
    s.showLabels = preset->KeyboardShowLabels();
    s.centerInfo = preset->KeyboardCenterInfo();
    s.showZone = preset->ShowKeyboardZone();
    s.showCharCtrl = preset->ShowCharCtrl();
    s.keypadAlwaysDigits = preset->NumAlwaysFigure();
    s.showCaption = preset->KeyboardShowCaption();
    s.showHotkeySquare = preset->ShowHotkeySquare();
  }
  return s;
}

int VirtualKeyToActionImage(int code) {
  switch (code) {
    case 91:
    case 92: return 0;
    case 93: return 1;
    case 8: return 2;
    case 37: return 3;
    case 38: return 4;
    case 39: return 5;
    case 40: return 6;
    default: return code >= 166 && code <= 183 ? code - 159 : -1;
  }
}

COLORREF FingerZoneColour(int code, COLORREF normal) {
  for (const Zone& zone : kFingerZones) {
    if (std::find(zone.codes.begin(), zone.codes.end(), code) != zone.codes.end()) return zone.colour;
  }
  return normal;
}

// ---- set-up ----

KeyboardPainter::KeyboardPainter(TQvKeyboard& model, const TQvActions& bindings) : model_(model), bindings_(bindings) {
  SetAppearance(look_);
  seams.drawCaption = [this](HDC dc, int width, COLORREF corner, const std::wstring& caption) {
    DrawKeyboardCaption(dc, width, true, corner, caption, look_);
  };
  model_.SetView(this);
}

KeyboardPainter::~KeyboardPainter() {
  model_.SetView(nullptr);
  if (originalBitmap_) SelectObject(canvas_.Get(), originalBitmap_);
}

void KeyboardPainter::SetAppearance(const KeyboardAppearance& appearance) {
  look_ = appearance;
  ui::WindowDC screen;
  labelFont_ = MakeFont(screen, look_.labelFontName, look_.labelFontSize, look_.labelBold, look_.labelItalic);
  charFont_ = MakeFont(screen, look_.charFontName, look_.charFontSize, look_.charBold, look_.charItalic);
  viewFont_ = ui::Font(CreateKeyboardViewFont(screen, look_));
}

void KeyboardPainter::SetTransparentFace(bool transparent) {
  if (transparent == transparentFace_) return;
  transparentFace_ = transparent;
  Redraw();
}

void KeyboardPainter::SetFrameVisible(bool visible) {
  if (visible == frameVisible_) return;
  frameVisible_ = visible;
  Redraw();
}

void KeyboardPainter::SetBackground(std::unique_ptr<BackgroundPicture> picture, std::wstring fileName) {
  background_ = std::move(picture);
  backgroundFileName_ = background_ ? std::move(fileName) : std::wstring();
  scaledBackground_.Reset();
  scaledWidth_ = scaledHeight_ = 0;
}

void KeyboardPainter::EnsureCanvas() {
  const int width = model_.Layout().width, height = model_.Layout().height;
  if (bitmap_ && width == width_ && height == height_) return;
  ui::WindowDC screen;
  ui::Bitmap bitmap(CreateCompatibleBitmap(screen, width, height));
  if (!bitmap) return;
  const HGDIOBJ previous = SelectObject(canvas_.Get(), bitmap.Get());
  if (!originalBitmap_) originalBitmap_ = previous;
  bitmap_ = std::move(bitmap);
  width_ = width;
  height_ = height;
}

// ---- whole picture ----

void KeyboardPainter::Redraw() {
  if (!model_.Painting()) return;
  EnsureCanvas();
  if (!bitmap_) return;
  current_ = settings ? settings() : KeyPaintSettings{};
  const HDC dc = canvas_.Get();
  const bool frame = frameVisible_ && !(background_ && background_->HasWhiteCorner());
  {
    ui::SelectedObject font(dc, viewFont_.Get());
    textHeight_ = TextSize(dc, L"gqW").cy;
  }
  COLORREF faceBrush = 0;
  PaintFace(frame, faceBrush);
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    if (const TQvBtn* key = model_.Button(code)) DrawButton(*key);
  }
  if (current_.showCaption && frame && seams.drawCaption)
    seams.drawCaption(dc, width_, faceBrush, LangText(36, L"No text"));
  Present();
  if (onRedrawn) onRedrawn();
}

void KeyboardPainter::PaintFace(bool frame, COLORREF& faceBrush) {
  const HDC dc = canvas_.Get();
  faceBrush = transparentFace_ ? kTransparentFaceColor : look_.face;
  ui::Pen pen(CreatePen(PS_SOLID, 1, frame ? look_.frame : kTransparentFaceColor));
  ui::Brush brush(CreateSolidBrush(faceBrush));
  {
    ui::SelectedObject selectedPen(dc, pen.Get());
    ui::SelectedObject selectedBrush(dc, brush.Get());
    RoundRect(dc, 0, 0, width_, height_, 14, 14);
  }
  if (transparentFace_ || !background_) return;
  PaintBackground(dc, width_, height_);
}

void KeyboardPainter::EnsureScaledBackground(HDC like, int width, int height) {
  if (scaledBackground_ && scaledWidth_ == width && scaledHeight_ == height) return;
  ui::MemoryDC scaled(like);
  scaledBackground_.Reset(CreateCompatibleBitmap(like, width, height));
  scaledWidth_ = width;
  scaledHeight_ = height;
  ui::SelectedObject target(scaled, scaledBackground_.Get());
  background_->DrawScaled(scaled, width, height);
}

void KeyboardPainter::PaintBackground(HDC dc, int width, int height) {
  if (!background_ || width <= 0 || height <= 0) return;
  EnsureScaledBackground(dc, width, height);
  ui::MemoryDC scaled(dc);
  ui::SelectedObject source(scaled, scaledBackground_.Get());
  BitBlt(dc, 0, 0, width, height, scaled, 0, 0, SRCCOPY);
}

void KeyboardPainter::Present() {
  if (!model_.Painting() || !target_ || !IsWindow(target_) || !bitmap_) return;
  ui::WindowDC dc(target_);
  RECT client{};
  GetClientRect(target_, &client);
  PaintTo(dc, client.right, client.bottom);
}

void KeyboardPainter::PaintTo(HDC dc, int width, int height) const {
  if (bitmap_) BitBlt(dc, 0, 0, width, height, canvas_.Get(), 0, 0, SRCCOPY);
}

void KeyboardPainter::PaintScaled(HDC dc, int width, int height) const {
  if (!bitmap_ || width_ <= 0 || height_ <= 0) return;
  const double scale = std::min(static_cast<double>(width) / width_, static_cast<double>(height) / height_);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, static_cast<int>(width_ * scale), static_cast<int>(height_ * scale), canvas_.Get(), 0, 0,
             width_, height_, SRCCOPY);
}

// ---- one key ----

void KeyboardPainter::DrawKey(int code) {
  if (!model_.Painting()) return;
  if (!bitmap_) return Redraw();
  current_ = settings ? settings() : KeyPaintSettings{};
  if (const TQvBtn* key = model_.Button(code)) DrawButton(*key);
}

void KeyboardPainter::DrawButton(const TQvBtn& key) {
  const TQvBtn* linked = key.Linked();
  if (!linked || linked->Points().empty()) return;
  const auto [first, second] = SplitShapes(linked->Points());
  const bool pressed = key.Pressed(), highlighted = key.Highlighted(), extended = key.Extended();
  if (second.empty()) {
    PaintShape(key, first, pressed, highlighted);
  } else if (twoShapeStates_) {
    PaintShape(key, first, pressed && !extended, highlighted && !extended);
    PaintShape(key, second, pressed && extended, highlighted && extended);
  } else {
    PaintShape(key, first, pressed, highlighted);
    PaintShape(key, second, pressed, highlighted);
  }
}

KeyColours KeyboardPainter::StateColours(const TQvBtn& key, bool pressed, bool highlighted) const {
  if (pressed) return look_.pressed;
  if (highlighted) return look_.highlighted;
  KeyColours colours = look_.normal;
  const int position = key.Linked() ? key.Linked()->Code() : key.Code();
  if (current_.showZone) colours.face = FingerZoneColour(position, look_.normal.face);
  if (!transparentFace_ && colours.face == kTransparentFaceColor) colours.face = look_.face;
  return colours;
}

bool KeyboardPainter::LoneCtrlHeld() const {
  const KeyStateBytes& state = model_.KeyState();
  return state[kVkControl] && !state[kVkRightAlt] && !current_.showCharCtrl;
}

int KeyboardPainter::IconKind(const TQvBtn& key) const {
  return key.IsModifier() && model_.KeyState()[key.Code()] ? 0 : key.Code();
}

void KeyboardPainter::PaintShape(const TQvBtn& key, const std::vector<KeyPoint>& points, bool pressed,
                                 bool highlighted) {
  if (points.size() < 2) return;
  const HDC dc = canvas_.Get();
  const KeyColours colours = StateColours(key, pressed, highlighted);
  int pictureCode = key.Code();
  int nameCode = key.Linked() ? key.Linked()->Code() : key.Code();
  if (const TQvAction* remap = bindings_.FindPlain(key.Code());
      remap && remap->Kind() == kRemapKind && remap->Param() > 0)
    pictureCode = nameCode = remap->Param();
  const int picture = VirtualKeyToActionImage(pictureCode);
  const bool rectangle = points.size() == 2;

  KeyRect text;
  {
    ui::Pen pen(CreatePen(PS_SOLID, 1, colours.outline));
    ui::Brush brush(CreateSolidBrush(colours.face));
    ui::SelectedObject selectedPen(dc, pen.Get());
    ui::SelectedObject selectedBrush(dc, brush.Get());
    if (rectangle) {
      RoundRect(dc, points[0].x, points[0].y, points[1].x, points[1].y, 5, 5);
      text = {points[0].x, points[0].y, points[1].x - 2, points[1].y - 2};
    } else {
      const std::vector<POINT> polygon = ToPoints(points);
      Polygon(dc, polygon.data(), static_cast<int>(polygon.size()));
      ui::SelectedObject font(dc, labelFont_.Get());
      const SIZE name = TextSize(dc, model_.NameOfCode(nameCode));
      const bool compact = key.IsPrintable() || IsFunctionKey(key.Code()) || picture >= 0;
      text = ComputeTextRect(points, compact, name.cx, name.cy);
    }
  }
  SetBkMode(dc, TRANSPARENT);
  const int iconX = text.right - 16, iconY = text.bottom - 16;
  const bool printable = key.IsPrintable();
  const bool drewPicture = picture >= 0 && seams.drawKeyPicture && seams.drawKeyPicture(dc, picture, text.left + 2, text.top + 2);
  if (!drewPicture) {
    const int height = KeyHeight(key.Linked() ? key.Linked()->Points() : key.Points());
    if (!printable || (height >= 30 && current_.showLabels)) {
      if (pictureCode != kVkSpace) {
        const RECT clip{text.left + 2, text.top + 1, text.right - 1, std::min(text.top + textHeight_ + 1, text.bottom)};
        SetTextColor(dc, colours.name);
        DrawKeyName(key, text.left + 2, text.top + 1, nameCode, clip);
      }
    } else if (!current_.showLabels && !current_.centerInfo) {
      SetTextColor(dc, colours.character);
      DrawKeyChar(key, text.left + 2, text.top + 1, text, LoneCtrlHeld());
    }
  }
  const int iconCode = IconKind(key);
  if (current_.showHotkeySquare && seams.drawHotkeySquares)
    seams.drawHotkeySquares(dc, iconCode, rectangle ? text.left + 2 : iconX - 11, iconY);
  if (seams.drawKeyIcon && seams.drawKeyIcon(dc, iconCode, model_.GetControlSet(), model_.SideLessSet(), iconX, iconY))
    return;
  const KeyStateBytes& state = model_.KeyState();
  if (printable && (current_.showLabels || current_.centerInfo) && !state[kVkLeftWin] && !state[kVkRightWin] &&
      !LoneCtrlHeld()) {
    SetTextColor(dc, colours.character);
    if (current_.centerInfo) {
      DrawKeyChar(key, text.left + 2, text.top + 1, text, false);
    } else {
      DrawKeyChar(key, iconX, std::max(text.bottom - look_.lineHeight, text.top + 1), text, false);
    }
  }
}

void KeyboardPainter::DrawKeyName(const TQvBtn& key, int x, int y, int code, const RECT& clip) {
  if (key.IsPrintable() && current_.centerInfo) return;
  const std::wstring name = model_.NameOfCode(code);
  RECT box{x, y, clip.right, clip.bottom};
  ui::SelectedObject font(canvas_.Get(), labelFont_.Get());
  DrawTextW(canvas_.Get(), name.c_str(), static_cast<int>(name.size()), &box, DT_NOPREFIX | DT_SINGLELINE);
}

void KeyboardPainter::DrawKeyChar(const TQvBtn& key, int x, int y, const KeyRect& textRect, bool withoutCtrl) {
  const int code = key.Code();
  if (code == kVkSpace) return;
  const HDC dc = canvas_.Get();
  if (KeypadShowsNavigation(code, model_.KeyState(), current_.keypadAlwaysDigits)) {
    const int navigation = NumpadNavigationKey(code);
    const int picture = VirtualKeyToActionImage(navigation);
    const int offset = current_.centerInfo ? 8 : 0;
    if (picture >= 0 && seams.drawKeyPicture && seams.drawKeyPicture(dc, picture, x + offset, y + offset)) return;
    const std::wstring name = model_.NameOfCode(navigation);
    RECT box{textRect.left + 2, y, textRect.right, textRect.bottom};
    ui::SelectedObject font(dc, labelFont_.Get());
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &box, DT_NOPREFIX | DT_SINGLELINE);
    return;
  }
  const wchar_t ch = withoutCtrl ? model_.CharOfKeyWithoutCtrl(code) : model_.CharOfKey(code);
  if (ch == 0) return;
  RECT box{x, y, std::min(x + 32, textRect.right), std::min(y + 32, textRect.bottom)};
  const UINT centred = current_.centerInfo ? DT_CENTER | DT_VCENTER : 0;
  ui::SelectedObject font(dc, charFont_.Get());
  DrawTextW(dc, &ch, 1, &box, DT_NOPREFIX | DT_SINGLELINE | centred);
}

// ---- mouse ----

TQvBtn* KeyboardPainter::KeyAt(int x, int y, int& whichShape) const {
  for (int code = kFirstKeyCode; code <= kLastKeyCode; ++code) {
    TQvBtn* key = model_.Button(code);
    if (!key || !key->Linked()) continue;
    whichShape = key->Extended() ? 1 : 0;
    if (HitTestShape(key->Linked()->Points(), x, y, whichShape)) return key;
  }
  return nullptr;
}

TQvBtn* KeyboardPainter::HighlightedKey() const {
  TQvBtn* key = model_.Button(highlightedCode_);
  return key && key->Highlighted() ? key : nullptr;
}

void KeyboardPainter::HighlightKeyAt(int x, int y) {
  if (TQvBtn* current = HighlightedKey()) {
    int which = current->Extended() ? 1 : 0;
    if (current->Linked() && HitTestShape(current->Linked()->Points(), x, y, which) &&
        which == (current->Extended() ? 1 : 0))
      return;
  }
  ClearHighlight(false);
  int which = 0;
  if (TQvBtn* key = KeyAt(x, y, which)) {
    highlightedCode_ = key->Code();
    key->SetExtended(which == 1);
    key->SetHighlighted(true);
    ShowHandCursor();
  }
  model_.Present();
}

void KeyboardPainter::ClearHighlight(bool present) {
  if (TQvBtn* key = HighlightedKey()) {
    key->SetHighlighted(false);
    // Back to the default cursor, but a busy stretch keeps its hourglass.
    if (BusyCursorLevel() == 0) BusyCursorEnd();
  }
  highlightedCode_ = 0;
  if (present) model_.Present();
}

std::wstring KeyboardPainter::GetHint(const TQvBtn& key) const {
  if (!seams.iconHint) return {};
  return seams.iconHint(IconKind(key), model_.GetControlSet(), model_.SideLessSet());
}

}  // namespace snibbet

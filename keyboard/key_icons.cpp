#include "keyboard/key_icons.h"

#include <array>

#include "core/preset.h"

namespace snibbet {

KeyIconSettings KeyIconSettings::FromPreset(const TPreset* preset) {
  KeyIconSettings s;
  if (preset) {
    s.bindings = preset->ShowIconZqkeys();
    s.application = preset->ShowIconApp();
    s.windows = preset->ShowIconWindows();
  }
  return s;
}

namespace {

// The sets to try, in their order; switched-off and missing ones are null.
std::array<const TQvIcons*, 3> SetsInOrder(const TQvKeyboard& model, const KeyIconSets& sets,
                                           const KeyIconSettings& on) {
  return {on.bindings ? sets.bindings : nullptr, on.application ? model.AppIcons() : nullptr,
          on.windows ? sets.windows : nullptr};
}

}  // namespace

void ConnectKeyIcons(KeyboardPainter& painter, const TQvKeyboard& model, KeyIconSets sets,
                     std::function<KeyIconSettings()> settings) {
  painter.seams.drawKeyIcon = [&model, sets, settings](HDC dc, int iconCode, ControlSet set,
                                                        ControlSet sideLessSet, int x, int y) {
    for (const TQvIcons* icons : SetsInOrder(model, sets, settings()))
      if (icons && icons->DrawEntry(dc, iconCode, x, y, sideLessSet, set)) return true;
    return false;
  };
  // The marks are the application's Ctrl and Alt shortcuts.
  painter.seams.drawHotkeySquares = [&model](HDC dc, int iconCode, int x, int y) {
    if (const TQvIcons* icons = model.AppIcons()) icons->DrawHotkeySquares(dc, iconCode, x, y);
  };
  painter.seams.iconHint = [&model, sets, settings](int iconCode, ControlSet set, ControlSet sideLessSet) {
    std::wstring text;
    for (const TQvIcons* icons : SetsInOrder(model, sets, settings()))
      if (icons && icons->GetEntry(iconCode, set, nullptr, sideLessSet, text)) return text;
    return std::wstring{};
  };
}

void ConnectKeyPictures(KeyboardPainter& painter, const ui::ImageList* pictures) {
  if (!pictures || !*pictures) {
    painter.seams.drawKeyPicture = nullptr;
    return;
  }
  painter.seams.drawKeyPicture = [pictures](HDC dc, int index, int x, int y) {
    if (index < 0 || index >= pictures->Count()) return false;
    pictures->Draw(index, dc, x, y);
    return true;
  };
}

KeyIconSets ProgramKeyIconSets(TQvIconsList& list, const TQvIcons* bindingPictures) {
  return {bindingPictures, list.FindByName(RunningWindowsIconSetName(), true)};
}

}  // namespace snibbet

#pragma once
// The icon sets a keyboard view draws on its keys and takes its key hints
// from, the first that has the key's entry winning: the binding list's
// pictures, the set of the application in front (the model's) and Windows'
// own set, each while its setting is on.
#include "core/icon_sets.h"
#include "keyboard/key_painter.h"
#include "ui/image_list.h"

namespace snibbet {

struct KeyIconSets {
  const TQvIcons* bindings = nullptr;
  const TQvIcons* windows = nullptr;
};

// Which sets the view uses (ShowIconZqkeys, ShowIconApp, ShowIconWindows).
struct KeyIconSettings {
  bool bindings = true;
  bool application = false;
  bool windows = false;
  // From the settings object; these defaults without one.
  static KeyIconSettings FromPreset(const TPreset* preset);
};

// Fills the painter's icon drawing and hints from the sets; the application's
// set is read from `model` at each paint and the settings from `settings`.
// The sets and the model outlive the painter.
void ConnectKeyIcons(KeyboardPainter& painter, const TQvKeyboard& model, KeyIconSets sets,
                     std::function<KeyIconSettings()> settings);

// The view draws the key pictures of Win, Backspace, the arrows and the
// browser and media keys from `pictures` (the data module's key pictures);
// without the list, or for an index it lacks, the key shows its name. The
// list outlives the painter.
void ConnectKeyPictures(KeyboardPainter& painter, const ui::ImageList* pictures);

// The running program's: the binding list's pictures and the Windows set of
// this Windows version from `list`, loaded in full.
KeyIconSets ProgramKeyIconSets(TQvIconsList& list, const TQvIcons* bindingPictures);

}  // namespace snibbet

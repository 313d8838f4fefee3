#pragma once
// Connects the key model to the application core: key names from the
// settings object and texts from the language table, both read at each use.
namespace snibbet {

class TPreset;
class TQvKeyboard;

// `settings` (null: no names of the user's) outlives the model.
void WireKeyModel(TQvKeyboard& model, const TPreset* settings);

}  // namespace snibbet

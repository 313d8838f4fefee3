#pragma once
// Connects the key model to the application core: key names from the
// settings object and texts from the language table, both read at each use.
namespace snibbet {

class TQvKeyboard;

void WireKeyModel(TQvKeyboard& model);

}  // namespace snibbet

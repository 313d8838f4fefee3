#pragma once
// Connects the key model to the application core: key names from the
// settings object, texts from the language table, and the process-wide model
// reference (through which a binding's shortcut text names keys as the
// current layout places them). Call after the core is initialised.
namespace snibbet {

class TQvKeyboard;

void WireKeyModel(TQvKeyboard& model);
// Undoes WireKeyModel's process-wide parts when the model goes away.
void UnwireKeyModel(TQvKeyboard& model);

}  // namespace snibbet

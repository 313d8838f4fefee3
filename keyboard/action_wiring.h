#pragma once
// Connects the binding list's seams to the application core: the language
// table, the settings object's key names and language, the settings store's
// documents folder, the error box, the busy cursor and the version resource.
// Call once after the core is initialised (settings store, settings object,
// language table). The data module's pictures and bindings-changed flag, and
// the executor's pending action, are its own to wire when they exist.
namespace snibbet {

void WireActionSeams();

}  // namespace snibbet

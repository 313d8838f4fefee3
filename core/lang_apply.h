#pragma once
// Re-applying the language texts to the whole user interface after the
// language has changed.
#include <functional>

namespace snibbet {

// How the central data module re-applies its own texts (tray menu, actions).
// It registers this when it starts and clears it (empty function) when it stops.
void SetDataModuleLanguageHandler(std::function<void()> handler);

// The data module's texts first, then every open form of ours in the order
// the forms were opened: its ApplyLanguage, then an immediate repaint. A form
// that fails does not keep the others in the old language: the rest go on,
// and the first failure is reported once at the end through the
// application's error handling (the error report), because it is a fault of
// the program the user should hear about, not a reason to stop half way.
void ApplyLanguageEverywhere();

}  // namespace snibbet

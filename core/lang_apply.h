#pragma once
// Re-applying the language texts to the whole user interface after the
// language has changed.
#include <functional>

namespace snibbet {

// `programTexts` first (the texts the program shows outside its forms: the
// tray menu, the bindings; the hub hands them in), then every open form of
// ours in the order the forms were opened: its ApplyLanguage, then an immediate repaint. A form
// that fails does not keep the others in the old language: the rest go on,
// and the first failure is reported once at the end through the
// application's error handling (the error report), because it is a fault of
// the program the user should hear about, not a reason to stop half way.
void ApplyLanguageEverywhere(const std::function<void()>& programTexts = {});

}  // namespace snibbet

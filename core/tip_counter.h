#pragma once
// How often a balloon tip has been shown, counted in the settings key under the
// tip's own value name ("FirstStart", "StartContextMenu", ...).
#include <string>

namespace snibbet {

// Counts one more showing of the tip `name` when it has been shown fewer than
// `most` times, and says so; false (nothing written) once the limit is reached.
bool CountTipShowing(const std::wstring& name, int most);

}  // namespace snibbet

#pragma once
// The program's name as the user sees it: window and box captions, the tray
// hint, menus, reports. (The version resource in app/resources/snibbet.rc
// carries it too: resource scripts cannot read this header.)

namespace snibbet {

inline constexpr wchar_t kProductName[] = L"Orvane Paste";

// The settings key under HKEY_CURRENT_USER; the tests and benchmarks that set
// up a profile write the same key.
inline constexpr wchar_t kSettingsKeyPath[] = L"SOFTWARE\\OrvaneSoftware\\Snibbet";

}  // namespace snibbet

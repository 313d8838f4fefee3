#pragma once
// The program's name as the user sees it: window and box captions, the tray
// hint, menus, reports. (The version resource in app/resources/snibbet.rc
// carries it too: resource scripts cannot read this header.)

namespace snibbet {

inline constexpr wchar_t kProductName[] = L"Orvane Paste";

}  // namespace snibbet

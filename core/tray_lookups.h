#pragma once
// Small look-ups of the tray: the flag picture of a keyboard layout, the
// help file of a language, and the maker's name and addresses that the tray
// menu, the About box and the bindings' listing show. Window-free.
#include <cstdint>
#include <functional>
#include <string>

namespace snibbet {

// Index of the flag picture (image list ilLangs) of a keyboard layout handle
// or language id; 0 for a language without a flag of its own.
int LayoutToFlagIndex(std::uintptr_t layout);

// The help file for the user-interface language: the Russian file when the
// language is Russian (25) and that file exists, else the standard one.
std::wstring SelectHelpFileName(const std::wstring& programFolder, int language,
                                const std::function<bool(const std::wstring&)>& fileExists);

// Every byte of the UTF-8 form except unreserved characters becomes %XX, so
// the text can stand in a URL query (a space is %20, not "+").
std::wstring PercentEncode(const std::wstring& text);

inline constexpr wchar_t kMakerName[] = L"Orvane Software";
inline constexpr wchar_t kMakerCopyright[] = L"Copyright (C) 2024 Orvane Software";
inline constexpr wchar_t kMakerPageAddress[] = L"http://www.orvanesoftware.com/";
// The maker's family of desktop tools that the program belongs to.
inline constexpr wchar_t kDesktopToolsPageAddress[] = L"http://www.orvanesoftware.com/tools/";
inline constexpr wchar_t kProductPageAddress[] = L"http://www.orvanesoftware.com/paste/";
inline constexpr wchar_t kForumPageAddress[] = L"http://www.orvanesoftware.com/forum/";
inline constexpr wchar_t kFeatureRequestAddress[] = L"http://www.orvanesoftware.com/paste/request.html";
inline constexpr wchar_t kSupportMailbox[] = L"support@orvanesoftware.com";

// "mailto:" link to `address` whose subject names the program and its
// product version.
std::wstring ProductMailLink(const std::wstring& address, const std::wstring& productVersion);
// The same to the support mailbox.
std::wstring SupportMailLink(const std::wstring& productVersion);

}  // namespace snibbet

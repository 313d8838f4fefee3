#pragma once
// The bridge between Windows and Unix paths when running under Wine.
#include <optional>
#include <string>

namespace probe {

// True when this process runs under Wine (ntdll exports wine_get_version).
bool RunningUnderWine();

// Unix path of a Windows path (Wine only), e.g. C:\users -> /home/.../drive_c/users.
std::optional<std::string> UnixPathOf(const std::wstring& windowsPath);

// Windows path of a Unix path: Wine's own mapping, else the Z: drive.
// Outside Wine the text is returned with slashes turned into backslashes.
std::wstring WindowsPathOf(const std::string& unixPath);

}  // namespace probe

#pragma once
// Starting another program with administrator rights (the options program).
#include <windows.h>

#include <string>

namespace snibbet {

// On Vista and later asks the shell to run `file` elevated ("runas") and
// throws std::system_error with the system's error when that fails or the user
// refuses. On older systems starts it plainly and ignores the result.
void RunElevated(HWND owner, const std::wstring& file, const std::wstring& parameters);

}  // namespace snibbet

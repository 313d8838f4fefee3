#pragma once
// The program's version resource and the system it runs on.
#include <string>

namespace snibbet {

// The value "StringFileInfo\040904E4\<key>" of the file's version resource
// (US English, Windows Latin-1 block only); "" when the file, its resource or
// the value is missing.
std::wstring GetVersionInfoString(const std::wstring& file, const std::wstring& key);

// "ProductVersion" of the running program.
std::wstring GetProductVersion();

// The path of the running program.
std::wstring ProgramFileName();

bool IsVistaOrLater();  // NT family, major version 6 or higher

}  // namespace snibbet

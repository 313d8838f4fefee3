#pragma once
// Command-line switches. Window-free.
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// Splits a whole command line (as GetCommandLineW gives it) into arguments by
// the usual Windows rules; the first element is the program path.
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// True when an argument after the program path is "-name" or "/name", letters in any case.
bool HasCommandLineSwitch(std::wstring_view commandLine, std::wstring_view name);

// The switch that turns on the debug log.
inline bool HasDebugSwitch(std::wstring_view commandLine) { return HasCommandLineSwitch(commandLine, L"DEBUG"); }

}  // namespace snibbet

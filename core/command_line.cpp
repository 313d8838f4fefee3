#include "core/command_line.h"

namespace snibbet {
namespace {

bool IsSpace(wchar_t c) { return c == L' ' || c == L'\t'; }

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// The program path: up to the closing quote when quoted, else up to a blank;
// backslashes are plain characters there.
size_t ReadProgramPath(std::wstring_view line, std::wstring& path) {
  size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    size_t close = line.find(L'"', 1);
    if (close == line.npos) close = line.size();
    path.assign(line.substr(1, close - 1));
    i = close + 1;
  } else {
    while (i < line.size() && !IsSpace(line[i])) ++i;
    path.assign(line.substr(0, i));
  }
  return i;
}

// One argument from `i`: 2n backslashes before a quote give n and toggle the
// quoting, 2n+1 give n and a literal quote; "" inside quotes is one quote.
size_t ReadArgument(std::wstring_view line, size_t i, std::wstring& arg) {
  bool quoted = false;
  while (i < line.size() && (quoted || !IsSpace(line[i]))) {
    if (line[i] == L'\\') {
      size_t slashes = 0;
      while (i < line.size() && line[i] == L'\\') { ++slashes; ++i; }
      if (i < line.size() && line[i] == L'"') {
        arg.append(slashes / 2, L'\\');
        if (slashes % 2 == 1) { arg.push_back(L'"'); ++i; }
      } else {
        arg.append(slashes, L'\\');
      }
    } else if (line[i] == L'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
        arg.push_back(L'"');
        i += 2;
      } else {
        quoted = !quoted;
        ++i;
      }
    } else {
      arg.push_back(line[i++]);
    }
  }
  return i;
}

}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
  std::vector<std::wstring> args(1);
  size_t i = ReadProgramPath(line, args[0]);
  for (;;) {
    while (i < line.size() && IsSpace(line[i])) ++i;
    if (i >= line.size()) break;
    std::wstring arg;
    i = ReadArgument(line, i, arg);
    args.push_back(std::move(arg));
  }
  return args;
}

bool HasCommandLineSwitch(std::wstring_view commandLine, std::wstring_view name) {
  const auto args = SplitCommandLine(commandLine);
  for (size_t n = 1; n < args.size(); ++n) {
    const std::wstring& arg = args[n];
    if (arg.size() > 1 && (arg[0] == L'-' || arg[0] == L'/') && EqualsIgnoringCase(std::wstring_view(arg).substr(1), name)) {
      return true;
    }
  }
  return false;
}

}  // namespace snibbet

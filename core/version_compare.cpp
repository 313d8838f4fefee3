#include "core/version_compare.h"

#include <algorithm>

namespace snibbet {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::optional<uint32_t> ParseNumber(std::wstring_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (wchar_t c : digits) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - L'0');
    if (value > UINT32_MAX) return std::nullopt;
  }
  return static_cast<uint32_t>(value);
}

}  // namespace

std::optional<std::vector<uint32_t>> ParseVersion(std::wstring_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  std::vector<uint32_t> numbers;
  for (;;) {
    const size_t dot = text.find(L'.');
    const auto number = ParseNumber(text.substr(0, dot));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (dot == std::wstring_view::npos) return numbers;
    text.remove_prefix(dot + 1);
  }
}

bool IsNewerVersion(std::wstring_view remote, std::wstring_view local) {
  const auto theirs = ParseVersion(remote);
  const auto ours = ParseVersion(local);
  if (!theirs || !ours) return false;
  const size_t count = std::max(theirs->size(), ours->size());
  for (size_t i = 0; i < count; ++i) {
    const uint32_t a = i < theirs->size() ? (*theirs)[i] : 0;
    const uint32_t b = i < ours->size() ? (*ours)[i] : 0;
    if (a != b) return a > b;
  }
  return false;
}

VersionFile SplitVersionFile(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  const size_t lineFeed = bytes.find('\n');
  if (lineFeed == std::string_view::npos) return {std::string(bytes), {}};
  std::string_view first = bytes.substr(0, lineFeed);
  if (!first.empty() && first.back() == '\r') first.remove_suffix(1);
  return {std::string(first), std::string(bytes.substr(lineFeed + 1))};
}

}  // namespace snibbet

#include "core/system_details_text.h"

#include <cstdio>
#include <initializer_list>
#include <vector>

namespace snibbet {
namespace {

constexpr uint8_t kWorkstation = 1;
constexpr uint8_t kDomainController = 2;
constexpr size_t kProcessorNameLimit = 48;

bool IsBlankOrControl(wchar_t c) { return c <= L' ' || c == 0x7F; }

std::wstring Hex8(uint32_t value) {
  wchar_t text[9];
  std::swprintf(text, 9, L"%08X", static_cast<unsigned>(value));
  return text;
}

// The words joined by single blanks; empty words are skipped.
std::wstring JoinWords(std::initializer_list<std::wstring_view> words) {
  std::wstring out;
  for (auto word : words) {
    if (word.empty()) continue;
    if (!out.empty()) out += L' ';
    out += word;
  }
  return out;
}

std::wstring ServerName(const OsFacts& os) {
  if (os.major == 6 && os.minor == 0) return L"Windows Server 2008";
  if (os.major == 6 && os.minor == 1) return L"Windows Server 2008 R2";
  if (os.major == 6 && os.minor == 2) return L"Windows Server 2012";
  if (os.major == 6 && os.minor == 3) return L"Windows Server 2012 R2";
  if (os.major == 10 && os.build >= 20348) return L"Windows Server 2022";
  if (os.major == 10 && os.build >= 17763) return L"Windows Server 2019";
  if (os.major == 10) return L"Windows Server 2016";
  return {};
}

std::wstring WorkstationName(const OsFacts& os) {
  if (os.major == 6 && os.minor == 0) return L"Windows Vista";
  if (os.major == 6 && os.minor == 1) return L"Windows 7";
  if (os.major == 6 && os.minor == 2) return L"Windows 8";
  if (os.major == 6 && os.minor == 3) return L"Windows 8.1";
  if (os.major == 10 && os.build >= 22000) return L"Windows 11";
  if (os.major == 10) return L"Windows 10";
  return {};
}

}  // namespace

std::wstring WindowsVersionName(const OsFacts& os) {
  if (os.major == 5 && os.minor == 0) return L"Windows 2000";
  if (os.major == 5 && os.minor == 1) return L"Windows XP";
  if (os.major == 5 && os.minor == 2) return os.productType == kWorkstation ? L"Windows XP x64" : L"Windows Server 2003";
  std::wstring name = os.productType == kWorkstation ? WorkstationName(os) : ServerName(os);
  if (name.empty()) name = L"Windows " + std::to_wstring(os.major) + L"." + std::to_wstring(os.minor);
  return name;
}

std::wstring ProductTypeName(uint8_t productType) {
  if (productType == kWorkstation) return L"Workstation";
  if (productType == kDomainController) return L"Domain Controller";
  return L"Server";
}

std::wstring CleanProcessorName(std::wstring_view raw) {
  raw = raw.substr(0, kProcessorNameLimit);
  std::wstring out;
  bool blank = false;
  for (wchar_t c : raw) {
    if (IsBlankOrControl(c)) {
      blank = !out.empty();
      continue;
    }
    if (blank) out += L' ';
    blank = false;
    out += c;
  }
  return out;
}

std::wstring FormatSystemDetails(const SystemFacts& facts) {
  std::vector<std::wstring> lines;
  if (facts.productVersion && facts.fileVersion) {
    lines.push_back(std::wstring(kProductName) + L" " + *facts.productVersion + L" (" + *facts.fileVersion + L")");
  }
  if (facts.os) {
    const OsFacts& os = *facts.os;
    lines.push_back(L"OS: " + JoinWords({WindowsVersionName(os), ProductTypeName(os.productType), os.servicePack}) +
                    L" (" + std::to_wstring(os.build) + L")");
  }
  if (facts.cpu) {
    lines.push_back(L"CPU: " + facts.cpu->name + L" (" + std::to_wstring(facts.cpu->megahertz) + L")");
  }
  if (facts.memory) {
    lines.push_back(L"RAM: " + std::to_wstring(facts.memory->totalBytes >> 20) + L" Mb (" +
                    std::to_wstring(facts.memory->availableBytes >> 20) + L" Mb)");
  }
  if (facts.screen) {
    lines.push_back(std::to_wstring(facts.screen->width) + L"x" + std::to_wstring(facts.screen->height) + L"  " +
                    Hex8(facts.screen->keyboardLayout));
  }
  std::wstring text;
  for (const auto& line : lines) {
    if (!text.empty()) text += L"\r\n";
    text += line;
  }
  return text;
}

}  // namespace snibbet

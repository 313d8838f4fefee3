// SnibbetProbe.exe: the probe's operations from the shell, for debugging under Wine:
//   wine SnibbetProbe.exe windows [PID] | find CLASS [TITLE] | text HWND
//                         clipboard | set-clipboard TEXT
//                         reg-get KEY NAME | reg-set KEY NAME sz|dword|binary VALUE
//                         reg-del KEY [NAME] | reg-list KEY
//                         msgbox [PID] | press-button PID ID|TEXT
//                         start PATH [ARG...] | kill PID | processes | xdotool ARG...
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "testing/probe/probe.h"

namespace {

using namespace probe;
using Args = std::vector<std::wstring>;

void Print(const std::wstring& line) { std::printf("%s\n", ToUtf8(line).c_str()); }

std::wstring Hex(const std::vector<uint8_t>& bytes, size_t limit = 32) {
  std::wstring out;
  wchar_t byte[4];
  for (size_t i = 0; i < bytes.size() && i < limit; ++i) {
    std::swprintf(byte, 4, L"%02x ", bytes[i]);
    out += byte;
  }
  return bytes.size() > limit ? out + L"..." : out;
}

std::wstring Line(const WindowInfo& w) {
  wchar_t head[128];
  std::swprintf(head, 128, L"%p pid %lu owner %p %ls (%ld,%ld %ldx%ld) ", static_cast<void*>(w.hwnd), w.pid,
                static_cast<void*>(w.owner), w.visible ? L"visible" : L"hidden", w.rect.left, w.rect.top,
                w.rect.right - w.rect.left, w.rect.bottom - w.rect.top);
  return head + w.className + L" \"" + w.title + L"\"";
}

HWND ParseHwnd(const std::wstring& text) { return reinterpret_cast<HWND>(std::wcstoull(text.c_str(), nullptr, 16)); }
DWORD ParseNumber(const std::wstring& text) { return std::wcstoul(text.c_str(), nullptr, 0); }

int ListWindows(const Args& a) {
  WindowQuery query;
  if (a.size() > 1) query.pid = ParseNumber(a[1]);
  else query.visibleOnly = true;
  for (HWND hwnd : FindWindows(query)) Print(Line(Describe(hwnd)));
  return 0;
}

int Find(const Args& a) {
  WindowQuery query;
  query.className = a.at(1);
  if (a.size() > 2) query.title = a[2];
  const auto found = FindWindows(query);
  for (HWND hwnd : found) Print(Line(Describe(hwnd)));
  return found.empty() ? 1 : 0;
}

int Clipboard() {
  for (const auto& item : DumpClipboard()) {
    std::wstring line = std::to_wstring(item.format) + L" " + item.name + L" " + std::to_wstring(item.bytes.size()) +
                        L" bytes: ";
    if (item.format == CF_UNICODETEXT) {
      std::wstring text(reinterpret_cast<const wchar_t*>(item.bytes.data()), item.bytes.size() / 2);
      line += L"\"" + text.substr(0, text.find(L'\0')) + L"\"";
    } else {
      line += Hex(item.bytes);
    }
    Print(line);
  }
  return 0;
}

int RegSet(const Args& a) {
  const std::wstring& type = a.at(3);
  const std::wstring& value = a.at(4);
  if (type == L"sz") WriteRegString(a[1], a[2], value);
  else if (type == L"dword") WriteRegDword(a[1], a[2], ParseNumber(value));
  else if (type == L"binary") {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < value.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::wcstoul(value.substr(i, 2).c_str(), nullptr, 16)));
    WriteRegBinary(a[1], a[2], bytes);
  } else {
    Print(L"type must be sz, dword or binary");
    return 2;
  }
  return 0;
}

std::wstring ValueText(const RegValue& v) {
  if (v.type == REG_SZ || v.type == REG_EXPAND_SZ) return L"\"" + v.AsString() + L"\"";
  if (v.type == REG_DWORD) return std::to_wstring(v.AsDword());
  return Hex(v.data, 256);
}

int RegGet(const Args& a) {
  const auto value = ReadRegValue(a.at(1), a.at(2));
  if (!value) return 1;
  Print(RegTypeName(value->type) + L" " + ValueText(*value));
  return 0;
}

int RegList(const Args& a) {
  for (const auto& [name, value] : ListRegValues(a.at(1))) Print(name + L" " + RegTypeName(value.type) + L" " + ValueText(value));
  return 0;
}

int RegDel(const Args& a) { return (a.size() > 2 ? DeleteRegValue(a[1], a[2]) : DeleteRegKey(a.at(1))) ? 0 : 1; }

int ShowBoxes(const Args& a) {
  const DWORD pid = a.size() > 1 ? ParseNumber(a[1]) : 0;
  for (HWND hwnd : FindMessageBoxes(pid)) {
    const auto box = ReadMessageBox(hwnd);
    if (!box) continue;
    Print(Line(Describe(hwnd)));
    Print(L"  text: \"" + box->text + L"\" default " + std::to_wstring(box->defaultId));
    for (const auto& button : box->buttons) Print(L"  button " + std::to_wstring(button.id) + L" \"" + button.text + L"\"");
  }
  return 0;
}

int Press(const Args& a) {
  const auto box = FindMessageBox(ParseNumber(a.at(1)));
  if (!box) return 1;
  const std::wstring& which = a.at(2);
  const bool numeric = !which.empty() && std::iswdigit(which[0]);
  return (numeric ? PressButton(*box, static_cast<int>(ParseNumber(which))) : PressButton(*box, which)) ? 0 : 1;
}

int StartCommand(const Args& a) {
  const Process process = Process::Start(a.at(1), Args(a.begin() + 2, a.end()));
  Print(std::to_wstring(process.Pid()));
  return 0;
}

int ListProcessesCommand() {
  for (const auto& process : ListProcesses())
    Print(std::to_wstring(process.pid) + L" parent " + std::to_wstring(process.parent) + L" " + process.exe);
  return 0;
}

int KillCommand(const Args& a) { return Process::Attach(ParseNumber(a.at(1))).Kill() ? 0 : 1; }

int XdotoolCommand(const Args& a) {
  std::vector<std::string> arguments;
  for (size_t i = 1; i < a.size(); ++i) arguments.push_back(ToUtf8(a[i]));
  std::printf("%s", Xdotool(arguments).c_str());
  return 0;
}

int Run(const Args& a) {
  const std::wstring command = a.empty() ? L"" : a[0];
  if (command == L"windows") return ListWindows(a);
  if (command == L"find") return Find(a);
  if (command == L"text") return Print(WindowText(ParseHwnd(a.at(1)))), 0;
  if (command == L"clipboard") return Clipboard();
  if (command == L"set-clipboard") return SetClipboardText(a.at(1)), 0;
  if (command == L"reg-get") return RegGet(a);
  if (command == L"reg-set") return RegSet(a);
  if (command == L"reg-del") return RegDel(a);
  if (command == L"reg-list") return RegList(a);
  if (command == L"msgbox") return ShowBoxes(a);
  if (command == L"press-button") return Press(a);
  if (command == L"start") return StartCommand(a);
  if (command == L"kill") return KillCommand(a);
  if (command == L"processes") return ListProcessesCommand();
  if (command == L"xdotool") return XdotoolCommand(a);
  Print(L"commands: windows [PID], find CLASS [TITLE], text HWND, clipboard, set-clipboard TEXT,");
  Print(L"  reg-get KEY NAME, reg-set KEY NAME sz|dword|binary VALUE, reg-del KEY [NAME], reg-list KEY,");
  Print(L"  msgbox [PID], press-button PID ID|TEXT, start PATH [ARG...], kill PID, processes,");
  Print(L"  xdotool ARG...");
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  try {
    return Run(Args(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "SnibbetProbe: %s\n", error.what());
    return 3;
  }
}

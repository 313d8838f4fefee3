// Prints the main road's figures with the real Snibbet.exe and SnibbetCm.exe,
// physical keys (xdotool) and ProbeTarget's EDIT as the program typed into:
//  1. the template hotkey (left Win+Space) to the pop-up on the screen: from
//     the Space press, as a low-level hook of this program sees it, to the
//     pop-up visible, and to its list filled with nothing left to paint
//     (100 openings of nine matches with the keys held as a person holds
//     them, and 100 with the keys let go at once; Esc closes the pop-up);
//  2. Enter in the pop-up to the template's text in the idle EDIT, and to the
//     user's clipboard back, beside the paste's deliberate waits (30 pastes);
//  3. the private memory of Snibbet.exe with 1,000 templates against an empty
//     window program (ProbeTarget.exe edit) under the same Wine;
//  4. the floor of 1.: bare_popup.exe, a bare pop-up of the same size with a
//     9-row list and a one-line preview, shown by its own low-level hook
//     through a 10 ms timer, timed the same way.
// Run inside a Wine session:
//   tools/wine-session wine build/windows/bench/road_bench.exe
// Only the memory, with another number of templates:
//   tools/wine-session wine build/windows/bench/road_bench.exe --memory 65535
// Only the openings, N of each kind (100 unless given) and the floor's:
//   tools/wine-session wine build/windows/bench/road_bench.exe --openings 30
// Only the pastes, N of them (30 unless given):
//   tools/wine-session wine build/windows/bench/road_bench.exe --pastes 100
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_clock.h"
#include "core/product_name.h"
#include "helper/helper_protocol.h"
#include "templates/zqt_codec.h"
#include "testing/probe/probe.h"

namespace {

using bench::Now;
using bench::Milliseconds;
using bench::Percentile;

using namespace std::chrono_literals;

constexpr int kOpenings = 100;
constexpr int kFloorOpenings = 50;
constexpr int kPastes = 30;
constexpr int kWarmUps = 3;
constexpr int kTemplates = 1000;
constexpr int kMatches = 9;  // "he1" to "he9"
constexpr char kWord[] = "he";
constexpr wchar_t kPasted[] = L"Hello number 1";
constexpr wchar_t kPopupClass[] = L"TTemplateViewForm";
constexpr wchar_t kBarePopupClass[] = L"RoadBenchBarePopup";
// Keys pressed while the hotkey's action still blocks input are dropped.
constexpr auto kActionEnd = 300ms;

// The paste's deliberate waits: the pop-up's key timer; two Esc releases
// 10 ms apart as the program's own input begins; the pause after the
// template reached the clipboard; one step of the wait for an idle target;
// Ctrl+V with a 10 ms pause before Ctrl, V, Ctrl's release and after; the
// delay before the user's clipboard comes back.
constexpr double kKeyTimerMs = 10;
constexpr double kOwnInputMs = 20;
constexpr double kClipboardSettleMs = 30;
constexpr double kIdleStepMs = 50;
constexpr double kChordPauseMs = 10;
constexpr double kRestoreDelayMs = 300;




void Sleep(std::chrono::milliseconds duration) { ::Sleep(static_cast<DWORD>(duration.count())); }

// When each key event reaches the low-level hooks. Installed last, this hook
// is called first, before the programs' own hooks.
class KeyClock {
 public:
  KeyClock() {
    instance_ = this;
    thread_ = std::thread([this] { Run(); });
    while (!ready_) ::Sleep(1);
  }
  ~KeyClock() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    instance_ = nullptr;
  }
  KeyClock(const KeyClock&) = delete;
  KeyClock& operator=(const KeyClock&) = delete;

  bool Hooked() const { return hooked_; }
  void Clear() {
    const std::lock_guard lock(mutex_);
    stamps_.clear();
  }
  // The first press of `vk` since Clear, physical or injected as asked.
  std::optional<LONGLONG> FirstDown(DWORD vk, bool injected) const {
    const std::lock_guard lock(mutex_);
    for (const Stamp& stamp : stamps_)
      if (stamp.vk == vk && stamp.down && stamp.injected == injected) return stamp.at;
    return std::nullopt;
  }

 private:
  struct Stamp {
    DWORD vk;
    bool down;
    bool injected;
    LONGLONG at;
  };

  static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
    const LONGLONG at = Now();
    if (code == HC_ACTION && instance_) {
      const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
      const std::lock_guard lock(instance_->mutex_);
      instance_->stamps_.push_back({key.vkCode, (key.flags & LLKHF_UP) == 0, (key.flags & LLKHF_INJECTED) != 0, at});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  void Run() {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
    threadId_ = GetCurrentThreadId();
    HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Proc, GetModuleHandleW(nullptr), 0);
    hooked_ = hook != nullptr;
    ready_ = true;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    if (hook) UnhookWindowsHookEx(hook);
  }

  static inline KeyClock* instance_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<Stamp> stamps_;
  std::thread thread_;
  std::atomic<DWORD> threadId_ = 0;
  std::atomic<bool> hooked_ = false;
  std::atomic<bool> ready_ = false;
};

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::wstring ProgramFolder() {
  if (const char* dir = std::getenv("SNIBBET_PROGRAM_DIR"); dir && *dir) {
    std::wstring folder = probe::WindowsPathOf(dir);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
  }
  return OwnFolder() + L"..\\bin\\";
}

// A private copy of the program folder, so the run writes nothing into the build.
class FolderCopy {
 public:
  explicit FolderCopy(const std::wstring& from) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::filesystem::path(temp) / (L"snibbet-road-bench-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::remove_all(path_);
    std::wstring source = from;
    while (!source.empty() && (source.back() == L'\\' || source.back() == L'/')) source.pop_back();
    std::filesystem::copy(source, path_, std::filesystem::copy_options::recursive);
  }
  ~FolderCopy() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  FolderCopy(const FolderCopy&) = delete;
  FolderCopy& operator=(const FolderCopy&) = delete;
  std::wstring File(const std::wstring& name) const { return (path_ / name).wstring(); }
  std::wstring Path() const { return path_.wstring() + L"\\"; }

 private:
  std::filesystem::path path_;
};

// "he1" to "he9" match the typed word; the rest fill the file to `count`
// templates of ordinary size.
void WriteTemplateFile(const std::wstring& path, int count) {
  std::vector<snibbet::TemplateRecord> records;
  for (int i = 1; i <= kMatches; ++i) {
    snibbet::TemplateRecord record;
    record.Name = kWord + std::to_string(i);
    record.Template = "Hello number " + std::to_string(i);
    records.push_back(std::move(record));
  }
  for (int i = static_cast<int>(records.size()); i < count; ++i) {
    snibbet::TemplateRecord record;
    record.Name = "note " + std::to_string(10000 + i);
    record.Template = "Dear customer,\r\nthank you for your message of today about order " + std::to_string(i) +
                      ". We will answer within two working days.\r\nKind regards";
    records.push_back(std::move(record));
  }
  std::ofstream(std::filesystem::path(path), std::ios::binary) << snibbet::WriteZqt(records);
}

struct Memory {
  double privateMb = 0;
  double workingSetMb = 0;
};

std::optional<Memory> MemoryOf(DWORD pid) {
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!process) return std::nullopt;
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  const bool read =
      GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  CloseHandle(process);
  if (!read) return std::nullopt;
  constexpr double kMb = 1024.0 * 1024.0;
  // Wine leaves PrivateUsage at 0 and fills PagefileUsage, which Windows
  // keeps equal to it, from the process's anonymous memory.
  const SIZE_T privateBytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
  return Memory{static_cast<double>(privateBytes) / kMb, static_cast<double>(counters.WorkingSetSize) / kMb};
}

probe::WindowQuery Query(const wchar_t* className, std::optional<std::wstring> title, std::optional<DWORD> pid,
                         bool visibleOnly = false) {
  probe::WindowQuery query;
  query.visibleOnly = visibleOnly;
  query.className = className;
  query.title = std::move(title);
  query.pid = pid;
  return query;
}

enum class Press { Held, Quick };

// Snibbet.exe and its helper, or the bare pop-up alone.
enum class Program { Snibbet, Bare };

struct Opening {
  double visibleMs = 0;
  double paintedMs = 0;
};

struct Paste {
  double hiddenMs = 0;     // the pop-up gone
  double firstKeyMs = 0;   // the paste's first Backspace
  double clipboardMs = 0;  // the template on the clipboard
  double ctrlVMs = 0;
  double textMs = 0;       // the text in the EDIT
  double restoredMs = 0;   // the user's clipboard back
};

// The running road: Snibbet.exe from a copy of the program folder, and the
// target window with its EDIT focused under the pointer.
class Road {
 public:
  explicit Road(const FolderCopy& folder, Program program = Program::Snibbet) : folder_(folder), program_(program) {}
  ~Road() { Stop(); }
  Road(const Road&) = delete;
  Road& operator=(const Road&) = delete;

  bool Start() {
    if (program_ == Program::Bare) {
      const std::wstring name = L"bare-popup-" + std::to_wstring(GetCurrentProcessId());
      snibbet_ = probe::Process::Start(OwnFolder() + L"bare_popup.exe", {name});
      main_ = probe::WaitForWindow(Query(kBarePopupClass, name, snibbet_.Pid()), 10s);
      if (!main_) return Fail("bare_popup.exe showed no window");
    } else {
      probe::LaunchOptions options;
      options.workDir = folder_.Path();
      snibbet_ = probe::Process::Start(folder_.File(L"Snibbet.exe"), options);
      main_ = probe::WaitForWindow(Query(snibbet::kMainWindowClass, snibbet::kMainWindowTitle, snibbet_.Pid()), 10s);
      if (!main_) return Fail("Snibbet.exe showed no main window");
      if (!probe::WaitUntil([] { return !probe::ProcessesNamed(L"SnibbetCm.exe").empty(); }, 10s))
        return Fail("SnibbetCm.exe did not start");
    }
    const std::wstring title = L"Road bench target " + std::to_wstring(GetCurrentProcessId());
    target_ = probe::Process::Start(OwnFolder() + L"..\\tests\\ProbeTarget.exe", {L"edit", title});
    targetWindow_ = probe::WaitForWindow(Query(L"ProbeTargetWindow", title, std::nullopt, true), 10s);
    edit_ = targetWindow_ ? GetWindow(targetWindow_, GW_CHILD) : nullptr;
    if (!edit_) return Fail("ProbeTarget.exe showed no EDIT");
    probe::PhysicalFocus(edit_);
    Sleep(1s);  // the program's hooks are in place
    // Installed after them, so called before them.
    keys_.emplace();
    if (!keys_->Hooked()) return Fail("no low-level keyboard hook");
    return true;
  }

  void Stop() {
    if (snibbet_.Valid() && snibbet_.Running()) {
      const DWORD pid = snibbet_.Pid();
      PostMessageW(main_, WM_CLOSE, 0, 0);
      if (!snibbet_.WaitExit(10s)) snibbet_.Kill();
      for (const auto& entry : probe::ListProcesses())
        if (entry.parent == pid && _wcsicmp(entry.exe.c_str(), L"SnibbetCm.exe") == 0)
          probe::Process::Attach(entry.pid).Kill();
    }
    if (target_.Valid() && target_.Running()) {
      PostMessageW(targetWindow_, WM_CLOSE, 0, 0);
      if (!target_.WaitExit(5s)) target_.Kill();
    }
  }

  // Types the word and presses the hotkey; times the pop-up from the Space
  // press. A held press lets the keys go once the pop-up is painted, as a
  // person's press of about 100 ms does; a quick one lets them go 4 ms apart,
  // while the action still holds back the user's keys.
  std::optional<Opening> Open(Press press, const std::string& word = kWord, int rows = kMatches) {
    if (!word.empty()) TypeWord(" " + word);
    keys_->Clear();
    std::thread down([press] {
      Physically([press] {
        if (press == Press::Quick) return probe::PhysicalChord({"super", "space"});
        probe::Xdotool({"keydown", "--delay", "4", "super", "keydown", "--delay", "4", "space"});
      });
    });
    LONGLONG visibleAt = 0, paintedAt = 0;
    for (const LONGLONG end = Now() + Ticks(3000); !paintedAt && Now() < end; SwitchToThread()) {
      const HWND popup = Popup();
      if (!visibleAt && popup && IsWindowVisible(popup)) visibleAt = Now();
      if (visibleAt && Painted(rows)) paintedAt = Now();
    }
    down.join();
    if (press == Press::Held)
      Physically([] { probe::Xdotool({"keyup", "--delay", "4", "space", "keyup", "--delay", "4", "super"}); });
    const std::optional<LONGLONG> space = keys_->FirstDown(VK_SPACE, false);
    if (!paintedAt || !space) return std::nullopt;
    return Opening{Milliseconds(visibleAt - *space), Milliseconds(paintedAt - *space)};
  }

  bool Close() {
    Sleep(kActionEnd);
    for (int attempt = 0; attempt < 3; ++attempt) {
      Physically([] { probe::PhysicalKeys({"Escape"}); });
      if (probe::WaitUntil([&] { return !IsWindowVisible(popup_); }, 1s, 2ms)) return true;
    }
    return false;
  }

  // Opens the pop-up on the word and pastes its first template with Enter,
  // with the user's text on the clipboard.
  std::optional<Paste> PasteFirst(int run) {
    SetEditText(L"");
    const std::wstring users = L"the user's own text " + std::to_wstring(run);
    probe::SetClipboardText(users);
    Sleep(100ms);  // the program has seen the user's copy
    if (!Open(Press::Held)) return std::nullopt;
    Sleep(kActionEnd);
    keys_->Clear();
    DWORD sequence = GetClipboardSequenceNumber();
    std::thread enter([] { Physically([] { probe::PhysicalKeys({"Return"}); }); });
    std::vector<LONGLONG> changes;
    LONGLONG hiddenAt = 0, textAt = 0;
    const std::wstring expected = std::wstring(L" ") + kPasted;
    for (const LONGLONG end = Now() + Ticks(3000); Now() < end; SwitchToThread()) {
      if (!hiddenAt && !IsWindowVisible(popup_)) hiddenAt = Now();
      if (const DWORD now = GetClipboardSequenceNumber(); now != sequence) {
        sequence = now;
        changes.push_back(Now());
      }
      // Not before the paste keys: a window message counts as work in the idle wait.
      if (!textAt && keys_->FirstDown('V', true) && probe::WindowText(edit_, 100ms) == expected) textAt = Now();
      if (textAt && !changes.empty() && changes.back() > textAt && Milliseconds(Now() - changes.back()) > 300) break;
    }
    enter.join();
    return Measure(changes, hiddenAt, textAt, users);
  }

  // Rows in the pop-up's list.
  int Rows() const {
    DWORD_PTR count = 0;
    if (!grid_ || !SendMessageTimeoutW(grid_, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count)) return -1;
    return static_cast<int>(count);
  }

  DWORD SnibbetPid() const { return snibbet_.Pid(); }
  DWORD TargetPid() const { return target_.Pid(); }

 private:
  static bool Fail(const char* why) {
    std::fprintf(stderr, "road_bench: %s\n", why);
    return false;
  }

  static LONGLONG Ticks(double ms) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<LONGLONG>(static_cast<double>(f.QuadPart) * ms / 1e3);
  }

  template <typename Keys>
  static void Physically(Keys keys) {
    try {
      keys();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "road_bench: %s\n", error.what());
    }
  }

  void TypeWord(const std::string& text) {
    const std::size_t before = probe::WindowText(edit_).size();
    Physically([&] { probe::PhysicalType(text); });
    probe::WaitUntil([&] { return probe::WindowText(edit_).size() == before + text.size(); }, 3s, 2ms);
  }

  void SetEditText(const wchar_t* text) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &ignored);
  }

  HWND Popup() {
    if (!popup_) {
      popup_ = program_ == Program::Bare ? main_
                                         : probe::FindTopWindow(Query(kPopupClass, std::nullopt, snibbet_.Pid()));
      if (popup_) {
        children_ = probe::ChildWindows(popup_);
        for (HWND child : children_)
          if (probe::ClassNameOf(child) == WC_LISTVIEWW) grid_ = child;
      }
    }
    return popup_;
  }

  // The list filled and no window of the pop-up waiting for paint. The
  // update regions are asked of the system, not of the program; the one
  // message to the program returns once its thread is back in its loop.
  bool Painted(int rows) const {
    return !PaintPending() && Rows() == rows && !PaintPending();
  }
  bool PaintPending() const {
    if (GetUpdateRect(popup_, nullptr, FALSE)) return true;
    for (HWND child : children_)
      if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) return true;
    return false;
  }

  // The template is written before the paste keys, the user's text after them.
  std::optional<Paste> Measure(const std::vector<LONGLONG>& changes, LONGLONG hiddenAt, LONGLONG textAt,
                               const std::wstring& users) {
    const std::optional<LONGLONG> enter = keys_->FirstDown(VK_RETURN, false);
    const std::optional<LONGLONG> back = keys_->FirstDown(VK_BACK, true);
    const std::optional<LONGLONG> ctrlV = keys_->FirstDown('V', true);
    if (!enter || !back || !ctrlV || !hiddenAt || !textAt || changes.empty() || changes.back() < *ctrlV)
      return std::nullopt;
    if (probe::ClipboardText() != users) {
      std::fprintf(stderr, "road_bench: the user's clipboard did not come back\n");
      return std::nullopt;
    }
    return Paste{Milliseconds(hiddenAt - *enter), Milliseconds(*back - *enter), Milliseconds(changes.front() - *enter), Milliseconds(*ctrlV - *enter),
                 Milliseconds(textAt - *enter), Milliseconds(changes.back() - *enter)};
  }

  const FolderCopy& folder_;
  const Program program_;
  std::optional<KeyClock> keys_;
  probe::Process snibbet_;
  probe::Process target_;
  HWND main_ = nullptr;
  HWND targetWindow_ = nullptr;
  HWND edit_ = nullptr;
  HWND popup_ = nullptr;
  HWND grid_ = nullptr;
  std::vector<HWND> children_;
};

void BenchOpenings(Road& road, Press press, int count) {
  for (int i = 0; i < kWarmUps; ++i) {
    if (!road.Open(press)) std::fprintf(stderr, "road_bench: warm-up opening %d failed\n", i + 1);
    road.Close();
  }
  std::vector<double> visible, painted;
  for (int i = 0; i < count; ++i) {
    if (const auto opening = road.Open(press)) {
      visible.push_back(opening->visibleMs);
      painted.push_back(opening->paintedMs);
    }
    if (!road.Close()) std::fprintf(stderr, "road_bench: the pop-up did not close\n");
  }
  std::printf("  %s, %zu of %d openings:\n",
              press == Press::Held ? "keys held until the pop-up is painted" : "keys let go 4 ms after the press",
              visible.size(), count);
  std::printf("    Space press to pop-up visible:           median %6.1f ms  p95 %6.1f ms\n",
              Percentile(visible, 0.5), Percentile(visible, 0.95));
  std::printf("    Space press to list filled and painted:  median %6.1f ms  p95 %6.1f ms\n",
              Percentile(painted, 0.5), Percentile(painted, 0.95));
}

void PrintStep(const char* what, const std::vector<double>& values, double floor) {
  const double median = Percentile(values, 0.5);
  std::printf("  %-40s median %6.1f ms  p95 %6.1f ms", what, median, Percentile(values, 0.95));
  if (floor > 0) std::printf("  deliberate waits %5.0f ms, beyond them %5.1f ms", floor, median - floor);
  std::printf("\n");
}

void BenchPastes(Road& road, int pastes) {
  if (!road.PasteFirst(0)) std::fprintf(stderr, "road_bench: the warm-up paste failed\n");
  std::vector<double> hidden, firstKey, clipboard, ctrlV, betweenClipboardAndCtrlV, text, restored, restoreAfterCtrlV;
  for (int run = 1; run <= pastes; ++run) {
    const auto paste = road.PasteFirst(run);
    if (!paste) continue;
    hidden.push_back(paste->hiddenMs);
    firstKey.push_back(paste->firstKeyMs);
    clipboard.push_back(paste->clipboardMs);
    ctrlV.push_back(paste->ctrlVMs);
    betweenClipboardAndCtrlV.push_back(paste->ctrlVMs - paste->clipboardMs);
    text.push_back(paste->textMs);
    restored.push_back(paste->restoredMs);
    restoreAfterCtrlV.push_back(paste->restoredMs - paste->ctrlVMs);
  }
  const double toClipboard = kKeyTimerMs + kOwnInputMs;
  const double clipboardToCtrlV = kClipboardSettleMs + kIdleStepMs + 2 * kChordPauseMs;
  const double toCtrlV = toClipboard + clipboardToCtrlV;
  const double ctrlVToRestore = 2 * kChordPauseMs + kRestoreDelayMs;
  std::printf("\nEnter in the pop-up to the paste into the idle EDIT, %zu of %d pastes:\n", text.size(), pastes);
  PrintStep("Enter to the pop-up hidden", hidden, kKeyTimerMs);
  PrintStep("Enter to the paste's first Backspace", firstKey, toClipboard);
  PrintStep("Enter to the template on the clipboard", clipboard, toClipboard);
  PrintStep("the template on the clipboard to Ctrl+V", betweenClipboardAndCtrlV, clipboardToCtrlV);
  PrintStep("Enter to Ctrl+V sent", ctrlV, toCtrlV);
  PrintStep("Enter to the text in the EDIT", text, toCtrlV);
  PrintStep("Ctrl+V to the user's clipboard back", restoreAfterCtrlV, ctrlVToRestore);
  PrintStep("Enter to the user's clipboard back", restored, toCtrlV + ctrlVToRestore);
  std::printf("  (deliberate waits: key timer %.0f, Esc releases %.0f, clipboard settle %.0f, idle step %.0f,\n"
              "   Ctrl+V pauses 4 x %.0f, restore delay %.0f ms)\n",
              kKeyTimerMs, kOwnInputMs, kClipboardSettleMs, kIdleStepMs, kChordPauseMs, kRestoreDelayMs);
}

void PrintMemory(const char* what, DWORD pid) {
  if (const auto memory = MemoryOf(pid)) {
    std::printf("  %-36s private %7.2f MB  working set %7.2f MB\n", what, memory->privateMb, memory->workingSetMb);
  } else {
    std::printf("  %-36s unreadable\n", what);
  }
}

// "1,000" for 1000.
std::string Thousands(int n) {
  const std::string digits = std::to_string(n);
  std::string text;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ',';
    text += digits[i];
  }
  return text;
}

void BenchMemory(Road& road, int templates) {
  // An opening on no word lists every template: all are loaded.
  const auto all = road.Open(Press::Held, "", templates);
  const std::string count = Thousands(templates);
  std::printf("\nMemory after the pop-up %s (GetProcessMemoryInfo; private: PrivateUsage,\n"
              "or PagefileUsage where Wine leaves PrivateUsage at 0 and gives the resident anonymous memory):\n",
              ((all ? "listed all " : "did NOT list ") + count + " templates").c_str());
  road.Close();
  Sleep(500ms);
  PrintMemory(("Snibbet.exe, " + count + " templates").c_str(), road.SnibbetPid());
  for (DWORD helper : probe::ProcessesNamed(L"SnibbetCm.exe")) PrintMemory("SnibbetCm.exe", helper);
  PrintMemory("ProbeTarget.exe edit (empty window)", road.TargetPid());
  const auto snibbet = MemoryOf(road.SnibbetPid());
  const auto empty = MemoryOf(road.TargetPid());
  if (snibbet && empty)
    std::printf("  Snibbet.exe beyond the empty window:  private %+7.2f MB  working set %+7.2f MB\n",
                snibbet->privateMb - empty->privateMb, snibbet->workingSetMb - empty->workingSetMb);
}

// The floor: the same openings of the bare pop-up, in one line each.
void BenchBareOpenings(Road& road, int count) {
  std::printf("\nFloor: a bare pop-up (bare_popup.exe: 9 rows, one-line preview, shown and painted by its own\n"
              "low-level hook through a 10 ms timer), %d openings each:\n", count);
  for (const Press press : {Press::Held, Press::Quick}) {
    std::vector<double> visible, painted;
    for (int i = 0; i < kWarmUps + count; ++i) {
      const auto opening = road.Open(press);
      if (opening && i >= kWarmUps) {
        visible.push_back(opening->visibleMs);
        painted.push_back(opening->paintedMs);
      }
      if (!road.Close()) std::fprintf(stderr, "road_bench: the bare pop-up did not close\n");
    }
    std::printf("  %-34s visible median %6.1f ms  p95 %6.1f ms;  painted median %6.1f ms  p95 %6.1f ms\n",
                press == Press::Held ? "keys held:" : "keys let go 4 ms after the press:", Percentile(visible, 0.5),
                Percentile(visible, 0.95), Percentile(painted, 0.5), Percentile(painted, 0.95));
  }
}

int Run(int argc, char** argv) {
  if (!probe::XdotoolAvailable()) {
    std::fprintf(stderr, "road_bench: needs Wine and xdotool (run it through tools/wine-session)\n");
    return 2;
  }
  // --memory N: only the memory, with N templates; --openings [N]: only N
  // openings of each kind and their floor; --floor: only the floor;
  // --pastes [N]: only N pastes.
  const std::string option = argc > 1 ? argv[1] : "";
  const bool memoryOnly = argc == 3 && option == "--memory";
  const bool openingsOnly = option == "--openings";
  const bool floorOnly = option == "--floor";
  const bool pastesOnly = option == "--pastes";
  const int pasteCount = pastesOnly && argc == 3 ? std::max(1, std::atoi(argv[2])) : kPastes;
  const int openingCount = openingsOnly && argc == 3 ? std::max(1, std::atoi(argv[2])) : kOpenings;
  const int templateCount = memoryOnly ? std::clamp(std::atoi(argv[2]), kMatches, 65535) : kTemplates;
  const FolderCopy folder(ProgramFolder());
  const std::wstring templates = folder.File(L"road-bench.zqt");
  WriteTemplateFile(templates, templateCount);
  probe::DeleteRegKey(snibbet::kSettingsKeyPath);
  probe::WriteRegString(snibbet::kSettingsKeyPath, L"TemplatesFileName", templates);
  // A later start: the first one opens the wizard in front.
  probe::WriteRegDword(snibbet::kSettingsKeyPath, L"FirstStart", 1);
  int status = floorOnly ? 0 : 1;
  if (!floorOnly) {
    Road road(folder);
    if (road.Start()) {
      if (!memoryOnly && !pastesOnly) {
        std::printf("Hotkey (left Win+Space, physical) to the pop-up, %d rows of %d templates:\n", kMatches,
                    kTemplates);
        BenchOpenings(road, Press::Held, openingCount);
        BenchOpenings(road, Press::Quick, openingCount);
      }
      if (!memoryOnly && !openingsOnly) BenchPastes(road, pasteCount);
      if (!openingsOnly && !pastesOnly) BenchMemory(road, templateCount);
      status = 0;
    }
  }
  if (status == 0 && !memoryOnly && !pastesOnly) {
    Road bare(folder, Program::Bare);
    if (bare.Start()) {
      BenchBareOpenings(bare, std::min(openingCount, kFloorOpenings));
    } else {
      status = 1;
    }
  }
  probe::DeleteRegKey(snibbet::kSettingsKeyPath);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "road_bench: %s\n", error.what());
    return 1;
  }
}

// Prints what SnibbetCm costs the user's input:
//  1. the time its keyboard hook adds to each key event: injected key events are
//     timed from SendInput until this thread retrieves them, with the helper
//     running unhooked and then hooked (blocking off); a bare pass-through hook
//     in another process (this program started with --bare-hook) shows what any
//     low-level hook costs on the platform;
//  2. the time from sending WM_HELPER_UNBLOCK_INPUT to its return with N noted
//     releases, and the overhead beyond the N pauses of 10 ms.
// Run inside a Wine session (it types physically through xdotool):
//   tools/wine-session wine build/windows/bench/helper_bench.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "helper/helper_protocol.h"
#include "tests/e2e/helper_e2e_support.h"

namespace {

using bench::Now;
using bench::Microseconds;
using bench::Percentile;

using namespace snibbet;
using namespace snibbet::helper_e2e;

constexpr int kKeyEvents = 2000;
constexpr WORD kBenchKey = VK_F13;  // reaches the window, types nothing




// Microseconds from SendInput until the event is retrieved, per event.
std::vector<double> TimeKeyEvents(int count) {
  std::vector<double> times;
  times.reserve(count);
  for (int i = 0; i < count; ++i) {
    const bool release = i % 2 == 1;
    const UINT expected = release ? WM_KEYUP : WM_KEYDOWN;
    SeenMessages().clear();
    const LONGLONG start = Now();
    InjectKey(kBenchKey, release);
    const bool arrived = PumpUntil(
        [&] {
          for (const Seen& s : SeenMessages()) {
            if (s.message == expected && s.wParam == kBenchKey) return true;
          }
          return false;
        },
        2000);
    if (arrived) times.push_back(Microseconds(Now() - start));
  }
  return times;
}

void ReportKeyEvents(const char* label, const std::vector<double>& times) {
  std::printf("  %-26s %5zu events  median %8.1f us  p99 %8.1f us\n", label, times.size(), Percentile(times, 0.5),
              Percentile(times, 0.99));
}

LRESULT CALLBACK PassThroughHook(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

int RunBareHook() {
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, PassThroughHook, GetModuleHandleW(nullptr), 0);
  if (!hook) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  UnhookWindowsHookEx(hook);
  return 0;
}

std::vector<double> TimeWithBareHook(int count) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ChildProcess bare(self, L"--bare-hook");
  PumpFor(500);  // its hook is installed
  TimeKeyEvents(100);
  return TimeKeyEvents(count);
}

std::vector<double> TimeWithHelperHooked(HelperProcess& helper, int count) {
  helper.Send(WM_HELPER_HOOKS_ON);
  TimeKeyEvents(100);
  auto times = TimeKeyEvents(count);
  helper.Send(WM_HELPER_HOOKS_OFF);
  return times;
}

void Append(std::vector<double>& to, const std::vector<double>& from) { to.insert(to.end(), from.begin(), from.end()); }

// The three set-ups take turns in rounds, so that a change of machine load
// between them does not pass for a cost of the hook.
void BenchKeyHook(HelperProcess& helper) {
  constexpr int kRounds = 5;
  std::printf("Key event latency, SendInput to retrieval (%d events each, in %d rounds):\n", kKeyEvents, kRounds);
  TimeKeyEvents(200);  // warm-up
  std::vector<double> unhooked, bare, hooked;
  for (int round = 0; round < kRounds; ++round) {
    Append(unhooked, TimeKeyEvents(kKeyEvents / kRounds));
    Append(bare, TimeWithBareHook(kKeyEvents / kRounds));
    Append(hooked, TimeWithHelperHooked(helper, kKeyEvents / kRounds));
  }
  ReportKeyEvents("helper running, no hooks", unhooked);
  ReportKeyEvents("bare pass-through hook", bare);
  ReportKeyEvents("helper hooked", hooked);
  std::printf("  added by the helper's hook: median %7.1f us  p99 %8.1f us\n",
              Percentile(hooked, 0.5) - Percentile(unhooked, 0.5),
              Percentile(hooked, 0.99) - Percentile(unhooked, 0.99));
  std::printf("  beyond a bare hook:         median %7.1f us  p99 %8.1f us\n",
              Percentile(hooked, 0.5) - Percentile(bare, 0.5), Percentile(hooked, 0.99) - Percentile(bare, 0.99));
}

void BenchUnblock(HelperProcess& helper) {
  constexpr int kRounds = 5;
  std::printf("\nWM_HELPER_UNBLOCK_INPUT, send to return (median of %d rounds):\n", kRounds);
  const std::string letters = "abcdefghijklmnopqrstuvwxyz";
  for (int noted : {0, 1, 4, 16}) {
    std::vector<double> totals;
    for (int round = 0; round < kRounds; ++round) {
      helper.Send(WM_HELPER_BLOCK_INPUT);
      std::string keys;
      for (int i = 0; i < noted; ++i) keys += std::string(" ") + letters[i];
      if (noted > 0) Xdotool("key" + keys);
      PumpFor(300);  // every physical release has reached the hook
      const LONGLONG start = Now();
      helper.Send(WM_HELPER_UNBLOCK_INPUT);
      totals.push_back(Microseconds(Now() - start) / 1000.0);
      PumpFor(100);
    }
    const double median = Percentile(totals, 0.5);
    std::printf("  %2d noted releases: %8.2f ms total, %6.2f ms beyond the %3d ms of pauses\n", noted, median,
                median - 10.0 * noted, 10 * noted);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--bare-hook") return RunBareHook();
  HelperProcess helper;
  if (helper.Window() == nullptr) {
    std::fprintf(stderr, "SnibbetCm.exe did not start (looked in %ls)\n", ProgramFolder().c_str());
    return 1;
  }
  TargetWindow target;
  if (!target.Activate()) {
    std::fprintf(stderr, "the target window did not get the focus (is DISPLAY set?)\n");
    return 1;
  }
  BenchKeyHook(helper);
  helper.Send(WM_HELPER_HOOKS_ON);
  BenchUnblock(helper);
  return 0;
}

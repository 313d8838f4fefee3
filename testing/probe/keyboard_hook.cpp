#include "testing/probe/keyboard_hook.h"

#include <atomic>
#include <future>
#include <stdexcept>

#include "testing/probe/text.h"

namespace probe {
namespace {

std::atomic<KeyboardHookRecorder*> g_recorder{nullptr};

}  // namespace

KeyboardHookRecorder::KeyboardHookRecorder() {
  KeyboardHookRecorder* none = nullptr;
  if (!g_recorder.compare_exchange_strong(none, this))
    throw std::runtime_error("only one keyboard hook recorder at a time");
  std::promise<void> installed;
  std::future<void> ready = installed.get_future();
  HHOOK hook = nullptr;
  std::string error;
  thread_ = std::thread([&, installed = std::move(installed)]() mutable {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the queue must exist before WM_QUIT can be posted
    HHOOK installedHook = SetWindowsHookExW(WH_KEYBOARD_LL, &KeyboardHookRecorder::HookProc,
                                            GetModuleHandleW(nullptr), 0);
    threadId_ = GetCurrentThreadId();
    hook = installedHook;
    if (!hook) error = "cannot install the keyboard hook: " + LastErrorText();
    installed.set_value();   // the locals above are not touched after this
    if (!installedHook) return;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    UnhookWindowsHookEx(installedHook);
  });
  ready.wait();
  if (!hook) {
    thread_.join();
    g_recorder = nullptr;
    throw std::runtime_error(error);
  }
}

KeyboardHookRecorder::~KeyboardHookRecorder() {
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  if (thread_.joinable()) thread_.join();
  g_recorder = nullptr;
}

LRESULT CALLBACK KeyboardHookRecorder::HookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    if (KeyboardHookRecorder* self = g_recorder.load()) {
      const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
      std::lock_guard lock(self->mutex_);
      self->keys_.push_back({wParam, key->vkCode, key->scanCode, key->flags, key->time, key->dwExtraInfo});
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::vector<HookedKey> KeyboardHookRecorder::Keys() const {
  std::lock_guard lock(mutex_);
  return keys_;
}

size_t KeyboardHookRecorder::DownCount(DWORD vk) const {
  std::lock_guard lock(mutex_);
  size_t count = 0;
  for (const auto& key : keys_) count += key.vk == vk && !key.Up();
  return count;
}

bool KeyboardHookRecorder::WaitForDowns(DWORD vk, size_t count, milliseconds timeout) const {
  return WaitUntil([&] { return DownCount(vk) >= count; }, timeout, 2ms);
}

void KeyboardHookRecorder::Clear() {
  std::lock_guard lock(mutex_);
  keys_.clear();
}

}  // namespace probe

#include "testing/probe/box_watcher.h"

#include "testing/probe/process.h"
#include "testing/probe/window_find.h"

namespace probe {
namespace {

constexpr DWORD kPollMs = 50;
constexpr DWORD kFamilyAccess = SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION;

bool Alive(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

ULONGLONG AsNumber(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

// When the process started; 0 when unknown.
ULONGLONG StartTime(HANDLE process) {
  FILETIME start{}, end{}, kernel{}, user{};
  if (!GetProcessTimes(process, &start, &end, &kernel, &user)) return 0;
  return AsNumber(start);
}

// When the process ended; the largest time while it runs.
ULONGLONG EndTime(HANDLE process) {
  if (Alive(process)) return ~ULONGLONG{0};
  FILETIME start{}, end{}, kernel{}, user{};
  if (!GetProcessTimes(process, &start, &end, &kernel, &user)) return ~ULONGLONG{0};
  return AsNumber(end);
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher()
    : policy_([](const MessageBoxInfo& box) {
        const int id = DefaultButtonOf(box);
        return id ? id : kClose;
      }),
      stop_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  thread_ = std::thread([this] { Run(); });
}

MessageBoxWatcher::~MessageBoxWatcher() {
  SetEvent(stop_);
  thread_.join();
  CloseHandle(stop_);
  for (auto& [pid, handle] : family_) CloseHandle(handle);
}

void MessageBoxWatcher::Watch(DWORD pid) {
  HANDLE handle = OpenProcess(kFamilyAccess, FALSE, pid);
  if (!handle) return;   // already gone
  std::lock_guard lock(mutex_);
  Add(pid, handle);
}

void MessageBoxWatcher::WatchClass(const std::wstring& className) {
  std::lock_guard lock(mutex_);
  classes_.insert(className);
}

void MessageBoxWatcher::Add(DWORD pid, HANDLE handle) {
  auto [member, added] = family_.emplace(pid, handle);
  if (added) return;
  // A member that ended may have passed its pid on to a newer member.
  if (!Alive(member->second) && Alive(handle)) std::swap(member->second, handle);
  CloseHandle(handle);
}

std::set<DWORD> MessageBoxWatcher::Family() const {
  std::lock_guard lock(mutex_);
  std::set<DWORD> pids;
  for (const auto& member : family_) pids.insert(member.first);
  return pids;
}

std::vector<DWORD> MessageBoxWatcher::KillFamily(const std::set<DWORD>& spared) {
  AdoptChildren();   // children started since the last poll
  std::vector<DWORD> killed;
  std::lock_guard lock(mutex_);
  for (const auto& [pid, handle] : family_) {
    if (spared.count(pid) || pid == GetCurrentProcessId() || !Alive(handle)) continue;
    TerminateProcess(handle, 0xDEAD);
    WaitForSingleObject(handle, 5000);
    killed.push_back(pid);
  }
  return killed;
}

void MessageBoxWatcher::SetPolicy(Policy policy) {
  std::lock_guard lock(mutex_);
  policy_ = std::move(policy);
}

void MessageBoxWatcher::AnswerWith(int buttonId) {
  SetPolicy([buttonId](const MessageBoxInfo& box) { return box.Button(buttonId) ? buttonId : kClose; });
}

void MessageBoxWatcher::AnswerWith(const std::wstring& buttonText) {
  SetPolicy([buttonText](const MessageBoxInfo& box) {
    const DialogButton* button = box.Button(buttonText);
    return button ? button->id : kClose;
  });
}

void MessageBoxWatcher::LeaveOpen() {
  SetPolicy([](const MessageBoxInfo&) { return kLeaveOpen; });
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
  std::lock_guard lock(mutex_);
  return seen_;
}

std::optional<SeenMessageBox> MessageBoxWatcher::WaitForBox(milliseconds timeout, size_t index) const {
  std::optional<SeenMessageBox> found;
  WaitUntil(
      [&] {
        std::lock_guard lock(mutex_);
        if (seen_.size() > index) found = seen_[index];
        return found.has_value();
      },
      timeout, 5ms);
  return found;
}

void MessageBoxWatcher::Clear() {
  std::lock_guard lock(mutex_);
  seen_.clear();
}

void MessageBoxWatcher::Run() {
  do {
    AdoptChildren();
    Poll();
  } while (WaitForSingleObject(stop_, kPollMs) == WAIT_TIMEOUT);
}

void MessageBoxWatcher::AdoptChildren() {
  // A child starts while its parent runs. Wine reuses pids soon, and a process
  // records the pid of its parent for good, so a pid alone may name a stranger's
  // parent (e.g. explorer.exe's long-gone starter).
  struct Lifetime {
    ULONGLONG start, end;
  };
  std::map<DWORD, Lifetime> parents;
  {
    std::lock_guard lock(mutex_);
    for (const auto& [pid, handle] : family_) parents[pid] = {StartTime(handle), EndTime(handle)};
  }
  if (parents.empty()) return;
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& entry : ListProcesses()) {
      const auto parent = parents.find(entry.parent);
      if (parent == parents.end() || parents.count(entry.pid)) continue;
      HANDLE child = OpenProcess(kFamilyAccess, FALSE, entry.pid);
      if (!child) continue;
      const ULONGLONG started = StartTime(child);
      if (started == 0 || started < parent->second.start || started > parent->second.end) {
        CloseHandle(child);
        continue;
      }
      parents[entry.pid] = {started, EndTime(child)};
      std::lock_guard lock(mutex_);
      Add(entry.pid, child);
      grew = true;
    }
  }
}

std::vector<HWND> MessageBoxWatcher::VisibleBoxes() const {
  std::vector<HWND> boxes;
  std::lock_guard lock(mutex_);
  for (HWND hwnd : TopLevelWindows()) {
    if (IsWindowVisible(hwnd) && family_.count(ProcessOf(hwnd)) && classes_.count(ClassNameOf(hwnd)))
      boxes.push_back(hwnd);
  }
  return boxes;
}

void MessageBoxWatcher::Poll() {
  // Only this thread touches handled_; the policy runs unlocked so that it may call us.
  std::erase_if(handled_, [](HWND box) { return !IsWindowVisible(box); });
  for (HWND hwnd : VisibleBoxes()) {
    if (handled_.count(hwnd)) continue;
    auto box = ReadMessageBox(hwnd);
    if (!box) continue;
    handled_.insert(hwnd);
    Policy policy;
    {
      std::lock_guard lock(mutex_);
      policy = policy_;
    }
    int answer = policy ? policy(*box) : kClose;
    if (answer == kClose || (answer != kLeaveOpen && !PressButton(*box, answer))) {
      CloseMessageBox(*box);
      answer = IDCANCEL;
    }
    std::lock_guard lock(mutex_);
    seen_.push_back({std::move(*box), answer});
  }
}

}  // namespace probe

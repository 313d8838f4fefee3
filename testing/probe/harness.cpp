#include "testing/probe/harness.h"

#include <cstdio>
#include <cstdlib>

#include "testing/probe/text.h"
#include "testing/probe/wine.h"

namespace probe {
namespace {

constexpr DWORD kPollMs = 50;

std::wstring WithTrailingSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

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

std::string Describe(const SeenMessageBox& seen) {
  return "\"" + ToUtf8(seen.box.caption) + "\": \"" + ToUtf8(seen.box.text) + "\"";
}

}  // namespace

// ---- MessageBoxWatcher ----

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
  if (!family_.emplace(pid, handle).second) CloseHandle(handle);
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
    if (spared.count(pid) || !Alive(handle)) continue;
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
      if (!family_.emplace(entry.pid, child).second) CloseHandle(child);
      grew = true;
    }
  }
}

void MessageBoxWatcher::Poll() {
  // Only this thread touches handled_; the policy runs unlocked so that it may call us.
  std::erase_if(handled_, [](HWND box) { return !IsWindowVisible(box); });
  for (DWORD pid : Family()) {
    for (HWND hwnd : FindMessageBoxes(pid)) {
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
}

// ---- EndToEndTest ----

EndToEndTest::~EndToEndTest() {
  // TearDown is skipped when the fixture's constructor or SetUp threw.
  for (auto& tracked : tracked_) tracked.process->Kill();
  watcher_.KillFamily({});
}

std::wstring EndToEndTest::TestDir() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) { path.resize(n); break; }
    path.resize(path.size() * 2);
  }
  return FolderOf(path);
}

std::wstring EndToEndTest::ProgramDir() {
  if (const char* dir = std::getenv("SNIBBET_PROGRAM_DIR"); dir && *dir)
    return WithTrailingSlash(WindowsPathOf(dir));
  return TestDir() + L"..\\bin\\";
}

std::wstring EndToEndTest::ProgramPath(const std::wstring& fileName) { return ProgramDir() + fileName; }

Process& EndToEndTest::Track(Process process, AtEnd atEnd) {
  watcher_.Watch(process.Pid());
  tracked_.push_back({std::make_unique<Process>(std::move(process)), atEnd});
  return *tracked_.back().process;
}

Process& EndToEndTest::Start(const std::wstring& path, const LaunchOptions& options, AtEnd atEnd) {
  return Track(Process::Start(path, options), atEnd);
}

Process& EndToEndTest::Start(const std::wstring& path, const std::vector<std::wstring>& arguments, AtEnd atEnd) {
  return Track(Process::Start(path, arguments), atEnd);
}

Process& EndToEndTest::StartProgram(const std::wstring& fileName, const std::vector<std::wstring>& arguments,
                                    AtEnd atEnd) {
  LaunchOptions options;
  options.arguments = JoinArguments(arguments);
  options.workDir = ProgramDir();
  return Start(ProgramPath(fileName), options, atEnd);
}

Process& EndToEndTest::Adopt(DWORD pid, AtEnd atEnd) { return Track(Process::Attach(pid), atEnd); }

void EndToEndTest::SetAtEnd(const Process& process, AtEnd atEnd) {
  for (auto& tracked : tracked_)
    if (tracked.process.get() == &process) tracked.atEnd = atEnd;
}

void EndToEndTest::CheckAndKill(Tracked& tracked) {
  Process& process = *tracked.process;
  const bool running = process.Running();
  const std::string name = "process " + std::to_string(process.Pid());
  if (running && tracked.atEnd == AtEnd::MustHaveEnded) ADD_FAILURE() << name << " is still running at the end of the test";
  if (!running && tracked.atEnd == AtEnd::MustRun)
    ADD_FAILURE() << name << " ended before the end of the test, exit code " << process.ExitCode().value_or(0);
  process.Kill();
}

void EndToEndTest::TearDown() {
  for (auto& tracked : tracked_) CheckAndKill(tracked);
  // Helpers started by the programs (they may never end on their own).
  watcher_.KillFamily({});
  if (HasFailure()) {
    for (const auto& seen : watcher_.Seen())
      std::fprintf(stderr, "message box seen: %s, answer %d\n", Describe(seen).c_str(), seen.answer);
  }
}

}  // namespace probe

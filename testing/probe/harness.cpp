#include "testing/probe/harness.h"

#include <cstdio>
#include <cstdlib>

#include "testing/probe/text.h"
#include "testing/probe/wine.h"

namespace probe {
namespace {

std::wstring WithTrailingSlash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
  return folder;
}

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/") + 1); }

std::string Describe(const SeenMessageBox& seen) {
  std::string text = "\"";
  text += ToUtf8(seen.box.caption);
  text += "\": \"";
  text += ToUtf8(seen.box.text);
  return text + "\"";
}

}  // namespace

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

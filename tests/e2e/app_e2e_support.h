#pragma once
// Support for end-to-end tests of Snibbet.exe: a private copy of the program
// folder per test (so a test may remove files or read the debug log without
// disturbing others) and the settings key.
#include <string>

#include "testing/probe/harness.h"

namespace snibbet_e2e {

inline constexpr wchar_t kSettingsKey[] = L"SOFTWARE\\OrvaneSoftware\\Snibbet";

// A copy of the built program folder under %TEMP%, removed at scope end.
class ProgramFolderCopy {
 public:
  explicit ProgramFolderCopy(const std::wstring& source);
  ~ProgramFolderCopy();
  ProgramFolderCopy(const ProgramFolderCopy&) = delete;
  ProgramFolderCopy& operator=(const ProgramFolderCopy&) = delete;

  const std::wstring& Path() const { return path_; }  // ends in "\"
  std::wstring File(const std::wstring& name) const { return path_ + name; }
  void Remove(const std::wstring& relative) const;  // a file or a whole folder

 private:
  std::wstring path_;
};

// The base of Snibbet's end-to-end tests: each test starts from an empty
// settings key and its own program folder.
class SnibbetTest : public probe::EndToEndTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  probe::Process& StartSnibbet(const std::vector<std::wstring>& arguments = {},
                               probe::AtEnd atEnd = probe::AtEnd::MustHaveEnded);
  // The running program's hidden main window, waited for.
  HWND WaitForMainWindow(DWORD pid);
  // Asks the program to end as the user's Exit does: its main form closes.
  void CloseNormally(probe::Process& process, HWND mainWindow);

  ProgramFolderCopy folder_{ProgramDir()};
  // Whether the program starts as for a new user, with no "FirstStart" in the
  // settings key: then the first-run wizard and the welcome tip show. Else
  // StartSnibbet marks the first start as done, so the wizard does not take
  // the front from the test's own windows.
  bool firstStart_ = false;
};

}  // namespace snibbet_e2e

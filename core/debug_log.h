#pragma once
// The debug log: switched on by "-DEBUG" or "/debug" on the command line,
// written to "Log.txt" in the program folder, one line per event.
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// The lines of this run, rewritten to their file after every line so that the
// file is complete even if the program dies. A file that cannot be written is
// ignored: logging never disturbs the program.
class DebugLogger {
 public:
  explicit DebugLogger(std::wstring filePath);
  void Log(std::wstring_view text);  // appends "<text> : <short date> <long time>"
  const std::vector<std::wstring>& Lines() const { return lines_; }
  const std::wstring& FilePath() const { return filePath_; }

 private:
  std::wstring filePath_;
  std::vector<std::wstring> lines_;
};

// The current local date and time in the user's short date and long time formats.
std::wstring CurrentDateTimeText();

// The process-wide switch, set by the utilities' initialisation.
bool Debug();
void SetDebug(bool on);

// Logs to "<program folder>Log.txt" while Debug() is on; nothing otherwise.
void DebugLog(std::wstring_view text);
void FinalizeDebugLog();

}  // namespace snibbet

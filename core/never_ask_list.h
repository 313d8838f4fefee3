#pragma once
// The error messages the user chose never to see again: "NeverAskBug.txt" in
// the data folder, one message per line, at most 100 lines, the oldest first
// out. A line break inside a message is stored and compared as a blank, so a
// message always takes one line (files of older versions read the same).
#include <string>
#include <string_view>
#include <vector>

namespace snibbet {

// `dataFolder` + "NeverAskBug.txt".
std::wstring NeverAskBugFileName(const std::wstring& dataFolder);

class NeverAskList {
 public:
  static constexpr size_t kMaxLines = 100;

  explicit NeverAskList(std::wstring fileName);

  // Reads the file (UTF-8, or the ANSI code page of older versions); a
  // missing file gives an empty list.
  void Load();
  // Compared without regard to case.
  bool Holds(std::wstring_view message) const;
  // Appends the message, dropping the oldest lines first while 100 or more
  // are kept, and writes the file (UTF-8). False when it could not be written.
  bool Add(std::wstring_view message);

  const std::vector<std::wstring>& Lines() const { return lines_; }
  const std::wstring& FileName() const { return fileName_; }

  // The message as it is stored: CR and LF become blanks.
  static std::wstring AsLine(std::wstring_view message);

 private:
  bool Save() const;

  std::wstring fileName_;
  std::vector<std::wstring> lines_;
};

}  // namespace snibbet

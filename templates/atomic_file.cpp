#include "templates/atomic_file.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>
#include <string_view>

namespace snibbet {
namespace {

constexpr std::size_t kBlockSize = 256 * 1024;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// A file name beside `path` that no other save uses: "<path>.~<process>-<n>.tmp",
// both numbers in hexadecimal.
std::wstring TemporaryNameBeside(const std::wstring& path) {
  static unsigned counter = 0;
  wchar_t suffix[48];
  std::swprintf(suffix, 48, L".~%lx-%x.tmp", GetCurrentProcessId(), ++counter);
  return path + suffix;
}

bool IsHexNumber(std::wstring_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](wchar_t c) { return std::iswxdigit(c) != 0; });
}

bool ProcessRunning(DWORD id) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  // One we may not look at runs all the same.
  if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

// Whether `name`, a file in the same folder, is the temporary file of a save
// of `fileName` that no longer runs. Older versions named it "<path>.~<hex>.tmp"
// without the process; theirs go when nothing holds them open.
bool IsStaleTemporaryOf(std::wstring_view fileName, std::wstring_view name) {
  constexpr std::wstring_view kStart = L".~", kEnd = L".tmp";
  if (name.size() <= fileName.size() + kStart.size() + kEnd.size()) return false;
  if (CompareStringOrdinal(name.data(), static_cast<int>(fileName.size()), fileName.data(),
                           static_cast<int>(fileName.size()), TRUE) != CSTR_EQUAL) {
    return false;
  }
  name.remove_prefix(fileName.size());
  if (!name.starts_with(kStart) || !name.ends_with(kEnd)) return false;
  name = name.substr(kStart.size(), name.size() - kStart.size() - kEnd.size());
  const std::size_t dash = name.find(L'-');
  if (dash == std::wstring_view::npos) return IsHexNumber(name);
  const std::wstring_view process = name.substr(0, dash), number = name.substr(dash + 1);
  if (!IsHexNumber(process) || process.size() > 8 || !IsHexNumber(number)) return false;
  const DWORD id = static_cast<DWORD>(std::wcstoul(std::wstring(process).c_str(), nullptr, 16));
  // This process saves one file at a time: none of its own is in use now.
  return id == GetCurrentProcessId() || !ProcessRunning(id);
}

// A save killed midway leaves its temporary file; the next save of the
// same file takes it away. One still open cannot be deleted and stays.
void RemoveStaleTemporaries(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const std::wstring fileName = path.substr(folder.size());
  if (fileName.empty()) return;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L".~*.tmp").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsStaleTemporaryOf(fileName, found.cFileName)) {
      DeleteFileW((folder + found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

DWORD WriteAll(HANDLE file, std::string_view bytes, const WriteBlockCheck& check) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    if (check && !check(written)) return ERROR_WRITE_FAULT;
    const DWORD block = static_cast<DWORD>(std::min(kBlockSize, bytes.size() - written));
    DWORD done = 0;
    if (!WriteFile(file, bytes.data() + written, block, &done, nullptr)) return GetLastError();
    if (done != block) return ERROR_WRITE_FAULT;
    written += done;
  }
  return FlushFileBuffers(file) ? ERROR_SUCCESS : GetLastError();
}

// Another program that reads the file (a backup, a virus scanner, a viewer)
// keeps the old one from being replaced while it has it open: the rename is
// tried again for about a second before the save counts as failed.
DWORD ReplaceWithRetries(const std::wstring& temporary, const std::wstring& path) {
  constexpr int kAttempts = 20;
  constexpr DWORD kPauseMs = 50;
  for (int attempt = 1;; ++attempt) {
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
    if (!held || attempt == kAttempts) return error;
    Sleep(kPauseMs);
  }
}

}  // namespace

DWORD ReplaceFileContents(const std::wstring& path, std::string_view bytes, const WriteBlockCheck& check) {
  RemoveStaleTemporaries(path);
  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryNameBeside(path);
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return GetLastError();
  }
  if (handle == INVALID_HANDLE_VALUE) return ERROR_FILE_EXISTS;

  FileHandle file(handle);
  DWORD error = WriteAll(file.Get(), bytes, check);
  if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS) error = ReplaceWithRetries(temporary, path);
  if (error != ERROR_SUCCESS) DeleteFileW(temporary.c_str());
  return error;
}

std::wstring SystemErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
      reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", length);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  return text;
}

}  // namespace snibbet

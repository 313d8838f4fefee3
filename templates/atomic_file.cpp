#include "templates/atomic_file.h"

#include <algorithm>
#include <cwchar>

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

// A file name beside `path` that no other save uses: "<path>.~<pid><n>.tmp".
std::wstring TemporaryNameBeside(const std::wstring& path, unsigned attempt) {
  static unsigned counter = 0;
  wchar_t suffix[48];
  std::swprintf(suffix, 48, L".~%lx%x%x.tmp", GetCurrentProcessId(), ++counter, attempt);
  return path + suffix;
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

}  // namespace

DWORD ReplaceFileContents(const std::wstring& path, std::string_view bytes, const WriteBlockCheck& check) {
  std::wstring temporary;
  HANDLE handle = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 16 && handle == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = TemporaryNameBeside(path, attempt);
    handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return GetLastError();
  }
  if (handle == INVALID_HANDLE_VALUE) return ERROR_FILE_EXISTS;

  FileHandle file(handle);
  DWORD error = WriteAll(file.Get(), bytes, check);
  if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS &&
      !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
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

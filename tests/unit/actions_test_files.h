#pragma once
// Scratch folders and raw files for the binding-file tests.
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "keyboard/action_html.h"
#include "keyboard/action_shell.h"

namespace snibbet::testing {

// The shell the binding files, pictures and listing are given in tests:
// errors and opened documents noted, the busy cursor counted, no pictures
// unless a test hands some in.
class RecordingShell : public BindingShell {
 public:
  std::vector<std::wstring> errors;
  std::vector<std::wstring> opened;
  int busy = 0;
  int busyMost = 0;
  std::wstring documents = L"Q:\\no\\documents\\";
  std::wstring version;
  HIMAGELIST actionImages = nullptr;
  HIMAGELIST keyImages = nullptr;
  std::function<HIMAGELIST(ActionPictures)> kindImages;
  std::function<int(int vk)> keyPictureIndex;

  void ShowError(const std::wstring& text) override { errors.push_back(text); }
  void BusyBegin() override { busyMost = std::max(busyMost, ++busy); }
  void BusyEnd() override { --busy; }
  std::wstring DocumentsFolder() override { return documents; }
  std::wstring ProductVersion() override { return version; }
  std::wstring LocalizeWebAddress(const std::wstring& address) override { return address; }
  void OpenDocument(const std::wstring& file) override { opened.push_back(file); }
  HIMAGELIST ActionImages() override { return actionImages; }
  HIMAGELIST KindImages(ActionPictures pictures) override { return kindImages ? kindImages(pictures) : nullptr; }
  HIMAGELIST KeyImages() override { return keyImages; }
  int KeyPictureIndex(int vk) override { return keyPictureIndex ? keyPictureIndex(vk) : -1; }
  HFONT KeyboardFont() override { return nullptr; }
};

// A fresh folder under the temporary folder, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"snibbet-actions-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { RemoveTree(path_); }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
        else DeleteFileW(full.c_str());
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
  }

  std::wstring path_;
};

inline bool WriteBytes(const std::wstring& file, const std::string& bytes) {
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  return ok && written == bytes.size();
}

inline std::string ReadBytes(const std::wstring& file) {
  std::string bytes;
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
  CloseHandle(h);
  return bytes;
}

inline bool Exists(const std::wstring& file) { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A file of the source tree (SNIBBET_SOURCE_DIR is a Unix path; Wine maps / to Z:).
inline std::wstring SourceFile(const std::string& relative) {
  const char* root = std::getenv("SNIBBET_SOURCE_DIR");
  std::string unix = std::string(root ? root : ".") + "/" + relative;
  std::wstring path = root && root[0] == '/' ? L"Z:" : L"";
  for (char c : unix) path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return path;
}

}  // namespace snibbet::testing

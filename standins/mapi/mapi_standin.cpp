// A stand-in for the system's Simple MAPI library (mapi32.dll) for tests: it
// shows no mail program, it writes what it was asked to do to a journal.
//
// The journal is the file named by the environment variable
// SNIBBET_MAPI_JOURNAL (else "MapiJournal.txt" beside this library), one
// UTF-8 line per event, appended; CR, LF and "\" in texts are written as
// \r, \n and \\. With SNIBBET_MAPI_LOGON_FAILS=1 every logon fails.
#include <windows.h>

#include <mapi.h>

#include <string>
#include <vector>

namespace {

constexpr LHANDLE kSession = 0x5E55;

// The wide records of MAPISendMailW.
struct RecipW {
  ULONG reserved, recipClass;
  PWSTR name, address;
  ULONG entryIdSize;
  LPVOID entryId;
};
struct FileW {
  ULONG reserved, flags, position;
  PWSTR path, name;
  LPVOID fileType;
};
struct MessageW {
  ULONG reserved;
  PWSTR subject, noteText, messageType, dateReceived, conversationId;
  FLAGS flags;
  RecipW* originator;
  ULONG recipCount;
  RecipW* recips;
  ULONG fileCount;
  FileW* files;
};

HMODULE g_module = nullptr;

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH * 2] = {};
  const DWORD n = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
  return n > 0 && n < std::size(value) ? std::wstring(value, n) : std::wstring();
}

std::wstring JournalPath() {
  std::wstring path = Environment(L"SNIBBET_MAPI_JOURNAL");
  if (!path.empty()) return path;
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(g_module, module, MAX_PATH);
  path = module;
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"MapiJournal.txt";
}

std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\r') out += L"\\r";
    else if (c == L'\n') out += L"\\n";
    else if (c == L'\\') out += L"\\\\";
    else out += c;
  }
  return out;
}

std::wstring Widen(const char* text) {
  if (!text) return L"(null)";
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
  if (n > 1) MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), n);
  return wide;
}

std::wstring Wide(const wchar_t* text) { return text ? text : L"(null)"; }

void Journal(const std::wstring& line) {
  const std::wstring text = line + L"\r\n";
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
  HANDLE file = CreateFileW(JournalPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

namespace {

// The narrow and the wide mail, journalled alike: `text` turns either kind of
// string into a wide one.
template <class Message, class Text>
ULONG JournalMail(const wchar_t* call, const Message& m, FLAGS flags, Text text) {
  Journal(std::wstring(call) + L" flags=" + std::to_wstring(flags));
  for (ULONG i = 0; i < m.recipCount; ++i) {
    Journal(L"recipient class=" + std::to_wstring(m.recips[i].recipClass) + L" name=" +
            Escaped(text(m.recips[i].name)) + L" address=" + Escaped(text(m.recips[i].address)));
  }
  Journal(L"subject=" + Escaped(text(m.subject)));
  Journal(L"body=" + Escaped(text(m.noteText)));
  for (ULONG i = 0; i < m.fileCount; ++i) {
    Journal(L"attachment path=" + Escaped(text(m.files[i].path)) + L" name=" + Escaped(text(m.files[i].name)));
  }
  return SUCCESS_SUCCESS;
}

// The narrow records under the wide records' names.
struct NarrowRecip {
  ULONG recipClass;
  LPSTR name, address;
};
struct NarrowFile {
  LPSTR path, name;
};
struct NarrowMail {
  LPSTR subject, noteText;
  ULONG recipCount;
  std::vector<NarrowRecip> recips;
  ULONG fileCount;
  std::vector<NarrowFile> files;
};

}  // namespace

extern "C" {

ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
  Journal(L"MAPILogon flags=" + std::to_wstring(flags));
  if (Environment(L"SNIBBET_MAPI_LOGON_FAILS") == L"1") return MAPI_E_LOGIN_FAILURE;
  *session = kSession;
  return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
  Journal(L"MAPILogoff session=" + std::to_wstring(session == kSession ? 1 : 0));
  return SUCCESS_SUCCESS;
}

ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage m, FLAGS flags, ULONG) {
  NarrowMail mail{m->lpszSubject, m->lpszNoteText, m->nRecipCount, {}, m->nFileCount, {}};
  for (ULONG i = 0; i < m->nRecipCount; ++i) {
    mail.recips.push_back({m->lpRecips[i].ulRecipClass, m->lpRecips[i].lpszName, m->lpRecips[i].lpszAddress});
  }
  for (ULONG i = 0; i < m->nFileCount; ++i) mail.files.push_back({m->lpFiles[i].lpszPathName, m->lpFiles[i].lpszFileName});
  return JournalMail(L"MAPISendMail", mail, flags, [](LPSTR s) { return Widen(s); });
}

ULONG WINAPI MAPISendMailW(LHANDLE, ULONG_PTR, MessageW* m, FLAGS flags, ULONG) {
  return JournalMail(L"MAPISendMailW", *m, flags, [](PWSTR s) { return Wide(s); });
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_module = module;
  return TRUE;
}

}  // extern "C"

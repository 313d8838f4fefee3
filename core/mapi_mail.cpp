#include "core/mapi_mail.h"

#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "ui/application.h"
#include "ui/handles.h"

namespace snibbet {
namespace {

constexpr FLAGS kLogonFlags = MAPI_LOGON_UI | MAPI_NEW_SESSION;  // 3
constexpr FLAGS kSendFlags = MAPI_LOGON_UI | MAPI_DIALOG;        // 9
constexpr ULONG kPositionNone = 0xFFFFFFFF;

// While the mail dialog runs, the program's own windows take no input.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() { EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this)); }
  ~ThreadWindowsDisabled() {
    for (HWND window : disabled_) EnableWindow(window, TRUE);
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      EnableWindow(window, FALSE);
      reinterpret_cast<ThreadWindowsDisabled*>(self)->disabled_.push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::string ToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The message's strings, kept alive while the records point into them.
template <typename Str>
struct MessageText {
  Str subject, body, name, address;
  std::vector<Str> paths, names;
};

template <typename Str, typename Convert>
MessageText<Str> CollectText(const std::wstring& address, const std::wstring& subject, const std::wstring& body,
                             const std::vector<std::wstring>& files, Convert convert) {
  MessageText<Str> text{convert(subject), convert(body), convert(address), convert(L"SMTP:" + address), {}, {}};
  for (const auto& file : files) {
    text.paths.push_back(convert(file));
    text.names.push_back(convert(FileNameOf(file)));
  }
  return text;
}

template <typename Str>
auto* OrNull(Str& s) {
  return s.empty() ? nullptr : s.data();
}

// Builds the records of one message and hands them to `send`.
template <typename Message, typename Recip, typename File, typename Str, typename Send>
void SendRecords(MessageText<Str>& text, bool hasAddress, Send send) {
  Recip recipient{};
  recipient.ulRecipClass = MAPI_TO;
  recipient.lpszName = text.name.data();
  recipient.lpszAddress = text.address.data();
  std::vector<File> attachments(text.paths.size());
  for (size_t i = 0; i < attachments.size(); ++i) {
    attachments[i] = File{};
    attachments[i].nPosition = kPositionNone;
    attachments[i].lpszPathName = text.paths[i].data();
    attachments[i].lpszFileName = text.names[i].data();
  }
  Message message{};
  message.lpszSubject = OrNull(text.subject);
  message.lpszNoteText = OrNull(text.body);
  if (hasAddress) {
    message.nRecipCount = 1;
    message.lpRecips = &recipient;
  }
  message.nFileCount = static_cast<ULONG>(attachments.size());
  message.lpFiles = attachments.empty() ? nullptr : attachments.data();
  send(&message);
}

void ShowMailUnavailable() { ShowWarningMessage(LangText(304)); }

}  // namespace

SimpleMapi SimpleMapiOf(HMODULE mapi) {
  SimpleMapi api;
  if (!mapi) return api;
  api.Logon = reinterpret_cast<LPMAPILOGON>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPILogon")));
  api.Logoff = reinterpret_cast<LPMAPILOGOFF>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPILogoff")));
  api.SendMail = reinterpret_cast<LPMAPISENDMAIL>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMail")));
  api.SendMailW = reinterpret_cast<MapiSendMailWideFn>(reinterpret_cast<void*>(GetProcAddress(mapi, "MAPISendMailW")));
  return api;
}

bool SendMailWith(const SimpleMapi& api, HWND owner, const std::wstring& address, const std::wstring& subject,
                  const std::wstring& body, const std::vector<std::wstring>& files) {
  LHANDLE session = 0;
  if (!api.Logon || !(api.SendMail || api.SendMailW) ||
      api.Logon(reinterpret_cast<ULONG_PTR>(owner), nullptr, nullptr, kLogonFlags, 0, &session) != SUCCESS_SUCCESS) {
    ShowMailUnavailable();
    return false;
  }
  const auto ui = reinterpret_cast<ULONG_PTR>(owner);
  {
    ThreadWindowsDisabled disabled;
    if (api.SendMailW) {
      auto text = CollectText<std::wstring>(address, subject, body, files, [](const std::wstring& s) { return s; });
      SendRecords<MapiMessageWide, MapiRecipDescWide, MapiFileDescWide>(
          text, !address.empty(), [&](MapiMessageWide* m) { api.SendMailW(session, ui, m, kSendFlags, 0); });
    } else {
      auto text = CollectText<std::string>(address, subject, body, files, ToAnsi);
      SendRecords<MapiMessage, MapiRecipDesc, MapiFileDesc>(
          text, !address.empty(), [&](MapiMessage* m) { api.SendMail(session, ui, m, kSendFlags, 0); });
    }
  }
  if (api.Logoff) api.Logoff(session, ui, 0, 0);
  return true;
}

bool SendMailMapi(const std::wstring& address, const std::wstring& subject, const std::wstring& body,
                  const std::vector<std::wstring>& files) {
  const ui::ModuleHandle mapi(LoadLibraryW(L"MAPI32.DLL"));
  return SendMailWith(SimpleMapiOf(mapi.Get()), ui::ApplicationWindow(), address, subject, body, files);
}

}  // namespace snibbet

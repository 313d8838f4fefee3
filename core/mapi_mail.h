#pragma once
// Mail through Simple MAPI: the user's mail program opens its send dialog with
// the message filled in. MAPI32.DLL is loaded when needed.
#include <windows.h>

#include <mapi.h>

#include <string>
#include <vector>

namespace snibbet {

// Fills a message (recipient "SMTP:<address>" when an address is given, the
// subject, the body, the files as attachments) and shows the mail program's
// dialog. When MAPI is missing or the logon fails, the warning of language
// text 304 is shown; a cancelled or failed send is silent. Returns whether the
// mail program was reached.
bool SendMailMapi(const std::wstring& address, const std::wstring& subject, const std::wstring& body,
                  const std::vector<std::wstring>& files);

// The wide forms of the Simple MAPI records (exported by MAPI32.DLL on newer systems).
struct MapiRecipDescWide {
  ULONG ulReserved;
  ULONG ulRecipClass;
  PWSTR lpszName;
  PWSTR lpszAddress;
  ULONG ulEIDSize;
  LPVOID lpEntryID;
};
struct MapiFileDescWide {
  ULONG ulReserved;
  ULONG flFlags;
  ULONG nPosition;
  PWSTR lpszPathName;
  PWSTR lpszFileName;
  LPVOID lpFileType;
};
struct MapiMessageWide {
  ULONG ulReserved;
  PWSTR lpszSubject;
  PWSTR lpszNoteText;
  PWSTR lpszMessageType;
  PWSTR lpszDateReceived;
  PWSTR lpszConversationID;
  FLAGS flFlags;
  MapiRecipDescWide* lpOriginator;
  ULONG nRecipCount;
  MapiRecipDescWide* lpRecips;
  ULONG nFileCount;
  MapiFileDescWide* lpFiles;
};
using MapiSendMailWideFn = ULONG(WINAPI*)(LHANDLE, ULONG_PTR, MapiMessageWide*, FLAGS, ULONG);

// The entry points used; the wide send is taken when present, else the 8-bit one.
struct SimpleMapi {
  LPMAPILOGON Logon = nullptr;
  LPMAPILOGOFF Logoff = nullptr;
  LPMAPISENDMAIL SendMail = nullptr;
  MapiSendMailWideFn SendMailW = nullptr;
};

SimpleMapi SimpleMapiOf(HMODULE mapiLibrary);

// SendMailMapi over the given entry points, owned by `owner`.
bool SendMailWith(const SimpleMapi& api, HWND owner, const std::wstring& address, const std::wstring& subject,
                  const std::wstring& body, const std::vector<std::wstring>& files);

}  // namespace snibbet

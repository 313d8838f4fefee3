#pragma once
// WinINet's handles (session, connection, request), closed with
// InternetCloseHandle. Apart from handles.h so that only WinINet's users
// include wininet.h and link wininet.
#include <windows.h>
#include <wininet.h>

#include "ui/handles.h"

namespace ui {

struct InternetHandleTraits {
  using Handle = HINTERNET;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { InternetCloseHandle(h); }
};

using InternetHandle = UniqueHandle<InternetHandleTraits>;

}  // namespace ui

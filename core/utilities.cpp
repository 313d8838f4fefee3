#include "core/utilities.h"

#include "core/command_line.h"
#include "core/debug_log.h"

namespace snibbet {
namespace {

HCURSOR g_magnifyCursor = nullptr;
HCURSOR g_handCursor = nullptr;
UINT g_rtfFormat = 0;
UINT g_htmlFormat = 0;

}  // namespace

void InitializeUtilities() {
  SetDebug(HasDebugSwitch(GetCommandLineW()));
  g_magnifyCursor = LoadCursorW(GetModuleHandleW(nullptr), L"Magnify");
  if (!g_magnifyCursor) g_magnifyCursor = LoadCursorW(nullptr, IDC_ARROW);
  g_handCursor = LoadCursorW(nullptr, IDC_HAND);
  g_rtfFormat = RegisterClipboardFormatW(L"Rich Text Format");
  g_htmlFormat = RegisterClipboardFormatW(L"HTML Format");
}

void FinalizeUtilities() {
  FinalizeDebugLog();
  // The cursors are shared resources: nothing to destroy.
  g_magnifyCursor = g_handCursor = nullptr;
}

HCURSOR MagnifyCursor() { return g_magnifyCursor; }
HCURSOR HandCursor() { return g_handCursor; }
UINT RtfClipboardFormat() { return g_rtfFormat; }
UINT HtmlClipboardFormat() { return g_htmlFormat; }

}  // namespace snibbet

#include "core/utilities.h"

#include "core/clipboard_access.h"
#include "core/command_line.h"
#include "core/debug_log.h"

namespace snibbet {
namespace {

HCURSOR g_magnifyCursor = nullptr;
HCURSOR g_handCursor = nullptr;

}  // namespace

void InitializeUtilities() {
  SetDebug(HasDebugSwitch(GetCommandLineW()));
  g_magnifyCursor = LoadCursorW(GetModuleHandleW(nullptr), L"Magnify");
  if (!g_magnifyCursor) g_magnifyCursor = LoadCursorW(nullptr, IDC_ARROW);
  g_handCursor = LoadCursorW(nullptr, IDC_HAND);
  RegisterClipboardFormats();
}

void FinalizeUtilities() {
  FinalizeDebugLog();
  // The cursors are shared resources: nothing to destroy.
  g_magnifyCursor = g_handCursor = nullptr;
}

HCURSOR MagnifyCursor() { return g_magnifyCursor; }
HCURSOR HandCursor() { return g_handCursor; }

}  // namespace snibbet

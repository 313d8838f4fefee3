#include "core/debug_log.h"

#include <windows.h>

#include "core/file_bytes.h"
#include "core/paths.h"
#include "core/program_folder.h"
#include "core/utf8.h"

namespace snibbet {
namespace {

bool g_debug = false;
DebugLogger* g_logger = nullptr;  // created by the first DebugLog while Debug() is on

std::wstring DateText(const SYSTEMTIME& time) {
  wchar_t text[128] = {};
  return GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &time, nullptr, text, 128) > 0 ? text : L"";
}

std::wstring TimeText(const SYSTEMTIME& time) {
  wchar_t text[128] = {};
  return GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, text, 128) > 0 ? text : L"";
}

}  // namespace

DebugLogger::DebugLogger(std::wstring filePath) : filePath_(std::move(filePath)) {}

void DebugLogger::Log(std::wstring_view text) {
  lines_.push_back(std::wstring(text) + L" : " + CurrentDateTimeText());
  std::string bytes(kUtf8Bom);
  for (const auto& line : lines_) bytes += WideToUtf8(line) + "\r\n";
  WriteFileBytes(filePath_, bytes);  // a log that cannot be written is not worth stopping for
}

std::wstring CurrentDateTimeText() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateText(now) + L" " + TimeText(now);
}

bool Debug() { return g_debug; }
void SetDebug(bool on) { g_debug = on; }

void DebugLog(std::wstring_view text) {
  if (!g_debug) return;
  if (!g_logger) g_logger = new DebugLogger(JoinPath(ProgramFolder(), L"Log.txt"));
  g_logger->Log(text);
}

void FinalizeDebugLog() {
  delete g_logger;
  g_logger = nullptr;
}

}  // namespace snibbet

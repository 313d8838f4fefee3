#include "templates/template_tags_win.h"

#include "core/file_bytes.h"
#include "core/message_pump.h"
#include "core/synthetic_input.h"
#include "core/control_set.h"
#include "keyboard/key_model.h"
#include "templates/tag_date_locale_win.h"

namespace snibbet {
namespace {

std::wstring WidenSystemCodePage(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
  return wide;
}

// A file's size, when it is a file at all.
std::optional<ULONGLONG> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

std::optional<std::wstring> WindowsTagEnvironment::ReadTagFile(std::wstring_view path, std::size_t maxChars) {
  const std::wstring name(path);
  const std::optional<ULONGLONG> size = FileSize(name);
  // Two bytes a character at most (UTF-16), plus a byte-order mark.
  if (!size || *size > 2 * static_cast<ULONGLONG>(maxChars) + 3) return std::nullopt;
  const std::optional<std::string> bytes = ReadFileBytes(name);
  if (!bytes) return std::nullopt;
  std::wstring text = DecodeTagFileBytes(*bytes, WidenSystemCodePage);
  if (text.size() > maxChars) return std::nullopt;
  return text;
}

std::uint32_t WindowsTagEnvironment::ClipboardSequence() { return GetClipboardSequenceNumber(); }

void WindowsTagEnvironment::SendKey(std::uint8_t virtualKey, bool keyUp, bool extended) {
  snibbet::SendKey(virtualKey, keyUp, extended);
}

void WindowsTagEnvironment::SendCtrlChord(char letter) {
  switch (letter) {
    case 'X': SendCtrlX(); break;
    case 'C': SendCtrlC(); break;
    case 'Z': SendCtrlZ(); break;
    default: break;
  }
}

bool WindowsTagEnvironment::OnlyCtrlAndAltHeld() {
  return model_ != nullptr && model_->SideLessSet() == (kAnyCtrlBit | kAnyAltBit);
}

bool WindowsTagEnvironment::WizardIsForeground() { return wizard_ && WizardInFront(*wizard_); }

void WindowsTagEnvironment::Sleep(unsigned ms) { ::Sleep(ms); }
void WindowsTagEnvironment::ProcessMessagesFor(unsigned ms) { PumpMessagesFor(ms); }
std::uint32_t WindowsTagEnvironment::TickCount() { return GetTickCount(); }
void WindowsTagEnvironment::Beep() { MessageBeep(0); }
DateTimeContext WindowsTagEnvironment::CurrentDateTime() { return CurrentDateTimeContext(); }

void ExpandAndPaste(std::wstring_view text, ClipboardPasteSteps& clipboard, WizardWindowPort* wizard,
                    const TQvKeyboard* model) {
  WindowsTagEnvironment env(ProgramRandom(), wizard, model);
  TagExpander(env, clipboard).ExpandAndPaste(text);
}

void PlaceCaretAtMarker(std::wstring_view text, bool isRichText, ClipboardPasteSteps& clipboard,
                        const TQvKeyboard* model) {
  WindowsTagEnvironment env(ProgramRandom(), nullptr, model);
  TagExpander(env, clipboard).PlaceCaretAtMarker(text, isRichText);
}

}  // namespace snibbet

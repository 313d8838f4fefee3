#include "templates/template_paste_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "clipboard/monitor_calls.h"
#include "core/clipboard_access.h"
#include "core/foreground_state.h"
#include "core/synthetic_input.h"
#include "keyboard/key_history.h"
#include "keyboard/key_model.h"
#include "templates/popup_preview.h"
#include "templates/template_tags_win.h"
#include "templates/template_text.h"
#include "ui/gdi.h"

namespace snibbet {
namespace {

// A device-independent copy of the bitmap: every program can read CF_DIB,
// and the system offers CF_BITMAP from it.
bool PutBitmapOnClipboard(const ClipboardMonitorRecord* monitor, HBITMAP bitmap) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = info.bmHeight;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const std::size_t stride = ((static_cast<std::size_t>(info.bmWidth) * 3 + 3) / 4) * 4;
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(info.bmHeight);
  std::vector<std::uint8_t> dib(sizeof header + pixelBytes);
  std::memcpy(dib.data(), &header, sizeof header);
  const int lines = GetDIBits(ui::WindowDC(nullptr).Get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
                              dib.data() + sizeof header, reinterpret_cast<BITMAPINFO*>(dib.data()), DIB_RGB_COLORS);
  if (lines != info.bmHeight) return false;
  return OfferForPaste(monitor, {{CF_DIB, std::move(dib)}});
}

}  // namespace

void WindowsPasteSystem::BeginOwnInput() {
  if (TQvKeyboard* model = program_.KeyModel()) model->BeginOwnInput();
}

void WindowsPasteSystem::EndOwnInput() {
  if (TQvKeyboard* model = program_.KeyModel()) model->EndOwnInput();
}

void WindowsPasteSystem::ResetKeyHistory() {
  if (program_.keyboard) program_.keyboard->Hook().History().Reset();
}

bool WindowsPasteSystem::TargetInFront() { return GetForegroundWindow() == program_.foreground.PopupOpenedOver(); }

void WindowsPasteSystem::TypeKey(std::uint8_t virtualKey) { SendKeyPress(virtualKey, false); }

void WindowsPasteSystem::Beep() { MessageBeep(MB_OK); }

void WindowsPasteSystem::ExpandAndPaste(std::string_view templateText) {
  snibbet::ExpandAndPaste(TemplateTextToWide(templateText), clipboard_, &wizard_, program_.KeyModel());
}

bool WindowsPasteSystem::PutRichText(std::wstring_view plain, std::string_view rtf) {
  std::vector<ClipboardFormatBytes> formats = TextClipboardFormats(plain);
  std::vector<std::uint8_t> document(rtf.begin(), rtf.end());
  document.push_back(0);
  formats.push_back({RtfClipboardFormat(), std::move(document)});
  return OfferForPaste(program_.clipboardMonitor, std::move(formats));
}

void WindowsPasteSystem::PlaceCaretAtMarker(std::wstring_view text, bool isRichText) {
  snibbet::PlaceCaretAtMarker(text, isRichText, clipboard_, program_.KeyModel());
}

bool WindowsPasteSystem::WizardIsForeground() { return WizardInFront(wizard_); }

bool WindowsPasteSystem::PutPicture() {
  const ui::Bitmap bitmap(picture_.CreateBitmap());
  if (!bitmap) return false;
  return PutBitmapOnClipboard(program_.clipboardMonitor, bitmap.Get());
}

void PasteTemplateFromPopup(const PopupPaste& paste, const PopupProgramParts& program) {
  MonitorPasteSteps clipboard(program.clipboardMonitor);
  WindowsPasteSystem system(clipboard, paste.picture, paste.wizard, program);
  PasteTemplate(paste.request, clipboard, system);
}

}  // namespace snibbet

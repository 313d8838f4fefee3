#include "templates/template_paste.h"

#include <cstddef>

namespace snibbet {
namespace {

constexpr std::uint8_t kBackKey = 8;
constexpr std::uint8_t kSpaceKey = 32;
constexpr wchar_t kCaretMarker = L'|';
constexpr std::string_view kFinalParagraph = "\\par\r\n}";

// One Backspace erases one character in the target, also one written as a
// surrogate pair.
std::size_t CharacterCount(std::wstring_view text) {
  std::size_t count = 0;
  for (const wchar_t ch : text) {
    const auto unit = static_cast<std::uint32_t>(ch);
    if (unit < 0xDC00 || unit > 0xDFFF) ++count;
  }
  return count;
}

// The monitoring switch is on again and the user's clipboard comes back
// whatever happens in the paste.
class PasteScope {
 public:
  PasteScope(ClipboardPasteSteps& clipboard, bool restoreClipboard) : clipboard_(clipboard), restore_(restoreClipboard) {
    clipboard_.SetMonitoring(false);
  }
  ~PasteScope() {
    try {
      if (restore_) clipboard_.RestoreAfterPaste();
    } catch (...) {
      // The error being handled is the one to report.
    }
    try {
      clipboard_.SetMonitoring(true);
    } catch (...) {
    }
  }
  PasteScope(const PasteScope&) = delete;
  PasteScope& operator=(const PasteScope&) = delete;
  // The restore of the normal road happens before the own input ends.
  void RestoreNow() {
    if (restore_) clipboard_.RestoreAfterPaste();
    restore_ = false;
  }

 private:
  ClipboardPasteSteps& clipboard_;
  bool restore_;
};

// The key-state model leaves its own-input state also after an error; a
// model stuck in it would never paint or bracket again.
class OwnInputScope {
 public:
  explicit OwnInputScope(PasteSystem& system) : system_(system) { system_.BeginOwnInput(); }
  ~OwnInputScope() {
    if (!ended_) {
      try {
        system_.EndOwnInput();
      } catch (...) {
      }
    }
  }
  OwnInputScope(const OwnInputScope&) = delete;
  OwnInputScope& operator=(const OwnInputScope&) = delete;
  void End() {
    ended_ = true;
    system_.EndOwnInput();
  }

 private:
  PasteSystem& system_;
  bool ended_ = false;
};

// The template's write to the clipboard, waited for. False, after a beep,
// when the clipboard did not take it: Ctrl+V would paste whatever it holds.
template <class Put>
bool PutForPaste(ClipboardPasteSteps& clipboard, PasteSystem& system, Put put) {
  clipboard.ResetClipboardChanged();
  const bool taken = put();
  clipboard.WaitForClipboardChange();
  if (!taken) system.Beep();
  return taken;
}

void PasteRichText(const PasteRequest& request, ClipboardPasteSteps& clipboard, PasteSystem& system) {
  const std::wstring& plain = request.richText;
  const bool marked = plain.find(kCaretMarker) != std::wstring::npos;
  if (marked) {
    system.TypeKey(kSpaceKey);
    system.TypeKey(kBackKey);
  }
  const bool put = PutForPaste(clipboard, system, [&] {
    return system.PutRichText(marked ? plain + L'_' : plain, PasteRtf(request.record.Template, marked));
  });
  if (!put) return;
  clipboard.ResetClipboardChanged();
  clipboard.SendPasteKeys();
  // The wizard's own text box takes the paste only through our message loop.
  if (system.WizardIsForeground()) clipboard.WaitForClipboardChange();
  system.PlaceCaretAtMarker(plain, true);
}

void PastePicture(ClipboardPasteSteps& clipboard, PasteSystem& system) {
  if (PutForPaste(clipboard, system, [&] { return system.PutPicture(); })) clipboard.SendPasteKeys();
}

}  // namespace

std::string PasteRtf(std::string_view rtf, bool withProbe) {
  const std::size_t end = rtf.find_last_not_of(" \t\r\n");
  std::string text(rtf.substr(0, end == std::string_view::npos ? 0 : end + 1));
  if (text.ends_with(kFinalParagraph)) {
    text.resize(text.size() - kFinalParagraph.size());
    text += withProbe ? "_}" : "}";
  }
  return text;
}

void PasteTemplate(const PasteRequest& request, ClipboardPasteSteps& clipboard, PasteSystem& system) {
  const TemplateRecord& record = request.record;
  if (record.Template.empty()) return;
  // The typed word belonged to the window that went.
  if (!system.TargetInFront()) {
    system.ResetKeyHistory();
    return;
  }
  const bool hadData = clipboard.HoldsAnything();
  if (!clipboard.SaveBeforePaste()) {
    // The template on the clipboard would cost the user theirs for good.
    system.Beep();
    system.ResetKeyHistory();
    return;
  }
  {
    PasteScope scope(clipboard, hadData);
    OwnInputScope ownInput(system);
    // The save may have waited for the clipboard: the last look before typing.
    if (system.TargetInFront()) {
      for (std::size_t i = CharacterCount(request.searchText); i > 0; --i) system.TypeKey(kBackKey);
      switch (record.Kind) {
        case kTemplateText: system.ExpandAndPaste(record.Template); break;
        case kTemplateRichText: PasteRichText(request, clipboard, system); break;
        case kTemplatePicture: PastePicture(clipboard, system); break;
        default: break;  // a kind this program does not know: nothing is pasted
      }
    }
    scope.RestoreNow();
    ownInput.End();
  }
  system.ResetKeyHistory();
}

}  // namespace snibbet

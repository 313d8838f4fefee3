#include "keyboard/keyboard_loader.h"

#include <windows.h>

#include <optional>

#include "core/busy_cursor.h"
#include "core/file_bytes.h"
#include "core/lang_table.h"
#include "core/message_boxes.h"
#include "core/program_folder.h"
#include "core/text_utils.h"
#include "core/utf8.h"
#include "keyboard/key_model.h"
#include "keyboard/key_painter.h"
#include "keyboard/layout_file.h"

namespace snibbet {
namespace {

LayoutErrorSink g_errorSink;

void ReportError(const std::wstring& message) {
  if (g_errorSink) {
    g_errorSink(message);
  } else {
    ShowErrorMessage(message);
  }
}

// Layout files are in the system's ANSI code page, or UTF-8 with its mark.
std::wstring DecodeLayoutText(const std::string& bytes) {
  if (bytes.starts_with(kUtf8Bom)) return Utf8ToWide(std::string_view(bytes).substr(kUtf8Bom.size()));
  if (bytes.empty()) return {};
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
  return text;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring CannotLoad(const std::wstring& fileName, const std::wstring& reason) {
  return FormatText(LangText(700, L"Cannot load the keyboard layout \"%1\".\r\n%2"), {fileName, reason});
}

// Painting and the busy cursor as they were, whatever way the load ends.
class LoadBracket {
 public:
  explicit LoadBracket(TQvKeyboard& model) : model_(model), painting_(model.Painting()) {
    model_.SetPainting(false);
    BusyCursorBegin();
  }
  ~LoadBracket() {
    BusyCursorEnd();
    model_.SetPainting(painting_);
  }
  LoadBracket(const LoadBracket&) = delete;
  LoadBracket& operator=(const LoadBracket&) = delete;

 private:
  TQvKeyboard& model_;
  bool painting_;
};

// A layout read and checked, with its picture, ready to be put in place.
struct ReadLayout {
  KeyboardLayoutFile file;
  std::unique_ptr<BackgroundPicture> background;
  std::wstring backgroundFileName;  // the file name part only
};

ReadLayout BuiltInLayout() { return {*ParseKeyboardLayout(BuiltInKeyboardLayout()).layout, nullptr, {}}; }

// The layout of `fileName`, or the built-in one when there is no such file;
// none on any fault, with the user's text of it in `failure`.
std::optional<ReadLayout> ReadLayoutFile(const std::wstring& fileName, std::wstring& failure) {
  if (!FileExists(fileName)) return BuiltInLayout();
  const std::optional<std::string> bytes = ReadFileBytes(fileName);
  if (!bytes) {
    failure = CannotLoad(fileName, FormatText(LangText(704, L"Cannot read the file \"%1\"."), {fileName}));
    return std::nullopt;
  }
  LayoutParseResult parsed = ParseKeyboardLayout(DecodeLayoutText(*bytes));
  if (!parsed.layout) {
    failure = LayoutLoadErrorText(fileName, parsed.error);
    return std::nullopt;
  }
  ReadLayout layout{std::move(*parsed.layout), nullptr, {}};
  const std::wstring& backgroundName = layout.file.background;
  if (!backgroundName.empty()) {
    const std::wstring picturePath = KeyboardsFolder() + backgroundName;
    layout.background = BackgroundPicture::Load(picturePath);
    if (!layout.background) {
      failure = CannotLoad(fileName, FormatText(LangText(705, L"Cannot open the picture \"%1\"."), {picturePath}));
      return std::nullopt;
    }
    const std::size_t slash = backgroundName.find_last_of(L"\\/");
    layout.backgroundFileName = slash == std::wstring::npos ? backgroundName : backgroundName.substr(slash + 1);
  }
  return layout;
}

}  // namespace

std::wstring KeyboardsFolder() { return ProgramFolder() + L"Keyboards\\"; }

std::wstring KeyboardLayoutFileName(const std::wstring& name) { return KeyboardsFolder() + name + L".txt"; }

std::wstring LayoutLoadErrorText(const std::wstring& fileName, const LayoutFileError& error) {
  const std::wstring line = std::to_wstring(error.line);
  std::wstring reason;
  switch (error.kind) {
    case LayoutFileError::Kind::kBadNumber:
      reason = FormatText(LangText(701, L"Line %1: \"%2\" is not a valid number."), {line, error.text});
      break;
    case LayoutFileError::Kind::kOutOfRange:
      reason = FormatText(LangText(702, L"Line %1: %2 is out of range."), {line, error.text});
      break;
    case LayoutFileError::Kind::kBrokenShape:
      reason = FormatText(LangText(703, L"Line %1: the shape of key %2 is incomplete."), {line, error.text});
      break;
  }
  return CannotLoad(fileName, reason);
}

bool LoadKeyboard(TQvKeyboard& model, KeyboardPainter* painter, const std::wstring& name) {
  const LoadBracket bracket(model);
  const std::wstring fileName = KeyboardLayoutFileName(name);
  std::wstring failure;
  std::optional<ReadLayout> layout = ReadLayoutFile(fileName, failure);
  if (!layout) {
    ReportError(failure);
    // Without keys the hook would pass over every key and the hotkey would
    // silently stop working: the built-in board stands in.
    layout = BuiltInLayout();
  }
  if (painter) painter->SetBackground(std::move(layout->background), layout->backgroundFileName);
  model.ApplyLayout(layout->file, name);
  return failure.empty();
}

LayoutErrorSink ReplaceLayoutErrorSink(LayoutErrorSink sink) {
  LayoutErrorSink previous = std::move(g_errorSink);
  g_errorSink = std::move(sink);
  return previous;
}

}  // namespace snibbet

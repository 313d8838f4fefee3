#include "ui/rich_edit.h"

#include <commdlg.h>  // FR_DOWN and the other search flags

#include <algorithm>
#include <vector>

#include "ui/gdi.h"
#include "ui/handles.h"

namespace ui {
namespace {

struct EnhMetaFileTraits {
  using Handle = HENHMETAFILE;
  static Handle Invalid() { return nullptr; }
  static bool IsValid(Handle h) { return h != nullptr; }
  static void Close(Handle h) { DeleteEnhMetaFile(h); }
};
using EnhMetaFile = UniqueHandle<EnhMetaFileTraits>;

constexpr LONG kTwipsPerPoint = 20;
constexpr LONG kTwipsPerPixelAt96Dpi = 15;

struct LoadedRichEdit {
  ModuleHandle library;
  const wchar_t* className = MSFTEDIT_CLASS;
  int version = 0;
};

int FileMajorMinor(HMODULE module, int& minor) {
  wchar_t path[MAX_PATH] = {};
  if (!GetModuleFileNameW(module, path, MAX_PATH)) return 0;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0) return 0;
  std::vector<BYTE> data(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path, 0, size, data.data()) ||
      !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) || !info) {
    return 0;
  }
  minor = LOWORD(info->dwFileVersionMS);
  return HIWORD(info->dwFileVersionMS);
}

LoadedRichEdit LoadNewest() {
  LoadedRichEdit loaded;
  loaded.library.Reset(LoadLibraryW(L"msftedit.dll"));
  if (loaded.library) {
    loaded.version = 4;
    return loaded;
  }
  loaded.library.Reset(LoadLibraryW(L"riched20.dll"));
  loaded.className = RICHEDIT_CLASSW;
  if (loaded.library) {
    int minor = 0;
    const int major = FileMajorMinor(loaded.library.Get(), minor);
    loaded.version = RichEdit20VersionOf(major, minor);
  }
  return loaded;
}

// Loaded once and kept for the process: windows of its class may live until the end.
const LoadedRichEdit& Loaded() {
  static const LoadedRichEdit loaded = LoadNewest();
  return loaded;
}

struct StreamSource {
  std::string_view data;
  size_t position = 0;
};

DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
  auto& source = *reinterpret_cast<StreamSource*>(cookie);
  const size_t count = std::min(static_cast<size_t>(wanted), source.data.size() - source.position);
  std::copy_n(source.data.data() + source.position, count, buffer);
  source.position += count;
  *given = static_cast<LONG>(count);
  return 0;
}

DWORD CALLBACK WriteStream(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(count));
  *taken = count;
  return 0;
}

bool OpenClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {  // another program may hold it for a moment
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

// The picture as an enhanced metafile: riched20 of some systems pastes
// metafiles only.
EnhMetaFile MetafileOf(HBITMAP picture, const BITMAP& size) {
  HDC recorder = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  if (!recorder) return {};
  {
    MemoryDC source;
    SelectedObject selected(source, picture);
    BitBlt(recorder, 0, 0, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
  }
  return EnhMetaFile(CloseEnhMetaFile(recorder));
}

}  // namespace

int RichEdit20VersionOf(int fileMajor, int fileMinor) {
  return fileMajor > 5 || (fileMajor == 5 && fileMinor >= 30) ? 3 : 2;
}

int RichEditVersion() { return Loaded().version; }

const wchar_t* RichEdit::WindowClassName() const { return Loaded().className; }

DWORD RichEdit::ControlStyle() const {
  return WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | ES_NOHIDESEL | ES_SAVESEL;
}

void RichEdit::OnAttached() {
  Send(EM_EXLIMITTEXT, 0, 0x7FFFFFFE);  // the default is 32K characters
  Send(EM_AUTOURLDETECT, TRUE);
  Send(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE | ENM_LINK);
  if (defaultFont_) ApplyDefaultFont(SCF_DEFAULT);
}

void RichEdit::SetDefaultFont(DefaultFont font) {
  defaultFont_ = std::move(font);
  if (Handle()) ApplyDefaultFont(SCF_DEFAULT);
}

void RichEdit::ApplyDefaultFont(DWORD scope) {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  // The styles too: the control's own first format comes from the system
  // font, which is bold, and a font given by WM_SETFONT would have replaced it.
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_WEIGHT | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  format.wWeight = FW_NORMAL;
  format.yHeight = defaultFont_->pixelHeight * kTwipsPerPixelAt96Dpi;
  format.bCharSet = defaultFont_->charset;
  lstrcpynW(format.szFaceName, defaultFont_->face.c_str(), LF_FACESIZE);
  Send(EM_SETCHARFORMAT, scope, reinterpret_cast<LPARAM>(&format));
}

// --- text -------------------------------------------------------------------

void RichEdit::StreamIn(std::string_view data, UINT format) {
  StreamSource source{data};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadStream};
  settingText_ = true;
  Send(EM_STREAMIN, format, reinterpret_cast<LPARAM>(&stream));
  settingText_ = false;
  SetModified(false);
}

std::string RichEdit::StreamOut(UINT format) const {
  std::string data;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&data), 0, &WriteStream};
  Send(EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
  return data;
}

std::string RichEdit::Rtf() const { return StreamOut(SF_RTF); }

void RichEdit::SetRtf(std::string_view rtf) { StreamIn(rtf, SF_RTF); }

std::wstring RichEdit::PlainText() const {
  const std::string bytes = StreamOut(SF_TEXT | SF_UNICODE);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::copy_n(bytes.data(), text.size() * sizeof(wchar_t), reinterpret_cast<char*>(text.data()));
  return text;
}

void RichEdit::SetPlainText(std::wstring_view text) {
  StreamIn({reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)}, SF_TEXT | SF_UNICODE);
  // Plain text brings no format: not the one the document before it left at its end.
  if (defaultFont_) {
    settingText_ = true;
    ApplyDefaultFont(SCF_ALL);
    settingText_ = false;
    SetModified(false);
  }
}

void RichEdit::ReplaceSelection(std::wstring_view text) {
  const std::wstring copy(text);
  Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(copy.c_str()));
}

bool RichEdit::Modified() const { return Send(EM_GETMODIFY) != 0; }
void RichEdit::SetModified(bool modified) { Send(EM_SETMODIFY, modified ? TRUE : FALSE); }

// --- selection --------------------------------------------------------------

TextRange RichEdit::Selection() const {
  CHARRANGE range{};
  Send(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return {range.cpMin, range.cpMax};
}

void RichEdit::SetSelection(TextRange range) {
  CHARRANGE r{range.start, range.end};
  Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
}

std::wstring RichEdit::SelectedText() const { return TextOf(Selection()); }

std::wstring RichEdit::TextOf(TextRange range) const {
  if (range.end <= range.start) return {};
  std::wstring text(static_cast<size_t>(range.end - range.start) + 1, L'\0');
  TEXTRANGEW request{{range.start, range.end}, text.data()};
  const LRESULT copied = Send(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
  text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
  return text;
}

std::optional<TextRange> RichEdit::Find(std::wstring_view text, int from, FindOptions options) const {
  const std::wstring wanted(text);
  FINDTEXTEXW request{};
  request.chrg = {from, -1};
  request.lpstrText = wanted.c_str();
  const WPARAM flags = FR_DOWN | (options.matchCase ? FR_MATCHCASE : 0) | (options.wholeWord ? FR_WHOLEWORD : 0);
  if (Send(EM_FINDTEXTEXW, flags, reinterpret_cast<LPARAM>(&request)) < 0) return std::nullopt;
  return TextRange{request.chrgText.cpMin, request.chrgText.cpMax};
}

// --- character format ---------------------------------------------------------

CHARFORMAT2W RichEdit::CharFormat() const {
  CHARFORMAT2W format{};
  format.cbSize = sizeof format;
  Send(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
  return format;
}

void RichEdit::ApplyCharFormat(const CHARFORMAT2W& format, FormatScope scope) {
  CHARFORMAT2W copy = format;
  copy.cbSize = sizeof copy;
  const TextRange selection = Selection();
  const TextRange word = scope == FormatScope::SelectionOrWord && selection.start == selection.end
                             ? WordAt(selection.start)
                             : selection;
  if (word != selection) {
    // Through a passing selection of the word, which the user does not see
    // (no onSelectionChange): not every rich-edit version honours SCF_WORD.
    movingSelection_ = true;
    SetSelection(word);
    Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&copy));
    SetSelection(selection);
    movingSelection_ = false;
  }
  Send(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&copy));  // at the caret: what is typed next
}

TextRange RichEdit::WordAt(int position) const {
  auto isWordChar = [](wchar_t c) { return IsCharAlphaNumericW(c) || c == L'_'; };
  constexpr int kChunk = 64;
  int start = position;
  for (bool more = true; more && start > 0;) {
    const int from = std::max(start - kChunk, 0);
    const std::wstring chunk = TextOf({from, start});
    int i = static_cast<int>(chunk.size());
    while (i > 0 && isWordChar(chunk[static_cast<size_t>(i - 1)])) --i;
    more = i == 0 && !chunk.empty();
    start -= static_cast<int>(chunk.size()) - i;
  }
  int end = position;
  for (bool more = true; more;) {
    const std::wstring chunk = TextOf({end, end + kChunk});
    size_t i = 0;
    while (i < chunk.size() && isWordChar(chunk[i])) ++i;
    more = i == chunk.size() && !chunk.empty();
    end += static_cast<int>(i);
  }
  // Only inside a word: letters on both sides of the position.
  if (start == position || end == position) return {position, position};
  return {start, end};
}

std::wstring RichEdit::FontName() const { return CharFormat().szFaceName; }

void RichEdit::SetFontName(std::wstring_view name, FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = CFM_FACE;
  const size_t length = std::min(name.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(name.data(), length, format.szFaceName);
  format.szFaceName[length] = L'\0';
  ApplyCharFormat(format, scope);
}

int RichEdit::FontSize() const { return static_cast<int>(CharFormat().yHeight / kTwipsPerPoint); }

void RichEdit::SetFontSize(int points, FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = CFM_SIZE;
  format.yHeight = points * kTwipsPerPoint;
  ApplyCharFormat(format, scope);
}

bool RichEdit::HasStyle(TextStyle style) const { return (CharFormat().dwEffects & static_cast<DWORD>(style)) != 0; }

void RichEdit::SetStyle(TextStyle style, bool on, FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = static_cast<DWORD>(style);  // CFM_BOLD == CFE_BOLD, and so on
  format.dwEffects = on ? static_cast<DWORD>(style) : 0;
  ApplyCharFormat(format, scope);
}

// The text and the background colour: an "automatic" one is the system's.
struct ColorMember {
  DWORD mask;
  DWORD automatic;
  int systemColor;
  COLORREF CHARFORMAT2W::*value;
};
constexpr ColorMember kTextColor{CFM_COLOR, CFE_AUTOCOLOR, COLOR_WINDOWTEXT, &CHARFORMAT2W::crTextColor};
constexpr ColorMember kBackColor{CFM_BACKCOLOR, CFE_AUTOBACKCOLOR, COLOR_WINDOW, &CHARFORMAT2W::crBackColor};

COLORREF RichEdit::ColorOf(const ColorMember& member) const {
  const CHARFORMAT2W format = CharFormat();
  return (format.dwEffects & member.automatic) ? GetSysColor(member.systemColor) : format.*member.value;
}

void RichEdit::SetColorOf(const ColorMember& member, COLORREF color, FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = member.mask;
  format.*member.value = color;
  ApplyCharFormat(format, scope);
}

COLORREF RichEdit::TextColor() const { return ColorOf(kTextColor); }
void RichEdit::SetTextColor(COLORREF color, FormatScope scope) { SetColorOf(kTextColor, color, scope); }
COLORREF RichEdit::BackColor() const { return ColorOf(kBackColor); }
void RichEdit::SetBackColor(COLORREF color, FormatScope scope) { SetColorOf(kBackColor, color, scope); }

bool RichEdit::HasAutoBackColor() const { return (CharFormat().dwEffects & CFE_AUTOBACKCOLOR) != 0; }

void RichEdit::SetAutoBackColor(FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = CFM_BACKCOLOR;
  format.dwEffects = CFE_AUTOBACKCOLOR;
  ApplyCharFormat(format, scope);
}

VerticalPosition RichEdit::Position() const {
  const DWORD effects = CharFormat().dwEffects;
  if (effects & CFE_SUPERSCRIPT) return VerticalPosition::Superscript;
  if (effects & CFE_SUBSCRIPT) return VerticalPosition::Subscript;
  return VerticalPosition::Normal;
}

void RichEdit::SetPosition(VerticalPosition position, FormatScope scope) {
  CHARFORMAT2W format{};
  format.dwMask = CFM_SUPERSCRIPT;  // covers both effects: one clears the other
  format.dwEffects = position == VerticalPosition::Superscript ? CFE_SUPERSCRIPT
                     : position == VerticalPosition::Subscript ? CFE_SUBSCRIPT
                                                               : 0;
  ApplyCharFormat(format, scope);
}

// --- paragraph format -----------------------------------------------------------

PARAFORMAT2 RichEdit::ParagraphFormat() const {
  PARAFORMAT2 format{};
  format.cbSize = sizeof format;
  Send(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
  return format;
}

void RichEdit::ApplyParagraphFormat(const PARAFORMAT2& format) {
  PARAFORMAT2 copy = format;
  copy.cbSize = sizeof copy;
  Send(EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&copy));
}

ParagraphAlignment RichEdit::Alignment() const {
  switch (ParagraphFormat().wAlignment) {
    case PFA_RIGHT: return ParagraphAlignment::Right;
    case PFA_CENTER: return ParagraphAlignment::Center;
    case PFA_JUSTIFY: return ParagraphAlignment::Justify;
    default: return ParagraphAlignment::Left;
  }
}

void RichEdit::SetAlignment(ParagraphAlignment alignment) {
  PARAFORMAT2 format{};
  format.dwMask = PFM_ALIGNMENT;
  switch (alignment) {
    case ParagraphAlignment::Left: format.wAlignment = PFA_LEFT; break;
    case ParagraphAlignment::Right: format.wAlignment = PFA_RIGHT; break;
    case ParagraphAlignment::Center: format.wAlignment = PFA_CENTER; break;
    case ParagraphAlignment::Justify: format.wAlignment = PFA_JUSTIFY; break;
  }
  ApplyParagraphFormat(format);
}

bool RichEdit::Bullets() const { return ParagraphFormat().wNumbering == PFN_BULLET; }

void RichEdit::SetBullets(bool on) {
  PARAFORMAT2 format{};
  format.dwMask = PFM_NUMBERING;
  format.wNumbering = on ? PFN_BULLET : 0;
  ApplyParagraphFormat(format);
}

int RichEdit::LeftIndent() const { return static_cast<int>(ParagraphFormat().dxStartIndent / kTwipsPerPoint); }

void RichEdit::SetLeftIndent(int points) {
  PARAFORMAT2 format{};
  format.dwMask = PFM_STARTINDENT;  // the later lines keep their offset from the first
  format.dxStartIndent = points * kTwipsPerPoint;
  ApplyParagraphFormat(format);
}

// --- pictures -------------------------------------------------------------------

bool RichEdit::PastePicture(HBITMAP picture) {
  BITMAP size{};
  if (!picture || !GetObjectW(picture, sizeof size, &size)) return false;
  Bitmap copy(static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0)));
  EnhMetaFile metafile = MetafileOf(picture, size);
  if (!copy || !OpenClipboardSoon(hwnd_)) return false;
  EmptyClipboard();
  // The clipboard owns what it accepts.
  if (SetClipboardData(CF_BITMAP, copy.Get())) copy.Release();
  if (metafile && SetClipboardData(CF_ENHMETAFILE, metafile.Get())) metafile.Release();
  CloseClipboard();
  Send(WM_PASTE);
  return true;
}

// --- notifications -----------------------------------------------------------------

bool RichEdit::OnCommandReflected(WORD code) {
  if (code != EN_CHANGE || settingText_ || !onChange) return false;
  onChange();
  return true;
}

bool RichEdit::OnNotifyReflected(NMHDR& header, LRESULT& result) {
  if (header.code == EN_SELCHANGE) {
    if (!onSelectionChange || movingSelection_) return false;
    onSelectionChange();
    result = 0;
    return true;
  }
  if (header.code == EN_LINK) {
    auto& link = reinterpret_cast<ENLINK&>(header);
    if (link.msg != WM_LBUTTONUP || !onLinkClick) return false;
    onLinkClick(TextOf({link.chrg.cpMin, link.chrg.cpMax}));
    result = 0;
    return true;
  }
  return false;
}

}  // namespace ui

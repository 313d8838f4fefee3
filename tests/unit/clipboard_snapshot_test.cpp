#include "core/clipboard_snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "core/clipboard_access.h"
#include "tests/unit/clipboard_test_support.h"

namespace snibbet {
namespace {

using namespace snibbet::testing;

UINT Registered(const wchar_t* name) { return RegisterClipboardFormatW(name); }

// A 2 x 2, 24-bit device-independent bitmap: header, then two padded rows.
Bytes SmallDib() {
  BITMAPINFOHEADER header{};
  header.biSize = sizeof(header);
  header.biWidth = 2;
  header.biHeight = 2;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = 16;
  const std::uint8_t pixels[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 9, 9, 9, 0, 0};
  Bytes dib(sizeof(header) + sizeof(pixels));
  std::memcpy(dib.data(), &header, sizeof(header));
  std::memcpy(dib.data() + sizeof(header), pixels, sizeof(pixels));
  return dib;
}

std::vector<std::uint16_t> RecordFormats(ClipboardStream stream) {
  std::vector<std::uint16_t> formats;
  stream.Rewind();
  for (auto r = stream.ReadRecord(); r.status == RecordReadStatus::Ok; r = stream.ReadRecord()) {
    formats.push_back(r.format);
  }
  return formats;
}

bool Contains(const std::vector<std::uint16_t>& formats, UINT format) {
  return std::find(formats.begin(), formats.end(), static_cast<std::uint16_t>(format)) != formats.end();
}

HENHMETAFILE SmallMetafile() {
  HDC dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  Rectangle(dc, 1, 2, 30, 40);
  return CloseEnhMetaFile(dc);
}

// Holds the clipboard open from another thread until released.
class ClipboardHolder {
 public:
  explicit ClipboardHolder(DWORD holdMs) {
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = std::thread([opened, holdMs] {
      while (!OpenClipboard(nullptr)) Sleep(1);
      SetEvent(opened);
      Sleep(holdMs);
      CloseClipboard();
    });
    WaitForSingleObject(opened, INFINITE);
    CloseHandle(opened);
  }
  ~ClipboardHolder() { thread_.join(); }

 private:
  std::thread thread_;
};

TEST(ClipboardSnapshot, WholeClipboardSurvivesSaveOverwriteAndLoadByteForByte) {
  const UINT binary = Registered(L"Snibbet Test Binary");
  Bytes binaryBytes = {0, 1, 2, 0, 0xFF, 0xFE, 0, 0x80, 0x7F, 0};
  const std::vector<Format> original = {
      {CF_UNICODETEXT, WideBytes(L"Gr\u00FC\u00DFe \u20AC and more")},
      {CF_TEXT, TextBytes("plain text")},
      {binary, binaryBytes},
      {CF_DIB, SmallDib()},
      {RtfClipboardFormat(), TextBytes("{\\rtf1\\ansi {\\b bold} text}")},
      {HtmlClipboardFormat(), TextBytes("Version:0.9\r\nStartHTML:0\r\n<b>bold</b> text")},
  };
  SetClipboardDirectly(original);

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  ASSERT_TRUE(PutClipboardText(L"the template"));
  ASSERT_EQ(ClipboardBytes(binary), Bytes());

  snapshot.Rewind();
  ASSERT_TRUE(LoadClipboardFromStream(snapshot));
  for (const Format& f : original) EXPECT_EQ(ClipboardBytes(f.id), f.bytes) << "format " << f.id;
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));  // the system renders it from the DIB again
}

TEST(ClipboardSnapshot, EmptyClipboardGivesEmptyStreamAndEmptyStreamGivesEmptyClipboard) {
  SetClipboardDirectly({});
  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  EXPECT_EQ(snapshot.Size(), 0u);

  PutClipboardText(L"something");
  ASSERT_TRUE(LoadClipboardFromStream(snapshot));
  EXPECT_TRUE(ClipboardFormats().empty());
}

TEST(ClipboardSnapshot, HandMadeStreamRestoresTextFormats) {
  ClipboardStream stream;
  stream.AppendRecord(CF_TEXT, TextBytes("abc"));
  stream.AppendRecord(CF_UNICODETEXT, WideBytes(L"abc\u00E9"));
  EXPECT_EQ(stream.Bytes()[0], 0x01);
  EXPECT_EQ(stream.Bytes()[1], 0x00);
  ASSERT_TRUE(LoadClipboardFromStream(stream));
  EXPECT_EQ(ClipboardBytes(CF_TEXT), TextBytes("abc"));
  EXPECT_EQ(GetClipboardTextW(), L"abc\u00E9");
}

// Each damaged stream starts with intact records: none of them may reach the clipboard.
TEST(ClipboardSnapshot, DamagedStreamChangesNothingAndReportsFailure) {
  const UINT binary = Registered(L"Snibbet Test Binary");
  const std::vector<Format> users = {{CF_UNICODETEXT, WideBytes(L"user's own")}, {binary, {7, 7, 7}}};
  ClipboardStream intact;
  intact.AppendRecord(CF_UNICODETEXT, WideBytes(L"from the stream"));
  intact.AppendRecord(CF_TEXT, TextBytes("from the stream"));

  std::vector<Bytes> damaged;
  // Cut inside the second record's data, inside its header, and after one byte of it.
  for (std::size_t cut : {intact.Size() - 3, std::size_t{30 + 6 + 4}, std::size_t{30 + 6 + 1}}) {
    damaged.emplace_back(intact.Bytes().begin(), intact.Bytes().begin() + static_cast<std::ptrdiff_t>(cut));
  }
  Bytes huge = intact.Bytes();
  huge.insert(huge.end(), {0x01, 0x00, 0xFF, 0xFF, 0xFF, 0x7F, 'x'});  // claims 2 GB, holds one byte
  damaged.push_back(huge);
  for (UINT handleFormat : {UINT(CF_BITMAP), UINT(CF_PALETTE), UINT(CF_METAFILEPICT), 0x300u, 0x2A0u}) {
    ClipboardStream foreign(intact.Bytes());
    foreign.AppendRecord(static_cast<std::uint16_t>(handleFormat), Bytes(16, 0x41));  // no handle in there
    damaged.push_back(foreign.Bytes());
  }
  ClipboardStream badMetafile(intact.Bytes());
  badMetafile.AppendRecord(CF_ENHMETAFILE, Bytes(100, 0x42));
  damaged.push_back(badMetafile.Bytes());

  for (std::size_t i = 0; i < damaged.size(); ++i) {
    SetClipboardDirectly(users);
    ClipboardStream stream(damaged[i]);
    EXPECT_FALSE(LoadClipboardFromStream(stream)) << "stream " << i;
    EXPECT_EQ(stream.Position(), 0u) << "stream " << i;
    EXPECT_EQ(ClipboardBytes(binary), users[1].bytes) << "stream " << i;
    EXPECT_EQ(GetClipboardTextW(), L"user's own") << "stream " << i;
  }

  // A single record read with the clipboard open sets nothing when it is cut.
  ClipboardStream pair;
  pair.AppendRecord(static_cast<std::uint16_t>(binary), Bytes{1, 2, 3});
  pair.AppendRecord(CF_UNICODETEXT, WideBytes(L"cut off"));
  ClipboardStream cut(Bytes(pair.Bytes().begin(), pair.Bytes().end() - 2));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  EXPECT_EQ(ReadClipboardFormat(cut), binary);
  EXPECT_EQ(ReadClipboardFormat(cut), UINT(CF_UNICODETEXT));
  EXPECT_EQ(ReadClipboardFormat(cut), 0u);
  CloseClipboard();
  EXPECT_EQ(ClipboardBytes(binary), (Bytes{1, 2, 3}));
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

TEST(ClipboardSnapshot, OleEmbeddingFormatsAreNotSaved) {
  const UINT native = Registered(L"Native"), embed = Registered(L"Embed Source");
  SetClipboardDirectly({{native, {1, 2, 3}}, {embed, {4, 5}}, {CF_UNICODETEXT, WideBytes(L"t")}});
  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  const auto formats = RecordFormats(snapshot);
  EXPECT_FALSE(Contains(formats, native));
  EXPECT_FALSE(Contains(formats, embed));
  EXPECT_TRUE(Contains(formats, CF_UNICODETEXT));
}

TEST(ClipboardSnapshot, FullSpreadsheetSetIsSavedWithoutMetafilesAndOleObjects) {
  const UINT dataObject = Registered(L"DataObject"), olePrivate = Registered(L"Ole Private Data");
  SetClipboardDirectly({{CF_SYLK, TextBytes("ID;P")},
                        {CF_UNICODETEXT, WideBytes(L"cell")},
                        {CF_TEXT, TextBytes("cell")},
                        {CF_DIBV5, SmallDib()},
                        {HtmlClipboardFormat(), TextBytes("<b>cell</b>")},
                        {RtfClipboardFormat(), TextBytes("{\\rtf1 cell}")},
                        {dataObject, {1, 2, 3, 4}},
                        {olePrivate, {5, 6, 7, 8}}});
  ASSERT_TRUE(OpenClipboard(nullptr));
  SetClipboardData(CF_ENHMETAFILE, SmallMetafile());
  SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 32, nullptr));
  CloseClipboard();

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  const auto formats = RecordFormats(snapshot);
  for (UINT dropped : {UINT(CF_ENHMETAFILE), UINT(CF_METAFILEPICT), UINT(CF_BITMAP), dataObject, olePrivate}) {
    EXPECT_FALSE(Contains(formats, dropped)) << dropped;
  }
  for (UINT kept : {UINT(CF_SYLK), UINT(CF_UNICODETEXT), UINT(CF_TEXT), UINT(CF_DIBV5), HtmlClipboardFormat(),
                    RtfClipboardFormat()}) {
    EXPECT_TRUE(Contains(formats, kept)) << kept;
  }
}

TEST(ClipboardSnapshot, EnhancedMetafileSurvivesOutsideTheFullSet) {
  HENHMETAFILE metafile = SmallMetafile();
  ENHMETAHEADER before{};
  GetEnhMetaFileHeader(metafile, sizeof(before), &before);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_ENHMETAFILE, metafile);
  CloseClipboard();

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  PutClipboardText(L"overwritten");
  snapshot.Rewind();
  ASSERT_TRUE(LoadClipboardFromStream(snapshot));

  ASSERT_TRUE(OpenClipboard(nullptr));
  auto restored = static_cast<HENHMETAFILE>(GetClipboardData(CF_ENHMETAFILE));
  ENHMETAHEADER after{};
  const bool read = restored && GetEnhMetaFileHeader(restored, sizeof(after), &after) != 0;
  CloseClipboard();
  ASSERT_TRUE(read);
  EXPECT_EQ(after.nBytes, before.nBytes);
  EXPECT_EQ(after.rclBounds.right, before.rclBounds.right);
  EXPECT_EQ(after.rclBounds.bottom, before.rclBounds.bottom);
}

// Delayed rendering: the data exists only once asked for, as with office programs.
LRESULT CALLBACK RenderingOwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_RENDERFORMAT && wParam == CF_UNICODETEXT) {
    const Bytes text = WideBytes(L"rendered late");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size());
    std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ClipboardSnapshot, DelayRenderedFormatIsSavedWithItsData) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = RenderingOwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnibbetTestRenderingOwner";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                               nullptr);
  ASSERT_TRUE(OpenClipboard(owner));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, nullptr);
  CloseClipboard();

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  DestroyWindow(owner);
  PutClipboardText(L"overwritten");
  snapshot.Rewind();
  ASSERT_TRUE(LoadClipboardFromStream(snapshot));
  EXPECT_EQ(GetClipboardTextW(), L"rendered late");
}

// A handler that runs while a save processes messages and writes the clipboard.
bool g_nestedWriteResult = true;
LRESULT CALLBACK NestedWriterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    g_nestedWriteResult = PutClipboardText(L"nested");
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ClipboardSnapshot, WriteFromAMessageHandledDuringASaveCannotCloseItsClipboard) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = NestedWriterProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnibbetTestNestedWriter";
  RegisterClassW(&wc);
  HWND writer = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                nullptr);
  const UINT binary = Registered(L"Snibbet Test Binary");
  SetClipboardDirectly({{CF_UNICODETEXT, WideBytes(L"user text")}, {binary, {9, 8, 7}}});
  PostMessageW(writer, WM_APP, 0, 0);

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  DestroyWindow(writer);
  EXPECT_FALSE(g_nestedWriteResult);
  const auto formats = RecordFormats(snapshot);
  EXPECT_TRUE(Contains(formats, CF_UNICODETEXT));
  EXPECT_TRUE(Contains(formats, binary));
  EXPECT_EQ(GetClipboardTextW(), L"user text");
}

TEST(ClipboardSnapshot, ClipboardHeldByAnotherProgramIsFailureNotLoss) {
  SetClipboardDirectly({{CF_UNICODETEXT, WideBytes(L"user's own")}});
  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  {
    ClipboardHolder holder(5500);  // outlasts the five failing waits below
    ClipboardStream other;
    EXPECT_FALSE(SaveClipboardToStream(other));
    snapshot.Rewind();
    EXPECT_FALSE(LoadClipboardFromStream(snapshot));
    EXPECT_EQ(snapshot.Position(), 0u);  // the snapshot stays for a later try
    EXPECT_FALSE(PutClipboardText(L"lost?"));
    EXPECT_FALSE(PutClipboardData(CF_TEXT, "x", 2, true));
    EXPECT_FALSE(ClearClipboard());
  }
  EXPECT_EQ(GetClipboardTextW(), L"user's own");

  {
    ClipboardHolder brief(60);  // a short hold is waited out
    EXPECT_TRUE(PutClipboardText(L"after a moment"));
  }
  EXPECT_EQ(GetClipboardTextW(), L"after a moment");
}

TEST(ClipboardSnapshot, HandleFormatsAreNeverSavedAsBytes) {
  HDC recorder = CreateMetaFileW(nullptr);
  Rectangle(recorder, 0, 0, 10, 10);
  const METAFILEPICT picture{MM_ANISOTROPIC, 100, 100, CloseMetaFile(recorder)};
  recorder = CreateMetaFileW(nullptr);
  Ellipse(recorder, 0, 0, 10, 10);
  const METAFILEPICT display{MM_ANISOTROPIC, 100, 100, CloseMetaFile(recorder)};
  const UINT handleFormats[] = {CF_BITMAP, CF_PALETTE, CF_METAFILEPICT, CF_DSPMETAFILEPICT, CF_OWNERDISPLAY,
                                0x300, 0x2A0};

  SetClipboardDirectly({{CF_UNICODETEXT, WideBytes(L"beside handles")},
                        {CF_METAFILEPICT, ToBytes(&picture, sizeof(picture))},
                        {CF_DSPMETAFILEPICT, ToBytes(&display, sizeof(display))},
                        {0x2A0, {1, 2, 3, 4}}});
  ASSERT_TRUE(OpenClipboard(nullptr));
  SetClipboardData(CF_BITMAP, CreateBitmap(2, 2, 1, 32, nullptr));
  LOGPALETTE palette{0x300, 1, {{10, 20, 30, 0}}};
  SetClipboardData(CF_PALETTE, CreatePalette(&palette));
  SetClipboardData(0x300, CreateSolidBrush(RGB(1, 2, 3)));
  SetClipboardData(CF_OWNERDISPLAY, nullptr);
  CloseClipboard();
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_BITMAP));
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_METAFILEPICT));

  ClipboardStream snapshot;
  ASSERT_TRUE(SaveClipboardToStream(snapshot));
  const auto formats = RecordFormats(snapshot);
  for (UINT format : handleFormats) EXPECT_FALSE(Contains(formats, format)) << format;
  EXPECT_TRUE(Contains(formats, CF_UNICODETEXT));

  PutClipboardText(L"overwritten");
  snapshot.Rewind();
  ASSERT_TRUE(LoadClipboardFromStream(snapshot));
  EXPECT_EQ(GetClipboardTextW(), L"beside handles");
}

// The holder may be waiting on one of our windows: the wait keeps them answering.
int g_messagesWhileWaiting = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP + 1) {
    ++g_messagesWhileWaiting;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST(ClipboardSnapshot, OpeningWaitsAboutASecondAndKeepsMessagesFlowing) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SnibbetTestCountingWindow";
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                nullptr);
  {
    ClipboardHolder holder(100);
    PostMessageW(window, WM_APP + 1, 0, 0);
    EXPECT_TRUE(PutClipboardText(L"after the wait"));
    EXPECT_EQ(g_messagesWhileWaiting, 1);
  }
  {
    ClipboardHolder holder(1600);
    const DWORD start = GetTickCount();
    EXPECT_FALSE(ClearClipboard());
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 980u);
    EXPECT_LT(waited, 1500u);
  }
  DestroyWindow(window);
  EXPECT_EQ(GetClipboardTextW(), L"after the wait");
}

// Real clipboards saved to streams; with SNIBBET_CORPUS_DIR set (a folder) the
// streams are also written there, as seeds for fuzzing the stream reader.
TEST(ClipboardSnapshot, RealSnapshotsAreWholeStreams) {
  const UINT binary = Registered(L"Snibbet Test Binary");
  const std::pair<const char*, std::function<void()>> clipboards[] = {
      {"text", [] { PutClipboardText(L"Hello, \u00E9t\u00E9 \u20AC"); }},
      {"dib", [] { SetClipboardDirectly({{CF_DIB, SmallDib()}}); }},
      {"rich", [] {
         SetClipboardDirectly({{CF_UNICODETEXT, WideBytes(L"bold")},
                               {RtfClipboardFormat(), TextBytes("{\\rtf1\\ansi {\\b bold}}")},
                               {HtmlClipboardFormat(), TextBytes("Version:0.9\r\n<b>bold</b>")}});
       }},
      {"private", [binary] { SetClipboardDirectly({{binary, {0, 1, 2, 0xFF}}, {CF_TEXT, TextBytes("x")}}); }},
      {"metafile", [] {
         ASSERT_TRUE(OpenClipboard(nullptr));
         EmptyClipboard();
         SetClipboardData(CF_ENHMETAFILE, SmallMetafile());
         CloseClipboard();
       }},
      {"empty", [] { SetClipboardDirectly({}); }},
  };
  const char* folder = std::getenv("SNIBBET_CORPUS_DIR");
  for (const auto& [name, fill] : clipboards) {
    fill();
    ClipboardStream snapshot;
    ASSERT_TRUE(SaveClipboardToStream(snapshot)) << name;
    const auto records = snapshot.ReadAllRecords();
    ASSERT_TRUE(records.has_value()) << name;
    EXPECT_EQ(records->empty(), std::string(name) == "empty") << name;
    if (!folder) continue;
    const std::string path = std::string(folder[0] == '/' ? "Z:" : "") + folder + "/" + name + ".stm";
    if (FILE* file = std::fopen(path.c_str(), "wb")) {
      std::fwrite(snapshot.Bytes().data(), 1, snapshot.Size(), file);
      std::fclose(file);
    }
  }
}

}  // namespace
}  // namespace snibbet

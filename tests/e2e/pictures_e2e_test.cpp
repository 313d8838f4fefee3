// Picture templates with the real programs: with gdiplus.dll hidden from
// Snibbet (a Wine DLL override) it starts and pastes text and bitmaps, and a
// PNG template pastes nothing and shows no error; with GDI+ the PNG pastes.
#include <windows.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "templates/zqt_codec.h"
#include "testing/probe/probe.h"
#include "tests/e2e/app_e2e_support.h"

namespace snibbet_e2e {
namespace {

using namespace std::chrono_literals;
using snibbet::TemplateRecord;

// 2 x 1 pixels, red and blue.
const std::string kPng(
    "\x89\x50\x4e\x47\x0d\x0a\x1a\x0a\x00\x00\x00\x0d\x49\x48\x44\x52\x00\x00\x00\x02\x00\x00\x00\x01\x08\x02\x00"
    "\x00\x00\x7b\x40\xe8\xdd\x00\x00\x00\x0d\x49\x44\x41\x54\x78\x9c\x63\xf8\xcf\x00\x04\xff\x01\x07\x00\x01\xff"
    "\xe2\x23\x9e\x59\x00\x00\x00\x00\x49\x45\x4e\x44\xae\x42\x60\x82",
    70);

// A 24-bit bitmap file of 3 x 2 green pixels.
std::string BitmapFile() {
  BITMAPFILEHEADER file{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
  BITMAPINFOHEADER info{sizeof info, 3, 2, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int row = 0; row < 2; ++row) bytes += std::string("\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00\x00", 12);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

TemplateRecord Template(std::string name, std::string content, std::uint16_t kind) {
  TemplateRecord record;
  record.Name = std::move(name);
  record.Kind = kind;
  record.Template = std::move(content);
  return record;
}

// Width and height of the bitmap on the clipboard; nothing when none.
std::optional<std::pair<LONG, LONG>> ClipboardBitmapSize() {
  for (const auto& item : probe::DumpClipboard()) {
    if (item.format == CF_DIB && item.bytes.size() >= sizeof(BITMAPINFOHEADER)) {
      const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(item.bytes.data());
      return std::make_pair(header->biWidth, std::abs(header->biHeight));
    }
  }
  return std::nullopt;
}

bool ModuleLoaded(DWORD pid, const std::wstring& name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  MODULEENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Module32FirstW(snapshot, &entry); more && !found; more = Module32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szModule, name.c_str()) == 0;
  CloseHandle(snapshot);
  return found;
}

// Wine's own per-program DLL override, kept while it lives: gdiplus.dll
// does not load into Snibbet.exe. The programs are started meanwhile with it.
class GdiPlusHiddenFromSnibbet {
 public:
  static constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\Snibbet.exe\\DllOverrides";
  GdiPlusHiddenFromSnibbet() { probe::WriteRegString(kKey, L"gdiplus", L""); }
  ~GdiPlusHiddenFromSnibbet() { probe::DeleteRegValue(kKey, L"gdiplus"); }
};

class PicturesTest : public SnibbetTest {
 protected:
  void SetUp() override {
    SnibbetTest::SetUp();
    if (!probe::XdotoolAvailable()) GTEST_SKIP() << "needs Wine and xdotool";
    for (DWORD pid : probe::ProcessesNamed(L"SnibbetCm.exe")) probe::Process::Attach(pid).Kill();
    const std::wstring bmp = folder_.File(L"green.bmp"), png = folder_.File(L"colours.png");
    WriteBytes(bmp, BitmapFile());
    WriteBytes(png, kPng);
    const std::wstring templates = folder_.File(L"pictures.zqt");
    WriteBytes(templates, snibbet::WriteZqt({Template("hello", "Hello", snibbet::kTemplateText),
                                              Template("bitmap", probe::ToUtf8(bmp), snibbet::kTemplatePicture),
                                              Template("ping", probe::ToUtf8(png), snibbet::kTemplatePicture)}));
    probe::WriteRegString(kSettingsKey, L"TemplatesFileName", templates);
  }

  void StartAll() {
    snibbet_ = &StartSnibbet({L"/debug"});
    main_ = WaitForMainWindow(snibbet_->Pid());
    ASSERT_NE(main_, nullptr) << "Snibbet did not start";
    ASSERT_TRUE(probe::WaitUntil([&] { return Logged("Keyboard hook installed"); }, 10s));
    const std::wstring title = L"Pictures target " + std::to_wstring(GetCurrentProcessId());
    Start(TestDir() + L"ProbeTarget.exe", {L"edit", title}, probe::AtEnd::MustRun);
    target_ = probe::WaitForWindow({.className = L"ProbeTargetWindow", .title = title, .visibleOnly = true}, 10s);
    ASSERT_NE(target_, nullptr);
    edit_ = GetWindow(target_, GW_CHILD);
    probe::PhysicalFocus(edit_);
  }
  bool Logged(const std::string& event) {
    std::ifstream file(std::filesystem::path(folder_.File(L"Log.txt")), std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return log.find(event) != std::string::npos;
  }
  // The only template matching `word` is pasted at once, onto an empty clipboard.
  void Paste(const std::string& word) {
    if (!probe::DumpClipboard().empty()) probe::EmptyTheClipboard();
    probe::PhysicalType(word);
    probe::PhysicalChord({"super", "space"});
  }
  void Finish() { CloseNormally(*snibbet_, main_); }

  probe::Process* snibbet_ = nullptr;
  HWND main_ = nullptr, target_ = nullptr, edit_ = nullptr;
};

TEST_F(PicturesTest, WithoutGdiPlusTheProgramRunsAndOnlyPngPicturesAreMissing) {
  const GdiPlusHiddenFromSnibbet hidden;
  StartAll();
  Paste("hel");
  EXPECT_TRUE(probe::WaitUntil([&] { return probe::WindowText(edit_) == L"Hello"; }, 3s))
      << probe::ToUtf8(probe::WindowText(edit_));
  probe::PumpMessages(500ms);

  Paste(" bi");
  ASSERT_TRUE(probe::WaitUntil([] { return ClipboardBitmapSize().has_value(); }, 3s)) << "no bitmap pasted";
  EXPECT_EQ(*ClipboardBitmapSize(), std::make_pair(3L, 2L));
  probe::PumpMessages(500ms);

  EXPECT_FALSE(ModuleLoaded(snibbet_->Pid(), L"gdiplus.dll"));
  probe::EmptyTheClipboard();
  const DWORD sequence = probe::ClipboardSequence();
  Paste(" pi");
  probe::PumpMessages(1500ms);
  EXPECT_EQ(probe::ClipboardSequence(), sequence) << "the PNG template put something on the clipboard";
  EXPECT_FALSE(ClipboardBitmapSize().has_value());
  EXPECT_TRUE(Boxes().Seen().empty()) << "a message box showed";
  EXPECT_TRUE(snibbet_->Running());
  Finish();
}

TEST_F(PicturesTest, WithGdiPlusAPngTemplatePastesItsPicture) {
  StartAll();
  Paste("pi");
  ASSERT_TRUE(probe::WaitUntil([] { return ClipboardBitmapSize().has_value(); }, 3s)) << "no picture pasted";
  EXPECT_EQ(*ClipboardBitmapSize(), std::make_pair(2L, 1L));
  Finish();
}

}  // namespace
}  // namespace snibbet_e2e

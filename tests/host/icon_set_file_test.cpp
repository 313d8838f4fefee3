// Icon-set files read from memory: header, entries and strip; entries fitted
// to the pictures; the index by Kind; the application match; and damaged or
// cut files, which must all come back as a format error without a read past
// their end. Also the sets the build packs for the program folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/icon_set_file.h"
#include "tests/host/icon_set_bytes.h"

namespace snibbet {
namespace {

using test::IconSetBytes;

IconSetBytes NotepadLike() {
  IconSetBytes set;
  set.executable = "NOTEPAD.EXE";
  set.note = "Notepad";
  set.icon = test::IconBytes();
  set.entries = {{0x20, 'N', "New", 0xFF0000}, {0x20, 'S', "Save", 0x00FF00}, {0x00, 0x74, "Time/Date", 0x0000FF}};
  return set;
}

std::vector<IconEntry> ToEntries(const std::vector<IconSetFileEntry>& file) {
  std::vector<IconEntry> entries;
  for (const auto& e : file) entries.push_back({e.kind, e.id, std::wstring(e.text.begin(), e.text.end())});
  return entries;
}

TEST(IconSetFile, ReadsTheHeaderTheEntriesAndTheStrip) {
  const std::string bytes = NotepadLike().Build();
  const IconSetFile file = ReadIconSetFile(bytes, true);
  ASSERT_EQ(file.status, IconSetReadStatus::Complete);
  EXPECT_EQ(file.executable, "NOTEPAD.EXE");
  EXPECT_EQ(file.windowClass, "");
  EXPECT_EQ(file.note, "Notepad");
  EXPECT_EQ(file.icon, test::IconBytes());
  ASSERT_EQ(file.entries.size(), 3u);
  EXPECT_EQ(file.entries[1].id, 0x20);
  EXPECT_EQ(file.entries[1].kind, 'S');
  EXPECT_EQ(file.entries[1].text, "Save");
  ASSERT_TRUE(file.stripLayout.has_value());
  EXPECT_EQ(file.stripLayout->Pictures(), 3);
  EXPECT_EQ(file.stripLayout->height, 16);
  EXPECT_EQ(file.stripLayout->bitsOffset + file.stripLayout->bitsSize, file.strip.size());

  // The header alone stops after the icon, whatever follows.
  const IconSetFile header = ReadIconSetFile(NotepadLike().Header(), false);
  EXPECT_EQ(header.status, IconSetReadStatus::Complete);
  EXPECT_EQ(header.executable, "NOTEPAD.EXE");
  EXPECT_TRUE(header.entries.empty());
}

TEST(IconSetFile, EntriesFollowThePicturesAndTextsStopAtAZeroByte) {
  IconSetBytes set = NotepadLike();
  set.pictures = 2;  // three entries, two pictures
  IconSetFile file = ReadIconSetFile(set.Build(), true);
  ASSERT_EQ(file.status, IconSetReadStatus::Complete);
  ASSERT_EQ(file.entries.size(), 2u);
  EXPECT_EQ(file.entries[1].text, "Save");

  set.pictures = 5;  // pictures without an entry get an empty one
  file = ReadIconSetFile(set.Build(), true);
  ASSERT_EQ(file.entries.size(), 5u);
  EXPECT_EQ(file.entries[4].kind, 0);
  EXPECT_EQ(file.entries[4].id, 0);
  EXPECT_EQ(file.entries[4].text, "");

  set = NotepadLike();
  set.entries[0].text = std::string("Ne\0w", 4);
  set.executable = std::string("NOTE\0PAD", 8);
  file = ReadIconSetFile(set.Build(), true);
  ASSERT_EQ(file.status, IconSetReadStatus::Complete);
  EXPECT_EQ(file.entries[0].text, "Ne");
  EXPECT_EQ(file.executable, "NOTE");
  EXPECT_EQ(file.entries[1].text, "Save") << "the zero byte must not shift what follows";
}

TEST(IconSetFile, EveryCutOrDamageIsAFormatErrorWithTheHeaderReadSoFar) {
  const std::string whole = NotepadLike().Build();
  const std::size_t headerSize = NotepadLike().Header().size();
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::string cut = whole.substr(0, size);
    EXPECT_EQ(ReadIconSetFile(cut, true).status, IconSetReadStatus::BadFormat) << "cut at " << size;
    if (size < headerSize) {
      EXPECT_EQ(ReadIconSetFile(cut, false).status, IconSetReadStatus::BadFormat) << "header cut at " << size;
    }
  }
  // Cut in the icon: the names before it are kept.
  const IconSetFile cutInIcon = ReadIconSetFile(whole.substr(0, headerSize - 10), false);
  EXPECT_EQ(cutInIcon.status, IconSetReadStatus::BadFormat);
  EXPECT_EQ(cutInIcon.executable, "NOTEPAD.EXE");

  std::string badMagic = whole;
  badMagic[3] = '2';
  EXPECT_EQ(ReadIconSetFile(badMagic, false).status, IconSetReadStatus::BadFormat);
  EXPECT_TRUE(ReadIconSetFile(badMagic, false).executable.empty());

  IconSetBytes badIcon = NotepadLike();
  badIcon.icon = std::string(40, '\x01');
  EXPECT_EQ(ReadIconSetFile(badIcon.Build(), false).status, IconSetReadStatus::BadFormat);

  // A count larger than the entries there are runs into the strip and off the end.
  std::string wildCount = whole;
  wildCount[headerSize] = '\xFF';
  wildCount[headerSize + 1] = '\xFF';
  EXPECT_EQ(ReadIconSetFile(wildCount, true).status, IconSetReadStatus::BadFormat);
}

TEST(IconSetFile, OnlyAWholeUncompressedStripOfSixteenPixelRowsIsTaken) {
  const std::string strip = test::StripBytes({0xFF0000, 0x00FF00});
  ASSERT_TRUE(ReadBitmapStripLayout(strip).has_value());
  EXPECT_FALSE(ReadBitmapStripLayout(strip.substr(0, strip.size() - 1)));

  auto patched = [&](std::size_t at, std::uint32_t value) {
    std::string copy = strip;
    for (int i = 0; i < 4; ++i) copy[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return copy;
  };
  EXPECT_FALSE(ReadBitmapStripLayout(patched(22, 32))) << "not 16 pixels high";
  EXPECT_TRUE(ReadBitmapStripLayout(patched(22, static_cast<std::uint32_t>(-16)))) << "top-down";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(18, 8))) << "narrower than one picture";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(18, 0x7FFFFFFF))) << "wider than the file";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(10, 0xFFFFFFF0))) << "pixels past the end";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(10, 20))) << "pixels inside the header";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(30, 1))) << "run-length compressed";
  EXPECT_FALSE(ReadBitmapStripLayout(patched(14, 0xFFFF))) << "header larger than the file";
  std::string notBm = strip;
  notBm[0] = 'X';
  EXPECT_FALSE(ReadBitmapStripLayout(notBm));

  IconSetBytes set = NotepadLike();
  set.entries.clear();
  set.pictures = 0;  // the strip has no picture at all
  EXPECT_EQ(ReadIconSetFile(set.Build(), true).status, IconSetReadStatus::BadFormat);
}

TEST(IconSetFile, TheIconsImageMustLieInsideItsFile) {
  const std::string icon = test::IconBytes();
  const auto image = ReadIconImageLayout(icon);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->offset, 22u);
  EXPECT_EQ(image->offset + image->size, icon.size());
  EXPECT_FALSE(ReadIconImageLayout(icon.substr(0, icon.size() - 1)));
  EXPECT_FALSE(ReadIconImageLayout(icon.substr(0, 10)));
  std::string noImages = icon;
  noImages[4] = 0;
  EXPECT_FALSE(ReadIconImageLayout(noImages));
  std::string cursor = icon;
  cursor[2] = 2;
  EXPECT_FALSE(ReadIconImageLayout(cursor));
}

TEST(IconEntryIndex, RunsByKindWithTheSentinelAndTheLaterOfTwoRuns) {
  const std::vector<IconEntry> entries = {
      {65, 0x20, L"a"}, {65, 0x10, L"b"}, {66, 0x20, L"c"}, {67, 0x40, L"d"}, {65, 0x20, L"e"}, {65, 0x02, L"f"}};
  IconEntryIndex index;
  index.Build(entries);
  EXPECT_EQ(index.RunOf(0), (IconEntryIndex::Run{kNoIconEntry, kNoIconEntry}));
  EXPECT_EQ(index.RunOf(66), (IconEntryIndex::Run{2, 2}));
  EXPECT_EQ(index.RunOf(65), (IconEntryIndex::Run{4, 5})) << "only the later run of 65 is kept";
  EXPECT_EQ(index.Find(entries, 65, 0x20, 0x20), 4u);
  EXPECT_FALSE(index.Find(entries, 65, 0x10, 0x10)) << "entry 1 is outside the kept run";
  // The side-specific set or the side-less one.
  EXPECT_EQ(index.Find(entries, 65, 0x02, 0x20), 4u);
  EXPECT_EQ(index.Find(entries, 65, 0x02, 0x00), 5u);
  EXPECT_FALSE(index.Find(entries, 68, 0, 0));
  EXPECT_EQ(index.FindId(entries, 67, 0x40), 3u);
  EXPECT_FALSE(index.FindId(entries, 67, 0x20));

  index.Build({});
  EXPECT_EQ(index.RunOf(65).first, kNoIconEntry);
  EXPECT_TRUE(index.EntriesOf(65).empty());
}

TEST(IconSetMatch, AnExecutableMatchesWithoutCaseAWindowClassExactly) {
  EXPECT_TRUE(IconSetBelongsTo(L"NOTEPAD.EXE", L"", L"notepad.exe", L"AnyClass"));
  EXPECT_TRUE(IconSetBelongsTo(L"NOTEPAD.EXE", L"Notepad", L"Notepad.exe", L"Notepad"));
  EXPECT_FALSE(IconSetBelongsTo(L"NOTEPAD.EXE", L"Notepad", L"notepad.exe", L"NOTEPAD"));
  EXPECT_TRUE(IconSetBelongsTo(L"", L"Notepad", L"other.exe", L"Notepad"));
  EXPECT_FALSE(IconSetBelongsTo(L"NOTEPAD.EXE", L"", L"notepad2.exe", L""));
  EXPECT_FALSE(IconSetBelongsTo(L"", L"", L"notepad.exe", L"Notepad")) << "a set without names is found by name only";
  EXPECT_FALSE(IconSetBelongsTo(L"", L"", L"", L""));
}

TEST(IconSetNames, TheWindowsVersionPicksTheSets) {
  EXPECT_EQ(WindowsIconSetName(5, 0), L"Win2000");
  EXPECT_EQ(DesktopIconSetName(5, 0), L"Desktop2000");
  for (unsigned minor : {1u, 2u}) {
    EXPECT_EQ(WindowsIconSetName(5, minor), L"WinXP");
    EXPECT_EQ(DesktopIconSetName(5, minor), L"DesktopXP");
  }
  for (auto [major, minor] : {std::pair{6u, 0u}, {6u, 1u}, {10u, 0u}, {4u, 0u}}) {
    EXPECT_EQ(WindowsIconSetName(major, minor), L"WinVista");
    EXPECT_EQ(DesktopIconSetName(major, minor), L"DesktopVista");
  }
}

std::string ReadPacked(const std::string& name) {
  std::ifstream in(std::filesystem::path(SNIBBET_ICON_SETS) / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ShippedIconSets, NotepadsSetBelongsToNotepadAndHoldsItsCtrlShortcuts) {
  const IconSetFile notepad = ReadIconSetFile(ReadPacked("Notepad.zqi"), true);
  ASSERT_EQ(notepad.status, IconSetReadStatus::Complete);
  EXPECT_TRUE(IconSetBelongsTo(std::wstring(notepad.executable.begin(), notepad.executable.end()),
                               std::wstring(notepad.windowClass.begin(), notepad.windowClass.end()),
                               L"notepad.exe", L"Notepad"));
  EXPECT_FALSE(notepad.icon.empty());
  const std::vector<IconEntry> entries = ToEntries(notepad.entries);
  IconEntryIndex index;
  index.Build(entries);
  const auto save = index.Find(entries, 'S', 0x20, 0x20);
  ASSERT_TRUE(save.has_value());
  EXPECT_EQ(entries[*save].text, L"Save");
  EXPECT_TRUE(index.Find(entries, 'V', 0x22, 0x20)) << "right Ctrl finds the side-less Ctrl entry";
  EXPECT_FALSE(index.Find(entries, 'S', 0, 0));
  // Every entry of a Kind is found through the index: the packer groups them.
  for (std::size_t i = 0; i < entries.size(); ++i) EXPECT_TRUE(index.FindId(entries, entries[i].kind, entries[i].id));

  for (const char* name : {"Win2000.zqi", "WinXP.zqi", "WinVista.zqi", "Desktop2000.zqi", "DesktopXP.zqi",
                           "DesktopVista.zqi"}) {
    const IconSetFile set = ReadIconSetFile(ReadPacked(name), true);
    EXPECT_EQ(set.status, IconSetReadStatus::Complete) << name;
    EXPECT_FALSE(set.entries.empty()) << name;
    EXPECT_TRUE(set.executable.empty() && set.windowClass.empty()) << name << " is found by name only";
  }
}

}  // namespace
}  // namespace snibbet

// The clipboard history's window-free part: index lines and their columns,
// numbering, the content hash, kinds and format names, the preview and the
// thumbnail, and the store's files with the history limit, favourites,
// duplicates and numbers that come round.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "clipboard/history_index.h"
#include "clipboard/history_store.h"
#include "clipboard/history_thumbnail.h"

namespace snibbet {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kText = 1, kBitmap = 2, kOemText = 7, kDib = 8, kUnicodeText = 13, kHDrop = 15,
                        kLocale = 16, kWave = 12;
constexpr HistoryFormatIds kIds{0xC001, 0xC002};  // rtf, html

std::wstring Line(int number, std::int32_t hash = 0) {
  return BuildHistoryIndexLine({number, HistoryKind::Text, 3, hash, L"01.02.2024 10:11:12", L'a', L""});
}

TEST(HistoryIndex, ALineHasItsFieldsInFixedColumns) {
  const std::wstring line = BuildHistoryIndexLine(
      {42, HistoryKind::Picture, 1234, -77, L"24.12.2023 23:59:58", L'x', L"640 x 480"});
  EXPECT_EQ(line.substr(0, 6), L"42    ");
  EXPECT_EQ(line.substr(6, 2), L"2 ");
  EXPECT_EQ(line.substr(8, 10), L"1234      ");
  EXPECT_EQ(line.substr(18, 10), L"-77       ");
  EXPECT_EQ(line.substr(28, 20), L"24.12.2023 23:59:58 ");
  EXPECT_EQ(line[48], L'x');
  EXPECT_EQ(line.substr(49), L"640 x 480");
  EXPECT_EQ(ItemNumberOfLine(line), 42);
  EXPECT_EQ(HashOfLine(line), -77);
  // Too long a field is cut to its width.
  const std::wstring cut = BuildHistoryIndexLine({1, HistoryKind::Text, 12345678901LL, 0,
                                                  L"a date and time far too long", L' ', L""});
  EXPECT_EQ(cut.substr(8, 10), L"1234567890");
  EXPECT_EQ(cut.size(), 49u);
}

TEST(HistoryIndex, TheLastNumberIsTheLargestAndBadLinesCountAsNone) {
  EXPECT_EQ(LastItemNumber({}), 0);
  EXPECT_EQ(LastItemNumber({Line(7), L"not a line at all", Line(12), L"", L"   5x  junk", Line(3)}), 12);
  EXPECT_EQ(ItemNumberOfLine(L"  9"), 9);
  EXPECT_EQ(ItemNumberOfLine(L"9999999999"), 999999);  // columns 1-6 only
  EXPECT_EQ(ItemNumberOfLine(L"12a   "), 0);
  EXPECT_EQ(NextItemNumber(0), 1);
  EXPECT_EQ(NextItemNumber(41), 42);
  EXPECT_EQ(NextItemNumber(999999), 1);
}

// The sum as a signed 32-bit number with wrap-around, done in 64 bits.
std::int32_t SignedWrapHash(const std::vector<std::uint8_t>& bytes) {
  const auto wrap = [](std::int64_t v) {
    v &= 0xFFFFFFFFLL;
    return v >= 0x80000000LL ? v - 0x100000000LL : v;
  };
  std::int64_t h = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const std::int64_t term = i % 2 == 0 ? bytes[i] : wrap(static_cast<std::int64_t>(bytes[i] >> 1) * static_cast<std::int64_t>(i));
    h = wrap(h + term);
    if (h > 1000000000) h %= 1000000000;
  }
  return static_cast<std::int32_t>(h);
}

TEST(HistoryIndex, TheHashKeepsTheValuesOfSignedWrapAround) {
  EXPECT_EQ(HistoryContentHash({}), 0);
  const std::vector<std::uint8_t> small{10, 20, 30, 40};  // 10 + 10*1 + 30 + 20*3
  EXPECT_EQ(HistoryContentHash(small), 110);
  // Long enough for the products to pass 2^31 and the sum to turn negative.
  std::vector<std::uint8_t> large(3'000'000);
  std::mt19937 random(7);
  for (auto& b : large) b = static_cast<std::uint8_t>(random());
  EXPECT_EQ(HistoryContentHash(large), SignedWrapHash(large));
  std::vector<std::uint8_t> highs(12'000'000, 0xFF);
  const std::int32_t hash = HistoryContentHash(highs);
  EXPECT_EQ(hash, SignedWrapHash(highs));
  EXPECT_LT(hash, 0) << "the sum never wrapped: the check proves less than it should";
}

TEST(HistoryIndex, TheKindComesFromTheFirstKnownFormat) {
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{kUnicodeText}, kIds), HistoryKind::Text);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{0xC100, kDib, kText}, kIds), HistoryKind::Picture);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{kIds.rtf, kText}, kIds), HistoryKind::RichText);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{kText, kIds.html}, kIds), HistoryKind::Html);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{kHDrop}, kIds), HistoryKind::FileList);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{kWave}, kIds), HistoryKind::Sound);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{0xC100}, kIds), HistoryKind::None);
  EXPECT_EQ(HistoryItemKind(std::vector<std::uint32_t>{}, kIds), HistoryKind::None);
}

TEST(HistoryIndex, FormatNamesPutUnicodeAndPlainTextFirst) {
  const auto registered = [](std::uint32_t format) { return L"Private " + std::to_wstring(format); };
  EXPECT_EQ(HistoryFormatNames(std::vector<std::uint32_t>{kLocale, kText, 0xC100, kIds.rtf, kOemText, kUnicodeText},
                               kIds, registered),
            (std::vector<std::wstring>{L"UNICODETEXT", L"TEXT", L"LOCALE", L"RTF", L"OEMTEXT"}));
  EXPECT_EQ(HistoryFormatNames(std::vector<std::uint32_t>{0xC100, 0xC200}, kIds, registered),
            (std::vector<std::wstring>{L"Private 49408"}));
  EXPECT_EQ(HistoryFormatName(kIds.html, kIds), L"HTMLFORMAT");
  EXPECT_EQ(HistoryFormatName(0x8E, kIds), L"DSPENHMETAFILE");
  EXPECT_EQ(HistoryFormatName(kBitmap, kIds), L"BITMAP");
}

TEST(HistoryIndex, PreviewMarkerAndThumbnail) {
  const std::wstring longText(2000, L'q');
  EXPECT_EQ(HistoryTextPreview(longText), std::wstring(1024, L'q') + L"\r\n...\r\n");
  EXPECT_EQ(HistoryTextPreview(L"short"), L"short\r\n");
  EXPECT_EQ(HistoryMarker(L"hello"), L'h');
  EXPECT_EQ(HistoryMarker(L"7 dwarfs"), L' ');
  EXPECT_EQ(HistoryMarker(L""), L' ');
  EXPECT_EQ(HistoryThumbnailSize(640, 480), (PictureSize{320, 240}));
  EXPECT_EQ(HistoryThumbnailSize(100, 50), (PictureSize{100, 50}));
  EXPECT_EQ(HistoryThumbnailSize(1000, 100), (PictureSize{320, 32}));
  EXPECT_EQ(HistoryThumbnailSize(0, 10), (PictureSize{0, 0}));
}

TEST(HistoryIndex, IndexFilesReadWhateverTheirLineEnds) {
  const std::vector<std::wstring> lines{Line(3), L"", Line(1)};
  EXPECT_EQ(ReadHistoryIndex(WriteHistoryIndex(lines)), lines);
  EXPECT_EQ(ReadHistoryIndex("a\nb\r\nc"), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(ReadHistoryIndex(""), std::vector<std::wstring>{});
}

std::string Narrow(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

TEST(HistoryIndex, ATextBeginningWithALineBreakKeepsItsLineWhole) {
  for (const std::wstring text : {L"\nunix lines", L"\r\nwindows lines", L"\rold lines"}) {
    const std::wstring line = BuildHistoryIndexLine({5, HistoryKind::Text, 11, 0, L"01.02.2024 10:11:12",
                                                     HistoryMarker(text), L""});
    const std::vector<std::wstring> lines{line, Line(4)};
    const auto read = ReadHistoryIndex(WriteHistoryIndex(lines));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, lines);
    EXPECT_EQ(line[48], L' ');
  }
  // What older files hold there reads as one line too: a line feed split it,
  // a carriage return stood inside it.
  const std::wstring columns = Line(5).substr(0, 48);
  const std::string split = "\xEF\xBB\xBF" + Narrow(columns) + "\n\r\n" + Narrow(Line(4)) + "\r\n";
  EXPECT_EQ(ReadHistoryIndex(split), (std::vector<std::wstring>{columns + L" ", Line(4)}));
  const std::string carriageReturn = Narrow(columns) + "\r\r\n" + Narrow(Line(4)) + "\r\n";
  EXPECT_EQ(ReadHistoryIndex(carriageReturn), (std::vector<std::wstring>{columns + L" ", Line(4)}));
}

TEST(HistoryIndex, AnIndexFarBeyondWhatTheStoreWritesIsDamaged) {
  // The largest index the store writes: full, each line as long as a line
  // can be, its date in characters of three UTF-8 bytes.
  const std::wstring longest = BuildHistoryIndexLine({999999, HistoryKind::Picture, 9999999999LL, -999999999,
                                                      std::wstring(20, L'\x4E2D'), L'\x4E2D',
                                                      L"2147483647 x 2147483647"});
  const std::vector<std::wstring> full(kMostHistoryItems, longest);
  EXPECT_EQ(ReadHistoryIndex(WriteHistoryIndex(full)), full);

  const std::vector<std::wstring> tooMany(kHistoryIndexMostLines + 1, Line(1));
  EXPECT_EQ(ReadHistoryIndex(WriteHistoryIndex(tooMany)), std::nullopt);
  EXPECT_EQ(ReadHistoryIndex(WriteHistoryIndex({Line(1), std::wstring(kHistoryLineMostChars + 1, L'x')})),
            std::nullopt);

  // A line that never ends is refused as soon as it is too long; the rest
  // is not looked at.
  HistoryIndexReader reader;
  const std::string piece(64 * 1024, 'x');
  EXPECT_FALSE(reader.Feed(piece));
  EXPECT_FALSE(reader.Feed(Narrow(Line(1)) + "\r\n"));
  EXPECT_EQ(reader.Finish(), std::nullopt);
}

TEST(HistoryThumbnail, ASolidPictureStaysSolidAndTheFileIsABitmap) {
  const std::vector<std::uint32_t> orange(64 * 48, 0x00FF8000);
  const auto small = ResampleLanczos3(orange, 64, 48, 20, 15);
  ASSERT_EQ(small.size(), 300u);
  for (auto pixel : small) EXPECT_EQ(pixel, 0x00FF8000u);
  const std::string file = BitmapFile24(small, 20, 15);
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(file.size(), 54u + 60u * 15u);  // rows of 60 bytes
  EXPECT_EQ(static_cast<std::uint8_t>(file[54]), 0x00);  // blue, green, red
  EXPECT_EQ(static_cast<std::uint8_t>(file[55]), 0x80);
  EXPECT_EQ(static_cast<std::uint8_t>(file[56]), 0xFF);
}

class HistoryStore : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("history_store_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  void Write(const std::wstring& name, const std::string& bytes) {
    std::ofstream(folder_ / name, std::ios::binary) << bytes;
  }
  // An item's files as the monitor writes them, then its line.
  void Save(ClipboardHistoryStore& store, std::int32_t hash, bool unique, int maxItems) {
    const int n = store.TakeNextNumber();
    for (const wchar_t* suffix : {L".stm", L".fmt", L".txt", L".ico"}) store.WriteItemFile(n, suffix, "x");
    store.AddItem(Line(n, unique ? hash : 0), unique ? std::optional(hash) : std::nullopt, maxItems);
  }
  bool HasFiles(const ClipboardHistoryStore& store, int n) { return fs::exists(store.ItemFile(n, L".stm")); }
  fs::path folder_;
};

TEST_F(HistoryStore, TheLimitDropsTheOldestUnlessItIsAFavourite) {
  ClipboardHistoryStore store(folder_);
  store.LoadIndexes();
  Save(store, 1, false, 2);
  // The first item is a favourite: its files stay when it leaves the history.
  Write(kFavouritesIndexFile, WriteHistoryIndex({store.History()[0]}));
  store.LoadIndexes();
  EXPECT_EQ(store.ItemNumber(), 1);
  Save(store, 2, false, 2);
  Save(store, 3, false, 2);
  Save(store, 4, false, 2);
  ASSERT_EQ(store.History().size(), 2u);
  EXPECT_EQ(ItemNumberOfLine(store.History()[0]), 4);
  EXPECT_EQ(ItemNumberOfLine(store.History()[1]), 3);
  EXPECT_TRUE(HasFiles(store, 1));
  EXPECT_FALSE(HasFiles(store, 2));
  EXPECT_FALSE(fs::exists(store.ItemFile(2, L".fmt")));
  std::ifstream index(folder_ / kHistoryIndexFile, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
  EXPECT_EQ(ReadHistoryIndex(written), store.History());
}

TEST_F(HistoryStore, WithUniqueContentTheOlderCopyGoes) {
  ClipboardHistoryStore store(folder_);
  Save(store, 555, true, 30);
  Save(store, 777, true, 30);
  Save(store, 555, true, 30);
  ASSERT_EQ(store.History().size(), 2u);
  EXPECT_EQ(ItemNumberOfLine(store.History()[0]), 3);
  EXPECT_EQ(ItemNumberOfLine(store.History()[1]), 2);
  EXPECT_FALSE(HasFiles(store, 1));
  // Without it, the same content is kept twice.
  Save(store, 777, false, 30);
  EXPECT_EQ(store.History().size(), 3u);
}

TEST_F(HistoryStore, NumberOneAgainAfterTheLastClearsWhatTheOldOneLeft) {
  Write(kHistoryIndexFile, WriteHistoryIndex({Line(999999), Line(1)}));
  for (const wchar_t* suffix : kHistoryItemSuffixes) Write(L"1" + std::wstring(suffix), "old");
  ClipboardHistoryStore store(folder_);
  store.LoadIndexes();
  EXPECT_EQ(store.ItemNumber(), 999999);
  EXPECT_EQ(store.TakeNextNumber(), 1);
  for (const wchar_t* suffix : kHistoryItemSuffixes) EXPECT_FALSE(fs::exists(store.ItemFile(1, suffix))) << suffix;
  EXPECT_EQ(store.History(), (std::vector<std::wstring>{Line(999999)}));
}

TEST_F(HistoryStore, AHugeIndexIsDamagedAndReadsAsAnEmptyList) {
  // Good lines first, then many megabytes: refused by its size, unread.
  Write(kHistoryIndexFile, WriteHistoryIndex({Line(12), Line(11)}));
  fs::resize_file(folder_ / kHistoryIndexFile, 64 * 1024 * 1024);
  // Small, but one line of it runs on and on.
  Write(kFavouritesIndexFile, WriteHistoryIndex({Line(11)}) + std::string(300 * 1024, 'x'));
  ClipboardHistoryStore store(folder_);
  store.LoadIndexes();
  EXPECT_TRUE(store.History().empty());
  EXPECT_TRUE(store.Favourites().empty());
  EXPECT_EQ(store.ItemNumber(), 0);
  // The next save writes a good index over it.
  Save(store, 1, false, 30);
  std::ifstream index(folder_ / kHistoryIndexFile, std::ios::binary);
  const std::string written((std::istreambuf_iterator<char>(index)), std::istreambuf_iterator<char>());
  EXPECT_EQ(ReadHistoryIndex(written), store.History());
}

TEST_F(HistoryStore, MissingIndexFilesAreEmptyLists) {
  ClipboardHistoryStore store(folder_ / "nowhere");
  store.LoadIndexes();
  EXPECT_TRUE(store.History().empty());
  EXPECT_TRUE(store.Favourites().empty());
  EXPECT_EQ(store.ItemNumber(), 0);
}

}  // namespace
}  // namespace snibbet

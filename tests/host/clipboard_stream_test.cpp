#include "core/clipboard_stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace snibbet {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

TEST(ClipboardStream, RecordLayoutIsFormatSizeThenBytesLittleEndian) {
  ClipboardStream stream;
  ASSERT_TRUE(stream.AppendRecord(1, ToBytes(std::string("abc", 4))));
  const Bytes expected = {0x01, 0x00, 0x04, 0x00, 0x00, 0x00, 'a', 'b', 'c', 0x00};
  EXPECT_EQ(stream.Bytes(), expected);

  ClipboardStream big;
  ASSERT_TRUE(big.AppendRecord(0xC123, Bytes(0x10203, 0xEE)));
  EXPECT_EQ(big.Bytes()[0], 0x23);
  EXPECT_EQ(big.Bytes()[1], 0xC1);
  EXPECT_EQ(big.Bytes()[2], 0x03);
  EXPECT_EQ(big.Bytes()[3], 0x02);
  EXPECT_EQ(big.Bytes()[4], 0x01);
  EXPECT_EQ(big.Bytes()[5], 0x00);
}

TEST(ClipboardStream, RecordsReadBackInOrderAndAppendingKeepsThePosition) {
  ClipboardStream stream;
  const Bytes text = ToBytes(std::string("abc", 4));
  const Bytes wide = {'a', 0, 'b', 0, 'c', 0, 0, 0};
  stream.AppendRecord(1, text);
  stream.AppendRecord(13, wide);
  stream.AppendRecord(0xC0FF, {});

  ClipboardRecord first = stream.ReadRecord();
  ASSERT_EQ(first.status, RecordReadStatus::Ok);
  EXPECT_EQ(first.format, 1);
  EXPECT_EQ(Bytes(first.data.begin(), first.data.end()), text);
  EXPECT_EQ(stream.Position(), 10u);

  ClipboardRecord second = stream.ReadRecord();
  ASSERT_EQ(second.status, RecordReadStatus::Ok);
  EXPECT_EQ(second.format, 13);
  EXPECT_EQ(Bytes(second.data.begin(), second.data.end()), wide);

  ClipboardRecord empty = stream.ReadRecord();
  ASSERT_EQ(empty.status, RecordReadStatus::Ok);
  EXPECT_EQ(empty.format, 0xC0FF);
  EXPECT_TRUE(empty.data.empty());
  EXPECT_TRUE(stream.AtEnd());
  EXPECT_EQ(stream.ReadRecord().status, RecordReadStatus::End);

  stream.Rewind();
  EXPECT_EQ(stream.ReadRecord().format, 1);
  stream.AppendRecord(7, text);  // a write goes to the end, the reader stays
  EXPECT_EQ(stream.ReadRecord().format, 13);
}

TEST(ClipboardStream, EmptyStreamHasNoRecords) {
  ClipboardStream stream;
  EXPECT_TRUE(stream.AtEnd());
  const ClipboardRecord record = stream.ReadRecord();
  EXPECT_EQ(record.status, RecordReadStatus::End);
  EXPECT_EQ(record.format, 0);
}

// Every cut of a valid two-record stream: the whole first record comes back,
// the cut one is reported truncated with no data, and reading ends there.
TEST(ClipboardStream, TruncatedStreamNeverReadsPastItsEnd) {
  ClipboardStream whole;
  whole.AppendRecord(1, ToBytes("hello"));
  whole.AppendRecord(0xC001, ToBytes("world!"));
  const Bytes& all = whole.Bytes();
  const std::size_t firstEnd = 6 + 5;
  for (std::size_t cut = 1; cut < all.size(); ++cut) {
    if (cut == firstEnd) continue;
    ClipboardStream stream(Bytes(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(cut)));
    std::size_t okCount = 0;
    ClipboardRecord record;
    while ((record = stream.ReadRecord()).status == RecordReadStatus::Ok) ++okCount;
    EXPECT_EQ(okCount, cut > firstEnd ? 1u : 0u) << "cut " << cut;
    EXPECT_EQ(record.status, RecordReadStatus::Truncated) << "cut " << cut;
    EXPECT_TRUE(record.data.empty());
    EXPECT_TRUE(stream.AtEnd());
    EXPECT_EQ(stream.ReadRecord().status, RecordReadStatus::End);
  }
}

TEST(ClipboardStream, TruncatedRecordReportsTheFormatReadSoFar) {
  ClipboardStream oneByte(Bytes{0x0D});
  EXPECT_EQ(oneByte.ReadRecord().format, 0x0D);
  ClipboardStream headerOnly(Bytes{0x0D, 0x00, 0x05});
  const ClipboardRecord record = headerOnly.ReadRecord();
  EXPECT_EQ(record.status, RecordReadStatus::Truncated);
  EXPECT_EQ(record.format, 0x0D);
}

TEST(ClipboardStream, HugeDeclaredSizeIsTruncationNotAnAllocation) {
  ClipboardStream stream(Bytes{0x01, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 'x', 'y'});
  const ClipboardRecord record = stream.ReadRecord();
  EXPECT_EQ(record.status, RecordReadStatus::Truncated);
  EXPECT_TRUE(record.data.empty());
  EXPECT_TRUE(stream.AtEnd());
}

TEST(ClipboardStream, WholeStreamIsReadOnlyWhenEveryRecordIsIntact) {
  ClipboardStream stream;
  stream.AppendRecord(1, ToBytes("a"));
  stream.AppendRecord(13, ToBytes("bb"));
  const auto records = stream.ReadAllRecords();
  ASSERT_TRUE(records.has_value());
  ASSERT_EQ(records->size(), 2u);
  EXPECT_EQ((*records)[1].format, 13);
  EXPECT_EQ((*records)[1].data.size(), 2u);
  EXPECT_TRUE(stream.AtEnd());
  ASSERT_TRUE(stream.ReadAllRecords().has_value());  // nothing left: no records, not a failure
  EXPECT_TRUE(stream.ReadAllRecords()->empty());

  // From the position on: a record already read does not count.
  stream.Rewind();
  stream.ReadRecord();
  EXPECT_EQ(stream.ReadAllRecords()->size(), 1u);

  // A damaged tail refuses the whole stream and leaves the position alone.
  Bytes bytes = stream.Bytes();
  bytes.insert(bytes.end(), {0x01, 0x00, 0x09, 0x00, 0x00, 0x00, 'x'});
  ClipboardStream damaged(bytes);
  damaged.ReadRecord();
  const std::size_t position = damaged.Position();
  EXPECT_FALSE(damaged.ReadAllRecords().has_value());
  EXPECT_EQ(damaged.Position(), position);
}

TEST(ClipboardStream, ClearEmptiesAndRewinds) {
  ClipboardStream stream;
  stream.AppendRecord(1, ToBytes("x"));
  stream.ReadRecord();
  stream.Clear();
  EXPECT_EQ(stream.Size(), 0u);
  EXPECT_EQ(stream.Position(), 0u);
  stream.AppendRecord(2, ToBytes("y"));
  EXPECT_EQ(stream.ReadRecord().format, 2);
}

}  // namespace
}  // namespace snibbet

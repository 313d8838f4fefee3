// The template file's bytes: layout, round trips and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "templates/zqt_codec.h"
#include "tests/host/zqt_test_support.h"

namespace snibbet {
namespace {

using namespace zqt_test;

std::vector<std::string> Names(const ZqtReadResult& file) {
  std::vector<std::string> names;
  for (const auto& r : file.Records) names.emplace_back(r.Name);
  return names;
}

TEST(ZqtCodec, WritesTheLayoutByteForByte) {
  const std::vector<TemplateRecord> records = {Record("Alpha", "hi\r\n", kTemplateText, 45444.5),
                                               Record("b", "", kTemplateRichText, 1.0)};
  const std::string expected = std::string("ZQT1\x02\x00", 6) +
                               std::string("\x05\x00", 2) + "Alpha" +
                               std::string("\x00\x00\x00\x00\x90\x30\xE6\x40", 8) +  // 45444.5
                               std::string("\x00\x00", 2) + std::string("\x04\x00\x00\x00", 4) + "hi\r\n" +
                               std::string("\x01\x00", 2) + "b" +
                               std::string("\x00\x00\x00\x00\x00\x00\xF0\x3F", 8) +  // 1.0
                               std::string("\x01\x00", 2) + std::string("\x00\x00\x00\x00", 4);
  EXPECT_EQ(WriteZqt(records), expected);
  EXPECT_EQ(WriteZqt(std::vector<TemplateRecord>{}), std::string("ZQT1\0\0", 6));
}

TEST(ZqtCodec, ReadsBackWhatItWroteBitForBit) {
  OleDate::Bytes odd = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x7F};  // a NaN with a payload
  std::vector<TemplateRecord> records = {
      Record("one", std::string("bin\0ary\xFF", 8), 7, -1.25),
      TemplateRecord{"two", OleDate::FromBytes(odd), kTemplatePicture, "C:\\pictures\\cat.png"},
      Record(std::string("\xC4pfel", 5), "", kTemplateText, 0.0),
  };
  const std::string bytes = WriteZqt(records);
  const ZqtReadResult file = ReadZqt(bytes);
  ASSERT_EQ(file.Status, ZqtReadStatus::Complete);
  std::vector<TemplateRecord> back;
  for (const auto& r : file.Records) {
    back.push_back(TemplateRecord{std::string(r.Name), r.Date, r.Kind, std::string(r.Template)});
  }
  EXPECT_EQ(back, records);
  EXPECT_EQ(WriteZqt(back), bytes);
}

TEST(ZqtCodec, CutsNamesLongerThanTheFormatHolds) {
  const std::string bytes = WriteZqt({Record(std::string(1500, 'n'), "x")});
  const ZqtReadResult file = ReadZqt(bytes);
  ASSERT_EQ(file.Records.size(), 1u);
  EXPECT_EQ(file.Records[0].Name, std::string(1024, 'n'));
  EXPECT_EQ(bytes.size(), 6u + 16u + 1024u + 1u);
}

TEST(ZqtCodec, RefusesMoreRecordsThanTheCountHolds) {
  std::vector<TemplateRecord> records(kZqtMaxRecords + 1, Record("x"));
  EXPECT_THROW(WriteZqt(records), std::length_error);
  records.pop_back();
  EXPECT_EQ(ReadZqt(WriteZqt(records)).Records.size(), kZqtMaxRecords);
}

TEST(ZqtCodec, RejectsAnythingButTheExactMagic) {
  for (const std::string& bytes : {std::string(""), std::string("ZQT"), std::string("zqt1\0\0", 6),
                                  std::string("XQT1\0\0", 6), std::string("ZXT1\0\0", 6), std::string("ZQX1\0\0", 6),
                                  std::string("ZQT2\0\0", 6)}) {
    EXPECT_EQ(ReadZqt(bytes).Status, ZqtReadStatus::BadMagic) << bytes;
  }
}

TEST(ZqtCodec, ShortCountsAndCountsBeyondTheRecordsEndCleanly) {
  EXPECT_EQ(ReadZqt("ZQT1").Status, ZqtReadStatus::Complete);
  EXPECT_TRUE(ReadZqt("ZQT1\x05").Records.empty());
  const std::string oneOfTwo = RawFile(2, {RawRecord("only", 1, 0, "x")});
  const ZqtReadResult file = ReadZqt(oneOfTwo);
  EXPECT_EQ(file.Status, ZqtReadStatus::Complete);
  EXPECT_EQ(Names(file), std::vector<std::string>{"only"});
  // Bytes after the counted records are not records.
  EXPECT_EQ(ReadZqt(RawFile(1, {RawRecord("a", 1, 0, "x"), RawRecord("b", 1, 0, "y")})).Records.size(), 1u);
}

TEST(ZqtCodec, DropsARecordCutInsideItsFixedFields) {
  const std::string whole = RawFile(2, {RawRecord("first", 1, 0, "x"), RawRecord("second", 1, 0, "y")});
  const std::size_t secondStart = 6 + 16 + 5 + 1;
  // Cut inside the name length, the date, the kind and the content length.
  for (const std::size_t keep : {secondStart + 1, secondStart + 2 + 6 + 3, secondStart + 2 + 6 + 9,
                                 secondStart + 2 + 6 + 8 + 2 + 3}) {
    const ZqtReadResult file = ReadZqt(std::string_view(whole).substr(0, keep));
    EXPECT_EQ(file.Status, ZqtReadStatus::Complete) << keep;
    EXPECT_EQ(Names(file), std::vector<std::string>{"first"}) << keep;
  }
}

TEST(ZqtCodec, LengthsBeyondTheEndAreDamageNotAllocations) {
  const std::string first = RawRecord("first", 1, 0, "x");
  // A content that runs past the end of the file.
  std::string cut = RawFile(2, {first, RawRecord("second", 1, 0, "0123456789")});
  cut.resize(cut.size() - 3);
  ZqtReadResult file = ReadZqt(cut);
  EXPECT_EQ(file.Status, ZqtReadStatus::Damaged);
  EXPECT_EQ(Names(file), std::vector<std::string>{"first"});
  // Lengths of 4 GB and 64 KB with a few bytes behind them.
  const std::string hugeContent =
      RawFile(2, {first, U16(1) + "n" + DateBytes(OleDate()) + U16(0) + U32(0xFFFFFFFF) + "abc"});
  file = ReadZqt(hugeContent);
  EXPECT_EQ(file.Status, ZqtReadStatus::Damaged);
  EXPECT_EQ(file.Records.size(), 1u);
  const std::string hugeName = RawFile(0xFFFF, {U16(0xFFFF) + "short"});
  file = ReadZqt(hugeName);
  EXPECT_EQ(file.Status, ZqtReadStatus::Damaged);
  EXPECT_TRUE(file.Records.empty());
}

TEST(ZqtCodec, ANameEndsAtItsFirstZeroByte) {
  const std::string bytes = RawFile(1, {RawRecord(std::string("ab\0cd", 5), 1, 0, "x")});
  const ZqtReadResult file = ReadZqt(bytes);
  ASSERT_EQ(file.Records.size(), 1u);
  EXPECT_EQ(file.Records[0].Name, "ab");
  EXPECT_EQ(file.Records[0].Template, "x");
}

TEST(OleDate, CountsDaysFromTheEndOf1899) {
  EXPECT_EQ(OleDate::FromCivil(1899, 12, 30).Value(), 0.0);
  EXPECT_EQ(OleDate::FromCivil(2024, 6, 1, 12).Value(), 45444.5);
  EXPECT_EQ(OleDate::FromCivil(1899, 12, 29, 6).Value(), -1.25);  // days count down, the time still up
  EXPECT_EQ(OleDate::FromValue(45444.5), OleDate::FromCivil(2024, 6, 1, 12));
  const double now = OleDate::Now().Value();
  EXPECT_GT(now, 45000.0);
  EXPECT_LT(now, 80000.0);
}

}  // namespace
}  // namespace snibbet

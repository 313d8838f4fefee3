#pragma once
// One template of the template dataset and the date it carries. Window-free.
//
// Names and contents are the bytes of single-byte (ANSI code page) text, as the
// template file holds them; nothing here ever looks at wchar_t.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace snibbet {

// An OLE Automation date (days since 1899-12-30, the time of day as the
// fraction), kept as the eight little-endian bytes of its double so that a
// template read from a file is written back bit for bit, whatever those bits are.
class OleDate {
 public:
  using Bytes = std::array<std::uint8_t, 8>;

  OleDate() = default;  // 0.0: 1899-12-30 00:00
  static OleDate FromBytes(const Bytes& bytes);
  static OleDate FromValue(double days);
  static OleDate FromCivil(int year, int month, int day, int hour = 0, int minute = 0, int second = 0,
                           int millisecond = 0);
  static OleDate Now();  // the local date and time

  double Value() const;
  const Bytes& RawBytes() const { return bytes_; }

  friend bool operator==(const OleDate&, const OleDate&) = default;

 private:
  Bytes bytes_{};
};

enum TemplateKind : std::uint16_t {
  kTemplateText = 0,
  kTemplateRichText = 1,  // the content is an RTF document
  kTemplatePicture = 2,   // the content is a picture file's full path
};

// A row stores at most this many characters of a name (single-byte text: bytes).
inline constexpr std::size_t kMaxTemplateNameChars = 100;

struct TemplateRecordView;

struct TemplateRecord {
  std::string Name;
  OleDate Date;
  std::uint16_t Kind = kTemplateText;
  std::string Template;

  TemplateRecordView View() const;

  friend bool operator==(const TemplateRecord&, const TemplateRecord&) = default;
};

// A record whose bytes live elsewhere: in a file's bytes (the name as the file
// spells it, not yet cut), or in the template table (valid until that row changes).
struct TemplateRecordView {
  std::string_view Name;
  OleDate Date;
  std::uint16_t Kind = kTemplateText;
  std::string_view Template;

  TemplateRecord Owned() const { return TemplateRecord{std::string(Name), Date, Kind, std::string(Template)}; }

  friend bool operator==(const TemplateRecordView&, const TemplateRecordView&) = default;
};

inline TemplateRecordView TemplateRecord::View() const { return TemplateRecordView{Name, Date, Kind, Template}; }

// The name as a row keeps it: its first 100 characters.
std::string_view StoredTemplateName(std::string_view name);

}  // namespace snibbet

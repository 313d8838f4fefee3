#pragma once
// Builds icon-set files in memory for the tests: the header, the entries, a
// 24-bit strip with one solid-coloured picture per entry (or another count)
// and optionally an icon.
#include <cstdint>
#include <string>
#include <vector>

namespace snibbet::test {

struct IconSetBytesEntry {
  std::uint16_t id = 0;
  std::uint8_t kind = 0;
  std::string text;
  std::uint32_t colour = 0x0000FF;  // 0xRRGGBB of its picture
};

inline void PutU16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8 & 0xFF);
}
inline void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}
inline void PutShortText(std::string& out, const std::string& text) {
  out += static_cast<char>(text.size());
  out += text;
}

// A bottom-up 24-bit bitmap file of 16 x 16 pictures side by side, each filled
// with its colour; `lime` paints the left half of every picture lime.
inline std::string StripBytes(const std::vector<std::uint32_t>& colours, bool lime = false) {
  const int width = 16 * static_cast<int>(colours.size());
  const int rowBytes = (width * 3 + 3) / 4 * 4;
  std::string bits;
  for (int y = 0; y < 16; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t colour = lime && x % 16 < 8 ? 0x00FF00 : colours[static_cast<std::size_t>(x / 16)];
      row += static_cast<char>(colour & 0xFF);        // blue
      row += static_cast<char>(colour >> 8 & 0xFF);   // green
      row += static_cast<char>(colour >> 16 & 0xFF);  // red
    }
    row.resize(static_cast<std::size_t>(rowBytes), '\0');
    bits += row;
  }
  std::string out = "BM";
  PutU32(out, static_cast<std::uint32_t>(14 + 40 + bits.size()));
  PutU32(out, 0);
  PutU32(out, 14 + 40);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, 16);
  PutU16(out, 1);
  PutU16(out, 24);
  for (int i = 0; i < 6; ++i) PutU32(out, 0);
  return out + bits;
}

// A .ico of one 16 x 16 32-bit image of one colour.
inline std::string IconBytes(std::uint32_t colour = 0x3366CC) {
  std::string image;
  PutU32(image, 40);
  PutU32(image, 16);
  PutU32(image, 32);
  PutU16(image, 1);
  PutU16(image, 32);
  for (int i = 0; i < 6; ++i) PutU32(image, 0);
  for (int i = 0; i < 256; ++i) PutU32(image, 0xFF000000u | colour);
  image.append(16 * 4, '\0');  // the mask: all opaque
  std::string out;
  PutU16(out, 0);
  PutU16(out, 1);
  PutU16(out, 1);
  out += static_cast<char>(16);
  out += static_cast<char>(16);
  out += '\0';
  out += '\0';
  PutU16(out, 1);
  PutU16(out, 32);
  PutU32(out, static_cast<std::uint32_t>(image.size()));
  PutU32(out, 22);
  return out + image;
}

struct IconSetBytes {
  std::string executable;
  std::string windowClass;
  std::string note;
  std::string icon;
  std::vector<IconSetBytesEntry> entries;
  int pictures = -1;  // -1: one per entry
  bool limeLeftHalves = false;

  std::string Header() const {
    std::string out = "ZQI1";
    PutShortText(out, executable);
    PutShortText(out, windowClass);
    PutShortText(out, note);
    PutU16(out, static_cast<unsigned>(icon.size()));
    return out + icon;
  }
  std::string Build() const {
    std::string out = Header();
    PutU16(out, static_cast<unsigned>(entries.size()));
    std::vector<std::uint32_t> colours;
    for (const IconSetBytesEntry& entry : entries) {
      PutU16(out, entry.id);
      out += static_cast<char>(entry.kind);
      PutShortText(out, entry.text);
      colours.push_back(entry.colour);
    }
    colours.resize(pictures < 0 ? entries.size() : static_cast<std::size_t>(pictures), 0x808080);
    return out + StripBytes(colours, limeLeftHalves);
  }
};

}  // namespace snibbet::test

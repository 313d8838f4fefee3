#include "clipboard/history_thumbnail.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace snibbet {
namespace {

constexpr double kLobes = 3.0;

double Sinc(double x) {
  if (x == 0) return 1.0;
  x *= std::numbers::pi;
  return std::sin(x) / x;
}

double Lanczos3(double x) { return std::abs(x) < kLobes ? Sinc(x) * Sinc(x / kLobes) : 0.0; }

struct Tap {
  int index;
  double weight;
};

// For each target position, the source positions and their weights; when
// shrinking, the filter widens so every source pixel counts.
std::vector<std::vector<Tap>> Taps(int from, int to) {
  const double scale = static_cast<double>(to) / from;
  const double stretch = scale < 1.0 ? 1.0 / scale : 1.0;
  const double support = kLobes * stretch;
  std::vector<std::vector<Tap>> taps(static_cast<std::size_t>(to));
  for (int i = 0; i < to; ++i) {
    const double centre = (i + 0.5) / scale - 0.5;
    const int first = static_cast<int>(std::floor(centre - support)), last = static_cast<int>(std::ceil(centre + support));
    double total = 0;
    for (int j = first; j <= last; ++j) {
      const double weight = Lanczos3((j - centre) / stretch);
      if (weight == 0) continue;
      taps[i].push_back({std::clamp(j, 0, from - 1), weight});
      total += weight;
    }
    if (total != 0) {
      for (auto& tap : taps[i]) tap.weight /= total;
    }
  }
  return taps;
}

std::uint8_t Channel(double value) { return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L)); }

}  // namespace

std::vector<std::uint32_t> ResampleLanczos3(const std::vector<std::uint32_t>& pixels, int width, int height,
                                            int newWidth, int newHeight) {
  if (width <= 0 || height <= 0 || newWidth <= 0 || newHeight <= 0 ||
      pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return {};
  const auto across = Taps(width, newWidth), down = Taps(height, newHeight);
  // Across first into a buffer of doubles per channel, then down.
  std::vector<double> middle(static_cast<std::size_t>(newWidth) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < newWidth; ++x) {
      double r = 0, g = 0, b = 0;
      for (const Tap& tap : across[x]) {
        const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + tap.index];
        r += ((p >> 16) & 0xFF) * tap.weight;
        g += ((p >> 8) & 0xFF) * tap.weight;
        b += (p & 0xFF) * tap.weight;
      }
      double* out = &middle[(static_cast<std::size_t>(y) * newWidth + x) * 3];
      out[0] = r, out[1] = g, out[2] = b;
    }
  }
  std::vector<std::uint32_t> result(static_cast<std::size_t>(newWidth) * newHeight);
  for (int y = 0; y < newHeight; ++y) {
    for (int x = 0; x < newWidth; ++x) {
      double r = 0, g = 0, b = 0;
      for (const Tap& tap : down[y]) {
        const double* in = &middle[(static_cast<std::size_t>(tap.index) * newWidth + x) * 3];
        r += in[0] * tap.weight;
        g += in[1] * tap.weight;
        b += in[2] * tap.weight;
      }
      result[static_cast<std::size_t>(y) * newWidth + x] =
          (std::uint32_t{Channel(r)} << 16) | (std::uint32_t{Channel(g)} << 8) | Channel(b);
    }
  }
  return result;
}

std::string BitmapFile24(const std::vector<std::uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
    return {};
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t headers = 14 + 40;
  std::string bytes(headers + stride * static_cast<std::size_t>(height), '\0');
  const auto put = [&](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B', bytes[1] = 'M';
  put(2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(10, static_cast<std::uint32_t>(headers), 4);
  put(14, 40, 4);
  put(18, static_cast<std::uint32_t>(width), 4);
  put(22, static_cast<std::uint32_t>(height), 4);  // bottom-up
  put(26, 1, 2);
  put(28, 24, 2);
  put(34, static_cast<std::uint32_t>(stride * height), 4);
  for (int y = 0; y < height; ++y) {
    const std::size_t row = headers + stride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) put(row + static_cast<std::size_t>(x) * 3, pixels[static_cast<std::size_t>(y) * width + x], 3);
  }
  return bytes;
}

}  // namespace snibbet

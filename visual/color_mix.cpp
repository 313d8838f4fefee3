#include "visual/color_mix.h"

#include <algorithm>
#include <cmath>

namespace snibbet {
namespace {

int Channel(RgbColor color, int index) { return static_cast<int>((color >> (8 * index)) & 0xFF); }

RgbColor FromChannels(const int channels[3]) {
  RgbColor color = 0;
  for (int i = 0; i < 3; ++i) color |= static_cast<RgbColor>(std::clamp(channels[i], 0, 255)) << (8 * i);
  return color;
}

// value × numerator / denominator rounded to nearest, halves away from zero.
int MulDivRounded(int value, int numerator, int denominator) {
  const long long product = static_cast<long long>(value) * numerator;
  const long long half = denominator / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / denominator);
}

}  // namespace

RgbColor MixColors(RgbColor face, RgbColor highlight, RgbColor window, std::int8_t p1, std::int8_t p2,
                   std::int8_t p3) {
  if ((face & 0xFFFFFF) == 0 || (face & 0xFFFFFF) == 0xFFFFFF) return highlight;
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    channels[i] = MulDivRounded(Channel(face, i), p1, 100) + MulDivRounded(Channel(highlight, i), p2, 100) +
                  MulDivRounded(Channel(window, i), p3, 100);
  }
  return FromChannels(channels);
}

RgbColor SoftBlend(RgbColor a, RgbColor b, bool darker) {
  int channels[3];
  for (int i = 0; i < 3; ++i) {
    const double middle = Channel(a, i) + (Channel(b, i) - Channel(a, i)) * 0.5;
    double value = middle + (225 - middle) * 0.6;
    if (darker) value -= (122 - value) * 0.25;
    channels[i] = static_cast<int>(std::nearbyint(value));  // halves to even
  }
  return FromChannels(channels);
}

}  // namespace snibbet

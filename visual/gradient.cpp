#include "visual/gradient.h"

#include <algorithm>
#include <array>

#include "visual/color_math.h"

namespace snibbet {
namespace {

using Channels = std::array<int, 3>;

Channels Split(RgbColor c) { return {RedOf(c), GreenOf(c), BlueOf(c)}; }

RgbColor Join(const Channels& c) {
  return MakeRgb(std::clamp(c[0], 0, 255), std::clamp(c[1], 0, 255), std::clamp(c[2], 0, 255));
}

template <class F>
Channels PerChannel(F f) {
  return {f(0), f(1), f(2)};
}

}  // namespace

RgbColor GradientMiddle(RgbColor c1, RgbColor c2, int bias) {
  const Channels a = Split(c1), b = Split(c2);
  return Join(PerChannel([&](int k) { return a[k] - MulDiv64(a[k] - b[k], bias, 200); }));
}

std::vector<RgbColor> TwoPartGradientBands(RgbColor c1, RgbColor c2, int bias, int length) {
  std::vector<RgbColor> bands;
  if (length <= 0) return bands;
  bands.reserve(static_cast<std::size_t>(length));
  const int half = length / 2;
  const Channels first = Split(c1), last = Split(c2);
  const Channels middle = Split(GradientMiddle(c1, c2, bias));
  // Where each slope would reach if it ran the whole length. A length of 1 has
  // no slopes (half is 0): its one band is the middle colour.
  Channels firstEnd{}, secondStart{};
  if (half > 0) {
    firstEnd = PerChannel([&](int k) { return first[k] - MulDiv64(first[k] - middle[k], length, half); });
    secondStart = PerChannel([&](int k) { return last[k] + MulDiv64(middle[k] - last[k], length, half); });
  }
  for (int i = 0; i < length; ++i) {
    if (i < half) {
      bands.push_back(Join(PerChannel([&](int k) { return first[k] + MulDiv64(i, firstEnd[k] - first[k], length - 1); })));
    } else if (i == half) {
      bands.push_back(Join(middle));
    } else {
      bands.push_back(
          Join(PerChannel([&](int k) { return secondStart[k] + MulDiv64(i, last[k] - secondStart[k], length - 1); })));
    }
  }
  return bands;
}

}  // namespace snibbet

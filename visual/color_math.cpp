#include "visual/color_math.h"

#include <algorithm>

namespace snibbet {
namespace {

RgbColor FromChannels(int red, int green, int blue) {
  return MakeRgb(std::clamp(red, 0, 255), std::clamp(green, 0, 255), std::clamp(blue, 0, 255));
}

// numerator ÷ 100 rounded to nearest with halves to the even neighbour;
// numerator is never negative here.
int RoundHundredthsToEven(int numerator) {
  int quotient = numerator / 100;
  const int remainder = numerator % 100;
  if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) ++quotient;
  return quotient;
}

int ShadeChannel(int channel, int percent) { return RoundHundredthsToEven(channel * percent); }

int TintChannel(int channel, int percent) {
  return std::min(255, RoundHundredthsToEven(channel * percent) + RoundHundredthsToEven(25500 - 255 * percent));
}

}  // namespace

RgbColor ToRealColor(std::uint32_t color, const ScreenColors& screen) {
  if ((color >> 24) == 0xFF) return screen.SystemColor(static_cast<int>(color & 0xFF)) & 0xFFFFFF;
  return color & 0xFFFFFF;
}

int MulDiv64(int a, int b, int c) {
  if (c == 0) return -1;
  long long product = static_cast<long long>(a) * b;
  if (c < 0) {
    product = -product;
    c = -c;
  }
  const long long half = c / 2;
  return static_cast<int>((product >= 0 ? product + half : product - half) / c);
}

RgbColor ShadeRgb(RgbColor color, int percent) {
  percent = std::clamp(percent, 0, 100);
  return FromChannels(ShadeChannel(RedOf(color), percent), ShadeChannel(GreenOf(color), percent),
                      ShadeChannel(BlueOf(color), percent));
}

RgbColor TintRgb(RgbColor color, int percent) {
  percent = std::clamp(percent, 0, 100);
  return FromChannels(TintChannel(RedOf(color), percent), TintChannel(GreenOf(color), percent),
                      TintChannel(BlueOf(color), percent));
}

RgbColor BlendRgb(RgbColor x, RgbColor y, int percent) {
  auto channel = [percent](int cx, int cy) {
    return std::min(255, MulDiv64(cy, 100 - percent, 100) + MulDiv64(cx, percent, 100));
  };
  return FromChannels(channel(RedOf(x), RedOf(y)), channel(GreenOf(x), GreenOf(y)), channel(BlueOf(x), BlueOf(y)));
}

RgbColor DeriveFromFace(RgbColor face, bool halfway) {
  auto channel = [halfway](int c) { return halfway ? c * 127 / 255 + 128 : c + 4 - (4 * c / 255); };
  return FromChannels(channel(RedOf(face)), channel(GreenOf(face)), channel(BlueOf(face)));
}

}  // namespace snibbet

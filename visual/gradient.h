#pragma once
// The two-part gradient of the colour scheme: from the first colour to a
// middle colour over the first half, then on to the second colour. Window-free.
#include <vector>

#include "visual/color_mix.h"

namespace snibbet {

// The middle colour: per channel c1 − (c1 − c2) × bias ÷ 200.
RgbColor GradientMiddle(RgbColor c1, RgbColor c2, int bias);

// The colour of each one-pixel band of a gradient `length` pixels long, band i
// at offset i. Empty for a length of 0 or less; a single band takes the middle
// colour.
std::vector<RgbColor> TwoPartGradientBands(RgbColor c1, RgbColor c2, int bias, int length);

}  // namespace snibbet

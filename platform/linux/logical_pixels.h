#pragma once
// The form's twips in the logical pixels of a GTK window. A logical pixel is
// always 15 twips: the monitor's scale factor turns logical pixels into
// physical ones, so the layout follows the scale without a factor of its own.
#include <algorithm>
#include <cmath>

namespace platform::gtk {

constexpr int twipsPerLogicalPixel = 15;

// Rounded to the nearest pixel, halves away from zero, so that neighbouring
// edges rounded on their own stay flush.
constexpr int toLogicalPixels(int twips) {
    const int half = twipsPerLogicalPixel / 2;
    return twips >= 0 ? (twips + half) / twipsPerLogicalPixel : -((-twips + half) / twipsPerLogicalPixel);
}

// A window position from the model: far beyond any screen, but never
// wrapped around, and 0 for a value that is not a number.
inline int positionToLogicalPixels(float twips) {
    const double pixels = static_cast<double>(twips) / twipsPerLogicalPixel;
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -32000.0, 32000.0)));
}

inline float toTwips(int logicalPixels) { return static_cast<float>(logicalPixels * twipsPerLogicalPixel); }

// Twips per physical pixel at a monitor's scale factor (15 at scale 1).
inline float twipsPerPhysicalPixel(int scaleFactor) {
    return static_cast<float>(twipsPerLogicalPixel) / static_cast<float>(std::max(scaleFactor, 1));
}

}  // namespace platform::gtk

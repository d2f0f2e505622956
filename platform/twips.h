#pragma once
// Twips, the forms layer's unit (1/1440 inch), and the pixels of a screen
// with a given number of dots per inch (96: 15 twips a pixel).
#include <algorithm>
#include <cmath>

namespace forms {

constexpr int twipsPerInch = 1440;

// Rounded to the nearest pixel, halves away from zero, so that neighbouring
// edges rounded on their own stay flush.
constexpr int twipsToPixels(int twips, int dotsPerInch) {
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    const long long half = twipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / twipsPerInch : -((-scaled + half) / twipsPerInch));
}

// A window position from the model: far beyond any screen, but never
// wrapped around, and 0 for a value that is not a number.
inline int positionToPixels(float twips, int dotsPerInch) {
    const double pixels = static_cast<double>(twips) * dotsPerInch / twipsPerInch;
    if (std::isnan(pixels)) return 0;
    return static_cast<int>(std::lround(std::clamp(pixels, -32000.0, 32000.0)));
}

constexpr float twipsPerPixel(int dotsPerInch) {
    return static_cast<float>(twipsPerInch) / static_cast<float>(dotsPerInch);
}

constexpr float pixelsToTwips(int pixels, int dotsPerInch) {
    return static_cast<float>(pixels) * twipsPerPixel(dotsPerInch);
}

}  // namespace forms

#pragma once
// The form's twips in the logical pixels of a GTK window. A logical pixel is
// always 15 twips (96 to the inch): the monitor's scale factor turns logical
// pixels into physical ones, so the layout follows the scale without a
// factor of its own.
#include <algorithm>

#include "platform/twips.h"

namespace platform::gtk {

constexpr int logicalPixelsPerInch = 96;

constexpr int toLogicalPixels(int twips) { return forms::twipsToPixels(twips, logicalPixelsPerInch); }

inline int positionToLogicalPixels(float twips) { return forms::positionToPixels(twips, logicalPixelsPerInch); }

constexpr float toTwips(int logicalPixels) { return forms::pixelsToTwips(logicalPixels, logicalPixelsPerInch); }

// Twips per physical pixel at a monitor's scale factor (15 at scale 1).
constexpr float twipsPerPhysicalPixel(int scaleFactor) {
    return forms::twipsPerPixel(logicalPixelsPerInch * std::max(scaleFactor, 1));
}

}  // namespace platform::gtk

#pragma once
// The resolution presets, index 0 to 6, one for each preset button.
#include <array>
#include <cstdint>

namespace sizing {

constexpr int presetCount = 7;
using PresetTable = std::array<std::int16_t, presetCount>;

constexpr PresetTable presetWidthTable{640, 800, 1024, 1152, 1280, 1280, 1600};
constexpr PresetTable presetHeightTable{480, 600, 768, 864, 960, 1024, 1200};

}  // namespace sizing

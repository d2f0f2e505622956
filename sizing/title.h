#pragma once
#include <string>

namespace sizing {

// The title from a buffer that held spaces before the title was read into it:
// spaces at both ends go, then every NUL. The terminating NUL still stands
// between the title and the filler when the spaces go, so spaces at the start
// of a title go and spaces at its end stay.
std::wstring titleFromBuffer(std::wstring buffer);

}  // namespace sizing

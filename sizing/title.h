#pragma once
#include <string>
#include <string_view>

namespace sizing {

// The title as the result field shows it: as if read into a buffer of 256
// characters filled with spaces beforehand (at most 255 characters of it,
// then a NUL, then the filler), from which spaces at both ends go, then
// every NUL. The NUL still stands between the title and the filler when the
// spaces go, so spaces at the start of a title go and spaces at its end stay.
std::wstring shownTitle(std::wstring_view title);

}  // namespace sizing

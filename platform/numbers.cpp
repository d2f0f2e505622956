#include "platform/numbers.h"

namespace numbers {

std::optional<double> leadingNumber(std::wstring_view) { return 0.0; }
std::wstring numberText(double, wchar_t) { return L"0"; }
double roundHalfEven(double value) { return value; }
std::optional<std::int16_t> toInt16(double) { return std::nullopt; }
std::optional<std::int32_t> toInt32(double) { return std::nullopt; }

}  // namespace numbers

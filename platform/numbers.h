#pragma once
// Number reading and writing shared by the entries, the sizing and the
// settings: the leading number of a text, its plain decimal text, and
// conversions to integers that refuse instead of wrapping around.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace numbers {

// The number at the start of a text. Blanks, tabs and line feeds are skipped
// wherever they stand ("1 2" reads 12); then an optional sign, digits with an
// optional "." fraction and an optional E exponent, up to the first other
// character; "&H" and "&O" read a hexadecimal or octal integer. A text without
// a leading number reads 0. A number beyond the double range gives nullopt.
std::optional<double> leadingNumber(std::wstring_view text);

// The plain decimal text of a number: whole numbers below 1E+15 as digits,
// larger magnitudes in exponent form ("1E+20"), fractions with at most 15
// significant digits and the given decimal mark.
std::wstring numberText(double value, wchar_t decimalMark = L'.');

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfEven(double value);

// Rounded as above; nullopt when the result lies outside the type's range
// (or the value is not finite).
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

}  // namespace numbers

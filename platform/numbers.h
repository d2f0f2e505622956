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
// character; "&H" and "&O" (either case) read an unsigned hexadecimal or octal
// integer. The decimal point is always ".", whatever the locale. A text without
// a leading number reads 0, and so do a lone sign, a lone "." or "&H" without
// digits; an exponent without digits ("1e", "1e+") is ignored. A number too
// small for a double reads 0. A number beyond the double range gives nullopt;
// callers must not fail on it (the entry fields treat it as 0).
std::optional<double> leadingNumber(std::wstring_view text);

// The plain decimal text of a number: whole numbers below 1E+15 as digits with
// "-" for negatives (negative zero gives "0"); larger magnitudes and those
// below 1E-04 in exponent form with a trimmed mantissa ("1E+20", "1.5E+20",
// "1E-05"); fractions with at most 15 significant digits, the given decimal
// mark and their leading zero ("0.5", not ".5"). Infinity and NaN, which
// leadingNumber never gives, write "0".
std::wstring numberText(double value, wchar_t decimalMark = L'.');

// Rounds to the nearest whole number, a half to the even neighbour.
double roundHalfEven(double value);

// Rounded as above; nullopt when the rounded value lies outside the type's
// range (32767.5 rounds to 32768, so it has no 16-bit value) or the value is
// not finite.
std::optional<std::int16_t> toInt16(double value);
std::optional<std::int32_t> toInt32(double value);

}  // namespace numbers

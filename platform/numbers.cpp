#include "platform/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace numbers {

namespace {

bool isSkipped(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Reads the text while skipping blanks, so that the parsers below see only
// the characters that count.
class Reader {
public:
    explicit Reader(std::wstring_view text) : text_(text) { skip(); }
    bool atEnd() const { return pos_ == text_.size(); }
    wchar_t peek() const { return atEnd() ? L'\0' : text_[pos_]; }
    void next() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < text_.size() && isSkipped(text_[pos_])) ++pos_;
    }
    std::wstring_view text_;
    std::size_t pos_ = 0;
};

int digitValue(wchar_t c) {
    if (isDigit(c)) return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return 99;
}

std::optional<double> radixInteger(Reader& in, int radix) {
    double value = 0;
    for (int digit; (digit = digitValue(in.peek())) < radix; in.next()) {
        value = value * radix + digit;
        if (!std::isfinite(value)) return std::nullopt;
    }
    return value;
}

// A longer exponent is saturated here. The order of a number is bounded by the
// length of its text, far below this limit for any text that fits in memory,
// so order + exponent keeps its sign and cannot wrap.
constexpr std::int64_t exponentLimit = std::numeric_limits<std::int64_t>::max() / 2;

// The decimal number is copied into a plain ASCII text and converted by
// from_chars, which rounds correctly and ignores the locale.
std::optional<double> decimalNumber(Reader& in) {
    std::string text;
    if (in.peek() == L'-') text += '-';
    if (in.peek() == L'-' || in.peek() == L'+') in.next();

    // order: the decimal exponent of the first significant digit, which tells
    // an overflow from an underflow when the conversion is out of range.
    bool hasDigits = false;
    bool nonZero = false;
    std::int64_t integerDigits = 0;
    std::int64_t firstNonZeroDigit = 0;
    for (; isDigit(in.peek()); in.next()) {
        text += static_cast<char>(in.peek());
        hasDigits = true;
        ++integerDigits;
        if (!nonZero && in.peek() != L'0') {
            nonZero = true;
            firstNonZeroDigit = integerDigits;
        }
    }
    std::int64_t order = integerDigits - firstNonZeroDigit;
    if (in.peek() == L'.') {
        text += '.';
        in.next();
        for (std::int64_t place = -1; isDigit(in.peek()); in.next(), --place) {
            text += static_cast<char>(in.peek());
            hasDigits = true;
            if (!nonZero && in.peek() != L'0') {
                nonZero = true;
                order = place;
            }
        }
    }
    if (!hasDigits) return 0.0;

    std::int64_t exponent = 0;
    if (in.peek() == L'E' || in.peek() == L'e') {
        std::string exponentText = "e";
        in.next();
        if (in.peek() == L'-') exponentText += '-';
        if (in.peek() == L'-' || in.peek() == L'+') in.next();
        bool exponentDigits = false;
        for (; isDigit(in.peek()); in.next()) {
            exponentDigits = true;
            exponentText += static_cast<char>(in.peek());
            exponent = exponent > exponentLimit / 10 ? exponentLimit : exponent * 10 + (in.peek() - L'0');
        }
        // "1e" and "1e+" read as 1: an exponent without digits is no exponent.
        if (exponentDigits) {
            text += exponentText;
            if (exponentText[1] == '-') exponent = -exponent;
        }
    }

    double value = 0;
    const std::errc error = std::from_chars(text.data(), text.data() + text.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        // from_chars reports both overflow and underflow; a tiny number is 0.
        if (nonZero && order + exponent > 0) return std::nullopt;
        return 0.0;
    }
    return value;
}

template <typename Int>
std::optional<Int> toInt(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<Int>::min() || rounded > std::numeric_limits<Int>::max())
        return std::nullopt;
    return static_cast<Int>(rounded);
}

struct Significand {
    std::string digits;  // at most 15, without trailing zeros
    int exponent;        // decimal exponent of the first digit
};

// Rounded once to 15 significant digits by to_chars, which, unlike printf,
// does not depend on the locale.
Significand significantDigits(double magnitude) {
    char buffer[32];
    const char* end =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14).ptr;
    const std::string_view scientific(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t e = scientific.find('e');
    Significand result{std::string(scientific.substr(0, e)), 0};
    std::erase(result.digits, '.');
    while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
    const std::size_t exponentStart = e + (scientific[e + 1] == '+' ? 2 : 1);
    std::from_chars(scientific.data() + exponentStart, end, result.exponent);
    return result;
}

void appendExponent(std::wstring& text, int exponent) {
    text += exponent < 0 ? L"E-" : L"E+";
    if (std::abs(exponent) < 10) text += L'0';
    text += std::to_wstring(std::abs(exponent));
}

}  // namespace

std::optional<double> leadingNumber(std::wstring_view text) {
    Reader in(text);
    if (in.peek() == L'&') {
        in.next();
        const wchar_t radixLetter = in.peek();
        if (radixLetter == L'H' || radixLetter == L'h') {
            in.next();
            return radixInteger(in, 16);
        }
        if (radixLetter == L'O' || radixLetter == L'o') {
            in.next();
            return radixInteger(in, 8);
        }
        return 0.0;
    }
    return decimalNumber(in);
}

std::wstring numberText(double value, wchar_t decimalMark) {
    if (!std::isfinite(value)) return L"0";
    if (value == std::trunc(value) && std::fabs(value) < 1e15)
        return std::to_wstring(static_cast<long long>(value));

    const auto [digits, exponent] = significantDigits(std::fabs(value));
    std::wstring text = value < 0 ? L"-" : L"";
    const auto append = [&text](std::string_view part) { text.append(part.begin(), part.end()); };
    const std::string_view all = digits;
    if (exponent >= 15 || exponent < -4) {
        append(all.substr(0, 1));
        if (all.size() > 1) {
            text += decimalMark;
            append(all.substr(1));
        }
        appendExponent(text, exponent);
    } else if (exponent < 0) {
        text += L'0';
        text += decimalMark;
        text.append(static_cast<std::size_t>(-exponent - 1), L'0');
        append(all);
    } else {
        // Rounding to 15 digits can make a fraction whole (123456789012345.67).
        const std::size_t wholeDigits = static_cast<std::size_t>(exponent) + 1;
        append(all.substr(0, wholeDigits));
        if (all.size() > wholeDigits) {
            text += decimalMark;
            append(all.substr(wholeDigits));
        } else {
            text.append(wholeDigits - all.size(), L'0');
        }
    }
    return text;
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double below = std::floor(value);
    const double rest = value - below;  // exact for every double
    if (rest > 0.5) return below + 1;
    if (rest < 0.5) return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

std::optional<std::int16_t> toInt16(double value) { return toInt<std::int16_t>(value); }
std::optional<std::int32_t> toInt32(double value) { return toInt<std::int32_t>(value); }

}  // namespace numbers

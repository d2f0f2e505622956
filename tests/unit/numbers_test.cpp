#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using numbers::leadingNumber;
using numbers::numberText;

struct Reading {
    const wchar_t* text;
    double expected;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfAText) {
    const Reading cases[] = {
        {L"1200", 1200},     {L"1 2", 12},       {L" 1\t2\n3 ", 123}, {L"12ab", 12},
        {L"-7", -7},         {L"+7", 7},         {L"- 7", -7},        {L"2.5", 2.5},
        {L"-0.5", -0.5},     {L".5", 0.5},       {L"5.", 5},          {L"1.2.3", 1.2},
        {L"1e3", 1000},      {L"1E-2", 0.01},    {L"1e+2", 100},      {L"1 e 2", 100},
        {L"1e", 1},          {L"1e+", 1},        {L"1ex", 1},         {L"1,5", 1},
        {L"&HFFF", 4095},    {L"&hff", 255},     {L"&O17", 15},       {L"&o8", 0},
        {L"&H", 0},          {L"&Hx", 0},        {L"&X1", 0},         {L"&HFFFF", 65535},
        {L"", 0},            {L"   ", 0},        {L"abc", 0},         {L".", 0},
        {L"-", 0},           {L"+", 0},          {L"e5", 0},          {L"1e-400", 0},
        {L"0e999", 0},       {L"0.1", 0.1},
    };
    for (const Reading& c : cases) {
        const auto value = leadingNumber(c.text);
        ASSERT_TRUE(value.has_value()) << testing::PrintToString(std::wstring(c.text));
        EXPECT_EQ(*value, c.expected) << testing::PrintToString(std::wstring(c.text));
    }
}

TEST(LeadingNumber, ConvertsExactly) {
    // Summing digits in floating point would miss these by one unit in the last place.
    EXPECT_EQ(*leadingNumber(L"0.3"), 0.3);
    EXPECT_EQ(*leadingNumber(L"123456789012345678"), 123456789012345678.0);
    EXPECT_EQ(*leadingNumber(L"1.7976931348623157e308"), std::numeric_limits<double>::max());
}

TEST(LeadingNumber, ReportsANumberBeyondTheDoubleRange) {
    EXPECT_EQ(leadingNumber(L"1e400"), std::nullopt);
    EXPECT_EQ(leadingNumber(L"-1e400"), std::nullopt);
    EXPECT_EQ(leadingNumber(L"1e99999999999"), std::nullopt);
    EXPECT_EQ(leadingNumber(L"0.01e311"), std::nullopt);
    EXPECT_EQ(leadingNumber(L"1000e-400"), 0.0);
    EXPECT_EQ(leadingNumber(std::wstring(400, L'9')), std::nullopt);
    EXPECT_EQ(leadingNumber(L"&H" + std::wstring(300, L'F')), std::nullopt);

    // The digits and the exponent together decide, however long the text.
    const std::wstring zeros(200000, L'0');
    EXPECT_EQ(leadingNumber(L"1" + zeros + L"e-1000000"), 0.0);
    EXPECT_EQ(leadingNumber(L"1" + zeros + L"e-199999"), 10.0);
    EXPECT_EQ(leadingNumber(L"0." + zeros + L"1e1000000"), std::nullopt);
    // Leading fraction zeros lower the order: 1e-401 times 1e50 is tiny, not huge.
    EXPECT_EQ(leadingNumber(L"0." + std::wstring(400, L'0') + L"1e50"), 0.0);
    // An exponent past the 64-bit range saturates instead of wrapping.
    EXPECT_EQ(leadingNumber(L"1e9223372036854775808"), std::nullopt);
    EXPECT_EQ(leadingNumber(L"1e-9223372036854775808"), 0.0);
}

struct Writing {
    double value;
    const wchar_t* expected;
};

TEST(NumberText, WritesPlainDigitsThenExponentFormFromTenToTheFifteenth) {
    const Writing cases[] = {
        {1200, L"1200"},
        {0, L"0"},
        {-0.0, L"0"},
        {-7, L"-7"},
        {999999999999999, L"999999999999999"},
        {1e15, L"1E+15"},
        {-1e15, L"-1E+15"},
        {1234567890123456, L"1.23456789012346E+15"},
        {1e20, L"1E+20"},
        {1.5e20, L"1.5E+20"},
        {1.7976931348623157e308, L"1.79769313486232E+308"},
        {0.5, L"0.5"},
        {-0.5, L"-0.5"},
        {2.25, L"2.25"},
        {0.1, L"0.1"},
        {0.0001, L"0.0001"},
        {0.00001, L"1E-05"},
        {1.0 / 3, L"0.333333333333333"},
        {123456.789, L"123456.789"},
        {999999999999999.9, L"1E+15"},
        {123456789012345.67, L"123456789012346"},
        {99999999999999.999, L"100000000000000"},
        {0.99999999999999999, L"1"},
    };
    for (const Writing& c : cases) EXPECT_EQ(numberText(c.value), c.expected) << c.value;
}

TEST(NumberText, UsesTheDecimalMarkOnlyForFractions) {
    EXPECT_EQ(numberText(2.5, L','), L"2,5");
    EXPECT_EQ(numberText(1.5e20, L','), L"1,5E+20");
    EXPECT_EQ(numberText(1200, L','), L"1200");
}

TEST(NumberText, WritesZeroForNonFiniteValues) {
    EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), L"0");
    EXPECT_EQ(numberText(std::nan("")), L"0");
}

TEST(NumberText, ReadsBackToTheSameNumber) {
    for (double value : {0.0, 1200.0, 1e15, 1e20, 0.5, 0.00001, 123456.789})
        EXPECT_EQ(*leadingNumber(numberText(value)), value) << value;
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, double> cases[] = {
        {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2},
        {2.4999999999999996, 2}, {2.6, 3}, {-0.4, 0}, {1e300, 1e300},
    };
    for (auto [value, expected] : cases) EXPECT_EQ(numbers::roundHalfEven(value), expected) << value;
}

TEST(Rounding, IntegerConversionsRefuseValuesOutsideTheirRange) {
    EXPECT_EQ(numbers::toInt16(32766.5), 32766);
    EXPECT_EQ(numbers::toInt16(32767.4), 32767);
    EXPECT_EQ(numbers::toInt16(32767.5), std::nullopt);
    EXPECT_EQ(numbers::toInt16(-32768.5), -32768);
    EXPECT_EQ(numbers::toInt16(-32769), std::nullopt);
    EXPECT_EQ(numbers::toInt16(2.5), 2);

    EXPECT_EQ(numbers::toInt32(2147483647.0), 2147483647);
    EXPECT_EQ(numbers::toInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(numbers::toInt32(-2147483648.0), -2147483648);
    EXPECT_EQ(numbers::toInt32(-2147483648.5), -2147483648);
    EXPECT_EQ(numbers::toInt32(-2147483649.0), std::nullopt);
    EXPECT_EQ(numbers::toInt32(1e20), std::nullopt);
    EXPECT_EQ(numbers::toInt32(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(numbers::toInt32(std::nan("")), std::nullopt);
}

}  // namespace

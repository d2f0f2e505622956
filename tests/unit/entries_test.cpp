#include <gtest/gtest.h>

#include "tests/support/fake_platform.h"
#include "ui/main_window.h"

namespace {

using namespace ui;

struct EntriesTest : ::testing::Test {
    fake::FakePlatform fake;
    MainWindow window{fake.platform};

    EntriesTest() {
        window.state().screenWidth = 1024;
        window.state().screenHeight = 768;
    }

    // Puts a text into a field as a paste would, then normalises.
    std::wstring normalised(Ctl field, const std::wstring& text) {
        window.form().userEditedText(field, text);
        window.NormaliseEntries();
        return window.ctl(field).text();
    }
};

TEST_F(EntriesTest, WindowStartsInItsDesignTimeState) {
    EXPECT_TRUE(window.optRes(0).selected());
    for (int i = 1; i < optResCount; ++i) EXPECT_FALSE(window.optRes(i).selected()) << i;
    for (int i = 0; i < optResCount; ++i) EXPECT_EQ(window.optRes(i).enabled(), i != 6) << i;
    EXPECT_EQ(window.ctl(txtBreit).text(), L"1200");
    EXPECT_EQ(window.ctl(txtHoch).text(), L"900");
    EXPECT_FALSE(window.ctl(txtBreit).enabled());
    EXPECT_FALSE(window.ctl(txtHoch).enabled());
    EXPECT_EQ(window.ctl(chkBorder).value(), 1);
    EXPECT_EQ(window.ctl(txtBorder).text(), L"3");
    EXPECT_TRUE(window.ctl(txtBorder).enabled());
    EXPECT_EQ(window.ctl(chkTask).value(), 1);
    EXPECT_TRUE(window.optTask(0).selected());
    EXPECT_FALSE(window.optTask(1).selected());
    EXPECT_EQ(window.ctl(txtTask).text(), L"28");
    EXPECT_EQ(window.ctl(chkGo).value(), 0);
    EXPECT_EQ(window.ctl(chkBack).value(), 0);
    EXPECT_EQ(window.ctl(txtResult).text(), L"结果");
    EXPECT_FALSE(window.form().timerEnabled(Timer2));
    EXPECT_TRUE(window.form().timerEnabled(Timer1));
    EXPECT_EQ(window.form().timerInterval(Timer1), 100);
}

TEST_F(EntriesTest, CustomFieldsAreEnabledOnlyForTheCustomButton) {
    window.optTask(1).select();
    window.form().userClicked(optRes7);
    EXPECT_TRUE(window.ctl(txtBreit).enabled());
    EXPECT_TRUE(window.ctl(txtHoch).enabled());
    EXPECT_EQ(window.state().selectedResolution, 7);
    EXPECT_FALSE(window.optRes(0).selected());
    EXPECT_TRUE(window.optTask(1).selected()) << "the taskbar group is another container";

    window.optRes(3).select();
    EXPECT_FALSE(window.ctl(txtBreit).enabled());
    EXPECT_FALSE(window.ctl(txtHoch).enabled());
    EXPECT_EQ(window.state().selectedResolution, 3);
    EXPECT_FALSE(window.optRes(7).selected());
}

TEST_F(EntriesTest, CheckBoxesSwitchTheirGroups) {
    window.form().userClicked(chkBorder);
    EXPECT_FALSE(window.ctl(txtBorder).enabled());
    window.form().userClicked(chkBorder);
    EXPECT_TRUE(window.ctl(txtBorder).enabled());

    window.optTask(1).select();
    window.ctl(chkTask).setValue(0);
    EXPECT_FALSE(window.ctl(txtTask).enabled());
    EXPECT_FALSE(window.optTask(0).enabled());
    EXPECT_FALSE(window.optTask(1).enabled());
    EXPECT_TRUE(window.optTask(1).selected()) << "clearing keeps the orientation";
    window.ctl(chkTask).setValue(1);
    EXPECT_TRUE(window.ctl(txtTask).enabled());
    EXPECT_TRUE(window.optTask(0).enabled());
    EXPECT_TRUE(window.optTask(1).enabled());
    EXPECT_TRUE(window.optTask(1).selected());
}

TEST_F(EntriesTest, FocusSelectsTheWholeText) {
    for (Ctl field : {txtBreit, txtHoch, txtBorder, txtTask}) {
        window.form().userSelected(field, 1, 0);
        window.form().userGotFocus(field);
        EXPECT_EQ(window.ctl(field).selStart(), 0) << field;
        EXPECT_EQ(window.ctl(field).selLength(), static_cast<int>(window.ctl(field).text().size()))
            << field;
    }
}

TEST_F(EntriesTest, FieldsTakeOnlyDigitsAndEditingKeys) {
    const std::int16_t accepted[] = {'0', '5', '9', 8, 22, 3, 24};
    const std::int16_t refused[] = {'a', 'E', ' ', '-', '+', '.', ',', '/', ':', 13, 1, 26, 127, 0x4E2D, -1};
    for (Ctl field : {txtBreit, txtHoch, txtBorder, txtTask}) {
        for (std::int16_t code : accepted) EXPECT_EQ(window.form().userKeyPress(field, code), code);
        for (std::int16_t code : refused) EXPECT_EQ(window.form().userKeyPress(field, code), 0) << code;
    }
}

TEST_F(EntriesTest, NormalisingMakesWholeNonNegativeNumbers) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"-2.5", L"3"},    {L"-0.5", L"1"},   {L"0.5", L"0"},     {L"2.5", L"2"},
        {L"1 2 3", L"123"}, {L"12ab", L"12"},  {L"-7", L"7"},      {L"abc", L"0"},
        {L"", L"0"},        {L"     ", L"0"},  {L"-0", L"0"},      {L"&HFFF", L"4095"},
        {L"&O777", L"511"}, {L"99999", L"99999"}, {L"1e400", L"0"}, {L"1e20", L"1E+20"},
        // Too long for the field: 1E+100 and 1.2E+20 are cut, and the stumps
        // "1E+10" and "1.2E+" would read as other numbers later.
        {L"1e100", L"10000"}, {L"12e19", L"1"},
    };
    for (auto [typed, expected] : cases) {
        EXPECT_EQ(normalised(txtBorder, typed), expected) << testing::PrintToString(std::wstring(typed));
        window.NormaliseEntries();
        EXPECT_EQ(window.ctl(txtBorder).text(), expected) << "a normalised text stays as it is";
    }
}

// Every text of five characters from the characters that make numbers: the
// result is a plain number text that the next normalisation leaves alone.
TEST_F(EntriesTest, AnyShortTextNormalisesToAStableNumberText) {
    const std::wstring alphabet = L"09e+-.&H ";
    const std::size_t n = alphabet.size();
    std::wstring text(5, L' ');
    for (std::size_t code = 0; code < n * n * n * n * n; ++code) {
        for (std::size_t i = 0, rest = code; i < text.size(); ++i, rest /= n) text[i] = alphabet[rest % n];
        window.form().userEditedText(txtBorder, text);
        window.form().userEditedText(txtBreit, text);
        window.NormaliseEntries();
        const std::wstring border = window.ctl(txtBorder).text();
        const std::wstring width = window.ctl(txtBreit).text();
        window.NormaliseEntries();
        ASSERT_EQ(window.ctl(txtBorder).text(), border) << testing::PrintToString(text);
        ASSERT_EQ(window.ctl(txtBreit).text(), width) << testing::PrintToString(text);
        ASSERT_EQ(border.find_first_not_of(L"0123456789E+"), std::wstring::npos)
            << testing::PrintToString(text);
        ASSERT_LE(std::stoi(width), 1024) << testing::PrintToString(text);
    }
}

TEST_F(EntriesTest, AllFourFieldsAreNormalised) {
    window.form().userEditedText(txtBreit, L"-2.5");
    window.form().userEditedText(txtHoch, L"7x");
    window.form().userEditedText(txtBorder, L"1e400");
    window.form().userEditedText(txtTask, L" 2 8");
    window.NormaliseEntries();
    EXPECT_EQ(window.ctl(txtBreit).text(), L"3");
    EXPECT_EQ(window.ctl(txtHoch).text(), L"7");
    EXPECT_EQ(window.ctl(txtBorder).text(), L"0");
    EXPECT_EQ(window.ctl(txtTask).text(), L"28");
}

TEST_F(EntriesTest, CustomSizeIsCappedAtTheScreenOnlyWhenGreater) {
    // Capped even while a preset is chosen and the fields are disabled.
    window.NormaliseEntries();
    EXPECT_EQ(window.ctl(txtBreit).text(), L"1024");
    EXPECT_EQ(window.ctl(txtHoch).text(), L"768");

    window.form().userEditedText(txtBreit, L"1024");
    window.form().userEditedText(txtHoch, L"767");
    window.NormaliseEntries();
    EXPECT_EQ(window.ctl(txtBreit).text(), L"1024");
    EXPECT_EQ(window.ctl(txtHoch).text(), L"767");

    EXPECT_EQ(normalised(txtBreit, L"1025.9"), L"1024");
    EXPECT_EQ(normalised(txtBreit, L"1e20"), L"1024");
    EXPECT_EQ(normalised(txtHoch, L"&HFFF"), L"768");
}

TEST_F(EntriesTest, BorderAndTaskbarAreNeverCapped) {
    EXPECT_EQ(normalised(txtBorder, L"1600"), L"1600");
    EXPECT_EQ(normalised(txtTask, L"99999"), L"99999");
}

TEST_F(EntriesTest, FieldsKeepAtMostFiveCharacters) {
    window.ctl(txtBreit).setText(L"10000");
    window.ctl(txtBreit).setText(L"1000000");
    EXPECT_EQ(window.ctl(txtBreit).text(), L"10000");
    window.form().userEditedText(txtTask, L"123456");
    EXPECT_EQ(window.ctl(txtTask).text(), L"12345");
}

}  // namespace

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

using namespace ui;

const std::vector<std::wstring> tenKeys{L"SelectedResolution", L"CustomWidth", L"CustomHeight", L"AddBorder",
                                         L"Border",             L"SubtractTaskBar", L"TaskBar",
                                         L"TaskBarOrientation", L"PosLeft",      L"PosTop"};

// One run of the program after another against the same store.
struct SettingsTest : ::testing::Test, fake::ProgramRuns {
    std::wstring loadedText(const std::wstring& key, const std::wstring& value, Ctl entry) {
        store(key, value);
        return start().ctl(entry).text();
    }
    int selectedResolutionFor(const std::wstring& value) {
        store(L"SelectedResolution", value);
        MainWindow& w = start();
        int selected = -1;
        for (int i = 0; i < optResCount; ++i)
            if (w.optRes(i).selected()) {
                EXPECT_EQ(selected, -1) << "two buttons selected";
                selected = i;
            }
        EXPECT_EQ(selected, w.state().selectedResolution);
        return selected;
    }
};

TEST_F(SettingsTest, EmptyStoreGivesTheBuiltInChoicesAndCloseCreatesAllTenKeys) {
    MainWindow& w = start();
    EXPECT_TRUE(w.optRes(0).selected());
    EXPECT_EQ(w.state().selectedResolution, 0);
    EXPECT_EQ(w.ctl(txtBreit).text(), L"1200");
    EXPECT_EQ(w.ctl(txtHoch).text(), L"900");
    EXPECT_FALSE(w.ctl(txtBreit).enabled());
    EXPECT_EQ(w.ctl(chkBorder).value(), 1);
    EXPECT_EQ(w.ctl(txtBorder).text(), L"3");
    EXPECT_EQ(w.ctl(chkTask).value(), 1);
    EXPECT_EQ(w.ctl(txtTask).text(), L"28");
    EXPECT_TRUE(w.optTask(0).selected());
    EXPECT_EQ(w.form().left(), 1500);
    EXPECT_EQ(w.form().top(), 1200);
    EXPECT_EQ(fake.settings.readKeys, tenKeys);
    for (auto [id, tag] : {std::pair{txtBreit, L"1200"}, {txtHoch, L"900"}, {chkBorder, L"1"},
                           {txtBorder, L"3"}, {chkTask, L"1"}, {txtTask, L"28"}})
        EXPECT_EQ(w.ctl(id).tag(), tag) << id;

    EXPECT_EQ(close(), 0);
    EXPECT_EQ(fake.settings.writtenKeys, tenKeys);
    EXPECT_EQ(fake.settings.batches, 1) << "the ten in one step of the store";
    const std::vector<std::wstring> values{L"0", L"1200", L"900", L"1", L"3", L"1", L"28", L"0", L"1500", L"1200"};
    for (std::size_t i = 0; i < tenKeys.size(); ++i) EXPECT_EQ(stored(tenKeys[i]), values[i]) << tenKeys[i];
}

TEST_F(SettingsTest, EntryTextLoadsAsItsPlainNumber) {
    struct Case {
        const wchar_t* stored;
        const wchar_t* shown;
    };
    for (const Case& c : {Case{L"0012", L"12"}, {L"-50", L"-50"}, {L"abc", L"0"}, {L"", L"0"}, {L"1 2", L"12"},
                          {L"1e3", L"1000"}, {L"12.5px", L"12.5"},
                          // too long for the entry: the stump is made plain again
                          {L"123456", L"12345"}, {L"1.5e20", L"1.5"}, {L"-1e-9", L"-1"},
                          // beyond the double range: 0, as in the entry itself
                          {L"9E999", L"0"}, {L"-1e400", L"0"}})
        EXPECT_EQ(loadedText(L"CustomWidth", c.stored, txtBreit), c.shown) << c.stored;
}

TEST_F(SettingsTest, ResolutionIndexIsRoundedHalfToEvenAndOutOfRangeFallsBackToTheFirstPreset) {
    EXPECT_EQ(selectedResolutionFor(L"6.5"), 6);
    EXPECT_EQ(selectedResolutionFor(L"5.5"), 6);
    EXPECT_EQ(selectedResolutionFor(L"3"), 3);
    for (const wchar_t* bad : {L"7.5", L"8", L"-1", L"40000", L"1e400", L"-0.6"})
        EXPECT_EQ(selectedResolutionFor(bad), 0) << bad;
}

TEST_F(SettingsTest, CustomResolutionIsSelectedBeforeTheCustomSizeIsRead) {
    store(L"SelectedResolution", L"7");
    store(L"CustomWidth", L"800");
    bool checked = false;
    fake.settings.beforeRead = [&](const std::wstring& key) {
        if (key != L"CustomWidth") return;
        checked = true;
        EXPECT_EQ(window->state().selectedResolution, 7);
        EXPECT_TRUE(window->ctl(txtBreit).enabled());
        EXPECT_TRUE(window->ctl(txtHoch).enabled());
        // Each Tag is filled just before its own setting is read.
        EXPECT_EQ(window->ctl(txtBreit).tag(), L"1200");
        EXPECT_EQ(window->ctl(txtHoch).tag(), L"");
    };
    MainWindow& w = start();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(w.optRes(7).selected());
    EXPECT_EQ(w.ctl(txtBreit).text(), L"800");
    EXPECT_EQ(w.ctl(txtHoch).text(), L"900");
}

TEST_F(SettingsTest, TaskbarSettingsLoadThroughTheirClickBehaviour) {
    store(L"TaskBarOrientation", L"1");
    store(L"SubtractTaskBar", L"0");
    store(L"TaskBar", L"40");
    MainWindow& w = start();
    EXPECT_EQ(w.ctl(chkTask).value(), 0);
    EXPECT_FALSE(w.ctl(txtTask).enabled());
    EXPECT_FALSE(w.optTask(0).enabled());
    EXPECT_FALSE(w.optTask(1).enabled());
    EXPECT_TRUE(w.optTask(1).selected());
    EXPECT_FALSE(w.optTask(0).selected());
    EXPECT_EQ(w.ctl(txtTask).text(), L"40");
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(stored(L"TaskBarOrientation"), L"1");
    EXPECT_EQ(stored(L"SubtractTaskBar"), L"0");
}

TEST_F(SettingsTest, ValuesNoControlCanTakeFallBackToTheirDefaultsAndTheRestStillLoads) {
    store(L"TaskBarOrientation", L"2");
    store(L"AddBorder", L"3");
    store(L"SubtractTaskBar", L"70000");
    store(L"Border", L"7");
    MainWindow& w = start();
    EXPECT_TRUE(w.optTask(0).selected());
    EXPECT_EQ(w.ctl(chkBorder).value(), 1);
    EXPECT_EQ(w.ctl(chkTask).value(), 1);
    EXPECT_EQ(w.ctl(txtBorder).text(), L"7");

    store(L"AddBorder", L"2");  // the greyed state is a value a check box can hold
    EXPECT_EQ(start().ctl(chkBorder).value(), 2);
    EXPECT_TRUE(window->ctl(txtBorder).enabled());
}

TEST_F(SettingsTest, DefaultsButtonBringsBackTheTagsAndKeepsTheCustomSizePlain) {
    store(L"AddBorder", L"0");
    store(L"SelectedResolution", L"7");
    store(L"TaskBarOrientation", L"1");
    store(L"SubtractTaskBar", L"0");
    MainWindow& w = start();
    EXPECT_EQ(w.ctl(chkBorder).value(), 0);
    EXPECT_FALSE(w.ctl(txtBorder).enabled());
    w.form().userEditedText(txtBorder, L"10");
    w.form().userEditedText(txtTask, L"50");
    w.form().userEditedText(txtBreit, L"-640");
    w.form().userEditedText(txtHoch, L"0012");
    const std::size_t writes = fake.settings.writtenKeys.size();

    w.frmAmbrisk2_cmdRestoreDefaults_Click();
    EXPECT_EQ(w.ctl(txtBreit).text(), L"640");
    EXPECT_EQ(w.ctl(txtHoch).text(), L"12");
    EXPECT_EQ(w.ctl(chkBorder).value(), 1);
    EXPECT_TRUE(w.ctl(txtBorder).enabled());
    EXPECT_EQ(w.ctl(txtBorder).text(), L"3");
    EXPECT_EQ(w.ctl(chkTask).value(), 1);
    EXPECT_TRUE(w.ctl(txtTask).enabled());
    EXPECT_TRUE(w.optTask(0).enabled());
    EXPECT_EQ(w.ctl(txtTask).text(), L"28");
    EXPECT_TRUE(w.optRes(0).selected());
    EXPECT_EQ(w.state().selectedResolution, 0);
    EXPECT_FALSE(w.ctl(txtBreit).enabled());
    EXPECT_TRUE(w.optTask(0).selected());
    EXPECT_FALSE(w.optTask(1).selected());
    EXPECT_EQ(fake.settings.writtenKeys.size(), writes) << "the button writes nothing";

    // Only the sign goes: a fraction is kept.
    for (auto [typed, kept] : {std::pair{L"1280", L"1280"}, {L"-2.5", L"2.5"}, {L"", L"0"}, {L"abc", L"0"},
                               {L"9E999", L"0"}}) {
        w.form().userEditedText(txtBreit, typed);
        w.frmAmbrisk2_cmdRestoreDefaults_Click();
        EXPECT_EQ(w.ctl(txtBreit).text(), kept) << typed;
    }
}

TEST_F(SettingsTest, EntriesAreStoredAsTypedAndComeBackPlain) {
    MainWindow& w = start();
    w.form().userEditedText(txtBorder, L"");
    w.form().userEditedText(txtTask, L"0012");
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(stored(L"Border"), L"");
    EXPECT_EQ(stored(L"TaskBar"), L"0012");
    start();
    EXPECT_EQ(window->ctl(txtBorder).text(), L"0");
    EXPECT_EQ(window->ctl(txtTask).text(), L"12");
}

TEST_F(SettingsTest, ACopyUnderAnotherNameHasSettingsOfItsOwn) {
    store(L"CustomWidth", L"999");
    fake.process.baseName = L"Ambrisk2 copy";
    MainWindow& w = start();
    EXPECT_EQ(w.ctl(txtBreit).text(), L"1200");
    w.form().userEditedText(txtBreit, L"777");
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(stored(L"CustomWidth"), L"999");
    EXPECT_EQ(stored(L"CustomWidth", L"Ambrisk2 copy"), L"777");
}

TEST_F(SettingsTest, PositionIsStoredInTwipsAndReadBackExactly) {
    store(L"PosLeft", L"1500.5");
    store(L"PosTop", L"-300");
    MainWindow& w = start();
    EXPECT_EQ(w.form().left(), 1500.5f);
    EXPECT_EQ(w.form().top(), -300.0f);
    w.form().viewMoved(0.1f, 4000, 5400, 6300);
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(stored(L"PosLeft"), L"0.1");
    EXPECT_EQ(stored(L"PosTop"), L"4000");
}

TEST_F(SettingsTest, PositionThatIsNoFiniteFloatCountsAsAbsent) {
    store(L"PosLeft", L"1e39");
    store(L"PosTop", L"1" + std::wstring(400, L'0'));
    MainWindow& w = start();
    EXPECT_EQ(w.form().left(), 1500);
    EXPECT_EQ(w.form().top(), 1200);
}

TEST_F(SettingsTest, StoreThatRefusesGivesDefaultsAndClosesNormally) {
    store(L"CustomWidth", L"999");
    fake.settings.failReads = true;
    fake.settings.failWrites = true;
    MainWindow& w = start();
    EXPECT_EQ(w.ctl(txtBreit).text(), L"1200");
    EXPECT_TRUE(w.optRes(0).selected());
    EXPECT_EQ(close(), 0);
    EXPECT_EQ(stored(L"CustomWidth"), L"999");
}

}  // namespace

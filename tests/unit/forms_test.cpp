#include "platform/forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using forms::Kind;

enum { GroupA, OptA0, OptA1, OptB0, OptB1, Check, Field, Box, Count };

const forms::ControlDesign designs[Count] = {
    {.name = "fra", .index = -1, .kind = Kind::Frame, .container = -1, .text = L"",
     .left = 0, .top = 0, .width = 100, .height = 100, .tabIndex = 0},
    {.name = "a", .index = 0, .kind = Kind::Option, .container = GroupA, .text = L"a0",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 1, .value = 1},
    {.name = "a", .index = 1, .kind = Kind::Option, .container = GroupA, .text = L"a1",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 2},
    {.name = "b", .index = 0, .kind = Kind::Option, .container = -1, .text = L"b0",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 3, .value = 1},
    {.name = "b", .index = 1, .kind = Kind::Option, .container = -1, .text = L"b1",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 4},
    {.name = "chk", .index = -1, .kind = Kind::Toggle, .container = -1, .text = L"go",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 5},
    {.name = "txt", .index = -1, .kind = Kind::TextField, .container = -1, .text = L"1200",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 6, .maxLength = 5},
    {.name = "box", .index = -1, .kind = Kind::CheckBox, .container = -1, .text = L"on",
     .left = 0, .top = 0, .width = 10, .height = 10, .tabIndex = 7},
};

// Records the events and view notifications the model raises.
struct Recorder : forms::FormEvents, forms::FormView {
    std::vector<int> clicks;
    std::vector<std::pair<int, forms::Property>> changes;
    std::function<void(int)> onClick;
    void click(int id) override {
        clicks.push_back(id);
        if (onClick) onClick(id);
    }
    void gotFocus(int) override {}
    void keyPress(int, std::int16_t& code) override {
        if (code == 'a') code = 0;
    }
    void timerTick(int) override {}
    void controlChanged(int id, forms::Property what) override { changes.emplace_back(id, what); }
    void timerChanged(int) override {}
    void positionChanged() override {}
};

struct FormsTest : ::testing::Test {
    forms::Form form{designs, Count, 1};
    Recorder recorder;
    FormsTest() {
        form.setEvents(&recorder);
        form.setView(&recorder);
    }
};

TEST_F(FormsTest, ValueAssignedByCodeRaisesClickOnlyWhenItChanges) {
    forms::Control& toggle = form.control(Check);
    toggle.setValue(0);
    EXPECT_TRUE(recorder.clicks.empty());
    toggle.setValue(1);
    toggle.setValue(1);
    EXPECT_EQ(recorder.clicks, std::vector<int>{Check});
}

TEST_F(FormsTest, ClickRunsInsideTheAssignment) {
    int seenValue = -1;
    recorder.onClick = [&](int id) { seenValue = form.control(id).value(); };
    form.control(Check).setValue(1);
    EXPECT_EQ(seenValue, 1);
}

TEST_F(FormsTest, OptionsExcludeEachOtherOnlyWithinTheirContainer) {
    form.control(OptA1).select();
    EXPECT_FALSE(form.control(OptA0).selected());
    EXPECT_TRUE(form.control(OptA1).selected());
    EXPECT_TRUE(form.control(OptB0).selected());  // other container untouched
    EXPECT_EQ(recorder.clicks, std::vector<int>{OptA1});

    form.control(OptA1).select();  // already selected: nothing raised
    EXPECT_EQ(recorder.clicks.size(), 1u);
}

TEST_F(FormsTest, CodeCanSelectADisabledOptionButTheUserCannotClickIt) {
    form.control(OptA1).setEnabled(false);
    form.userClicked(OptA1);
    EXPECT_TRUE(form.control(OptA0).selected());
    form.control(OptA1).select();
    EXPECT_TRUE(form.control(OptA1).selected());
}

TEST_F(FormsTest, UserClickTicksAClearOrGreyedBoxOrToggleAndClearsATickedOne) {
    for (const int id : {Check, Box}) {
        form.userClicked(id);
        EXPECT_EQ(form.control(id).value(), 1);
        form.userClicked(id);
        EXPECT_EQ(form.control(id).value(), 0);
        form.control(id).setValue(2);
        form.userClicked(id);  // greyed shows no tick and counts as clear: the click turns it on
        EXPECT_EQ(form.control(id).value(), 1);
    }
}

TEST_F(FormsTest, TextFromCodeIsCutToTheMaximumLength) {
    form.control(Field).setText(L"1000000");
    EXPECT_EQ(form.control(Field).text(), L"10000");
    form.userEditedText(Field, L"1234567");
    EXPECT_EQ(form.control(Field).text(), L"12345");
}

TEST_F(FormsTest, UserEditIsNotEchoedToTheView) {
    form.userEditedText(Field, L"42");
    EXPECT_TRUE(recorder.changes.empty());
    form.control(Field).setText(L"43");
    ASSERT_EQ(recorder.changes.size(), 1u);
    EXPECT_EQ(recorder.changes[0].first, Field);
}

TEST_F(FormsTest, SelectionStaysInsideTheText) {
    forms::Control& field = form.control(Field);
    field.setSelStart(0);
    field.setSelLength(99);
    EXPECT_EQ(field.selLength(), 4);
    field.setText(L"7");
    EXPECT_EQ(field.selStart(), 0);
    EXPECT_EQ(field.selLength(), 1);
}

TEST_F(FormsTest, KeyPressHandlerMayCancelTheCharacter) {
    EXPECT_EQ(form.userKeyPress(Field, 'a'), 0);
    EXPECT_EQ(form.userKeyPress(Field, '5'), '5');
}

}  // namespace

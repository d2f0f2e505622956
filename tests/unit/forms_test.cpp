#include "platform/forms.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "platform/tab_order.h"
#include "platform/twips.h"

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
    std::function<void(int)> onFocus;
    void click(int id) override {
        clicks.push_back(id);
        if (onClick) onClick(id);
    }
    void gotFocus(int id) override {
        if (onFocus) onFocus(id);
    }
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

TEST_F(FormsTest, TheViewKeepsTheFocusSelectionOnlyWhenTheHandlerChoseOne) {
    form.control(Field).setSelStart(1);  // before the focus: not the handler's
    EXPECT_FALSE(form.userGotFocus(Field));
    recorder.onFocus = [&](int id) { form.control(id).setSelLength(2); };
    EXPECT_TRUE(form.userGotFocus(Field));
    recorder.onFocus = [&](int id) { form.control(id).setText(L"9"); };
    EXPECT_FALSE(form.userGotFocus(Field));
}

TEST_F(FormsTest, ATimerRunsWhileEnabledWithAnInterval) {
    form.setTimerInterval(0, 400);
    EXPECT_EQ(form.runningInterval(0), 0);
    form.setTimerEnabled(0, true);
    EXPECT_EQ(form.runningInterval(0), 400);
    form.setTimerInterval(0, 0);
    EXPECT_EQ(form.runningInterval(0), 0);
}

// Records what a view of real controls is asked to show.
struct ShownView final : forms::ControlView {
    using ControlView::ControlView;
    std::vector<std::string> shown;
    void showText(int id) override { shown.push_back("text " + std::to_string(id)); }
    void showValue(int id) override { shown.push_back("value " + std::to_string(id)); }
    void showEnabled(int id) override { shown.push_back("enabled " + std::to_string(id)); }
    void showSelection(int id) override { shown.push_back("selection " + std::to_string(id)); }
    void timerChanged(int) override {}
    void positionChanged() override {}
};

TEST_F(FormsTest, AFieldShowsItsSelectionAgainAfterItsText) {
    ShownView view(form);
    form.setView(&view);
    form.control(Field).setText(L"7");
    form.control(Check).setValue(1);
    form.control(Box).setEnabled(false);
    form.control(Field).setSelStart(0);
    EXPECT_EQ(view.shown,
              (std::vector<std::string>{"text 6", "selection 6", "value 5", "enabled 7", "selection 6"}));
}

TEST_F(FormsTest, TabStopsAtEnabledControlsAndOnceInAnOptionGroup) {
    const std::vector<int> order = forms::tabOrder(form);
    EXPECT_EQ(order, (std::vector<int>{OptA0, OptA1, OptB0, OptB1, Check, Field, Box}));
    EXPECT_EQ(forms::nextTabStop(form, order, -1, false), OptA0);  // where an opening window puts it
    EXPECT_EQ(forms::nextTabStop(form, order, -1, true), Box);
    EXPECT_EQ(forms::nextTabStop(form, order, OptA0, false), OptB0);
    EXPECT_EQ(forms::nextTabStop(form, order, Box, false), OptA0);
    form.control(OptA1).select();
    form.control(Check).setEnabled(false);
    EXPECT_EQ(forms::nextTabStop(form, order, Box, false), OptA1);
    EXPECT_EQ(forms::nextTabStop(form, order, Field, true), OptB0);
    for (const int id : order) form.control(id).setEnabled(false);
    EXPECT_EQ(forms::nextTabStop(form, order, Box, false), -1);
}

TEST_F(FormsTest, ArrowsGoRoundTheEnabledButtonsOfTheGroup) {
    const std::vector<int> order = forms::tabOrder(form);
    EXPECT_EQ(forms::nextInOptionGroup(form, order, OptA0, false), OptA1);
    EXPECT_EQ(forms::nextInOptionGroup(form, order, OptA0, true), OptA1);
    EXPECT_EQ(forms::nextInOptionGroup(form, order, OptB1, false), OptB0);
    form.control(OptA1).setEnabled(false);
    EXPECT_EQ(forms::nextInOptionGroup(form, order, OptA0, false), -1);
}

TEST_F(FormsTest, AnOptionStartingInsideAnEarlierOneLiesInFrontOfIt) {
    forms::ControlDesign earlier = designs[OptA0], later = designs[OptA1];
    earlier.width = later.width = 100;
    later.left = 84;  // 16 twips over: the earlier one would hide its circle
    EXPECT_TRUE(forms::mustLieInFront(later, earlier));
    EXPECT_FALSE(forms::mustLieInFront(earlier, later));
    later.left = 85;  // a pixel at 96 DPI hides nothing
    EXPECT_FALSE(forms::mustLieInFront(later, earlier));
    later.left = 0;
    later.top = earlier.height;  // the row below
    EXPECT_FALSE(forms::mustLieInFront(later, earlier));
    EXPECT_FALSE(forms::mustLieInFront(designs[OptB1], designs[OptA0]));  // another group
}

TEST(Twips, PixelsAtAnyDpiRoundHalvesAwayFromZeroAndPositionsStayOnAScreen) {
    EXPECT_EQ(forms::twipsToPixels(5295, 96), 353);
    EXPECT_EQ(forms::twipsToPixels(5, 144), 1);  // 0.5 pixel
    EXPECT_EQ(forms::twipsToPixels(-5, 144), -1);
    EXPECT_EQ(forms::twipsToPixels(4, 144), 0);
    EXPECT_EQ(forms::positionToPixels(1500.0f, 144), 150);
    EXPECT_EQ(forms::positionToPixels(-1e30f, 144), -32000);
    EXPECT_EQ(forms::positionToPixels(std::nanf(""), 144), 0);
    EXPECT_FLOAT_EQ(forms::pixelsToTwips(150, 144), 1500.0f);
    EXPECT_FLOAT_EQ(forms::twipsPerPixel(192), 7.5f);
}

}  // namespace

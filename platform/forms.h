#pragma once
// A small retained model of a dialog window and its controls. It owns the
// semantics that handlers rely on: a click raised inside a value assignment
// made by code, option buttons exclusive within their container, a text cut
// to the field's maximum length. A view (a window binding, or nothing in the
// unit tests) mirrors the model and feeds user input back into it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace forms {

using Text = std::wstring;

enum class Kind { Label, Button, Toggle, CheckBox, Frame, Option, TextField };
enum class Align { Left, Centre, Right };

struct Colour {
    std::uint8_t red, green, blue;
};

struct FontSpec {
    const wchar_t* face;  // nullptr: the platform's default dialog font
    float points;
    int weight;
    bool underline;
};

// Design-time description of one control; positions in twips, relative to
// the container's top-left corner (the client area when container < 0).
struct ControlDesign {
    const char* name;
    int index;       // index within a control group, -1 for a single control
    Kind kind;
    int container;   // id of the containing frame, -1 for the window
    const wchar_t* text;
    int left, top, width, height;
    int tabIndex;
    bool enabled = true;
    int value = 0;       // check box / toggle value, or 1 for a selected option
    int maxLength = 0;   // 0: unlimited
    Align align = Align::Left;
    const wchar_t* tooltip = nullptr;
    std::optional<FontSpec> font{};
    std::optional<Colour> textColour{};
    bool multiLine = false;
    bool readOnly = false;
    bool verticalScrollBar = false;
    bool buttonFaceBackground = false;
    // What a screen reader calls a control whose caption does not say it.
    const wchar_t* accessibleName = nullptr;
};

// What a view needs of the window besides its controls and timers.
struct WindowDesign {
    const wchar_t* title;
    int clientWidthTwips;
    int clientHeightTwips;
};

// Whether two controls are option buttons of one group: the buttons of one
// container exclude each other, and the arrow keys go round them.
bool inOneOptionGroup(const ControlDesign& a, const ControlDesign& b);

enum class Property { Text, Value, Enabled, Selection };

// Events the model raises towards the program's handlers.
class FormEvents {
public:
    virtual void click(int id) = 0;
    virtual void gotFocus(int id) = 0;
    virtual void keyPress(int id, std::int16_t& keyAscii) = 0;
    virtual void timerTick(int timer) = 0;

protected:
    ~FormEvents() = default;
};

// Changes the model reports to its view so that the real controls follow.
class FormView {
public:
    virtual void controlChanged(int id, Property what) = 0;
    virtual void timerChanged(int timer) = 0;
    virtual void positionChanged() = 0;

protected:
    ~FormView() = default;
};

class Form;

// A view's top-level window, as the entry point holds it once it is made.
class ViewWindow {
public:
    virtual ~ViewWindow() = default;
    // Shows the window and handles the program's events until the window
    // has been closed; gives the exit code.
    virtual int run() = 0;
};

// A view of real controls: each change of a control comes to the member for
// its kind, and a field whose text changed shows the model's selection again
// (a control moves its caret when its text is set).
class ControlView : public FormView {
public:
    explicit ControlView(const Form& form) : viewed_(form) {}
    void controlChanged(int id, Property what) final;

protected:
    ~ControlView() = default;
    virtual void showText(int id) = 0;
    virtual void showValue(int id) = 0;
    virtual void showEnabled(int id) = 0;
    virtual void showSelection(int id) = 0;

private:
    const Form& viewed_;
};

class Control {
public:
    Control(Form& form, int id, const ControlDesign& design);

    int id() const { return id_; }
    const ControlDesign& design() const { return *design_; }
    Kind kind() const { return design_->kind; }

    const Text& text() const { return text_; }
    void setText(const Text& text);  // cut to the maximum length

    // Check box / toggle: 0, 1 or 2. Option: 1 selected, 0 cleared.
    int value() const { return value_; }
    void setValue(int value);  // raises click when the value changes
    bool selected() const { return value_ != 0; }
    void select() { setValue(1); }

    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    const Text& tag() const { return tag_; }
    void setTag(const Text& tag) { tag_ = tag; }

    int selStart() const { return selStart_; }
    int selLength() const { return selLength_; }
    void setSelStart(int start);
    void setSelLength(int length);

    int maxLength() const { return design_->maxLength; }
    const wchar_t* tooltip() const { return design_->tooltip; }

private:
    friend class Form;
    Text cut(const Text& text) const;

    Form* form_;
    int id_;
    const ControlDesign* design_;
    Text text_;
    int value_;
    bool enabled_;
    Text tag_;
    int selStart_ = 0;
    int selLength_ = 0;
};

struct Timer {
    int interval = 0;  // milliseconds
    bool enabled = false;
};

class Form {
public:
    Form(const ControlDesign* designs, int count, int timerCount);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    void setEvents(FormEvents* events) { events_ = events; }
    void setView(FormView* view) { view_ = view; }

    Control& control(int id) { return controls_.at(static_cast<std::size_t>(id)); }
    const Control& control(int id) const { return controls_.at(static_cast<std::size_t>(id)); }
    int controlCount() const { return static_cast<int>(controls_.size()); }

    int timerCount() const { return static_cast<int>(timers_.size()); }
    int timerInterval(int timer) const { return timers_.at(static_cast<std::size_t>(timer)).interval; }
    bool timerEnabled(int timer) const { return timers_.at(static_cast<std::size_t>(timer)).enabled; }
    // The interval of a timer that runs, 0 for one that does not: a timer
    // runs while it is enabled with an interval above 0.
    int runningInterval(int timer) const;
    void setTimerInterval(int timer, int milliseconds);
    void setTimerEnabled(int timer, bool enabled);

    // The outer frame in twips, as the forms layer reports it.
    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    void setLeft(float twips);
    void setTop(float twips);

    // The window's own handle, 0 until the view has created it.
    std::uint32_t hWnd() const { return hWnd_; }

    // Twips per physical pixel at the window's DPI (15 at 96 DPI); the view
    // keeps it in step with the monitor the window is on.
    float twipsPerPixel() const { return twipsPerPixel_; }

    // --- Input from the view: what the user did to the real controls. ---
    void userClicked(int id);
    void userEditedText(int id, const Text& text);  // no echo to the view
    void userSelected(int id, int start, int length);
    // True when the got-focus handler chose a selection, which the view then
    // keeps over the caret that its control places itself; otherwise the
    // view's selection is the model's to take.
    bool userGotFocus(int id);
    // Returns the character to insert, 0 when the handler swallowed it.
    std::int16_t userKeyPress(int id, std::int16_t keyAscii);
    void timerFired(int timer);
    void viewCreated(std::uint32_t hWnd) { hWnd_ = hWnd; }
    void viewMoved(float left, float top, float width, float height);
    void viewDpiChanged(float twipsPerPixel) { twipsPerPixel_ = twipsPerPixel; }

private:
    friend class Control;
    void changed(int id, Property what);
    void raiseClick(int id);

    std::vector<Control> controls_;
    std::vector<Timer> timers_;
    FormEvents* events_ = nullptr;
    FormView* view_ = nullptr;
    float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::uint32_t hWnd_ = 0;
    float twipsPerPixel_ = 15.0f;
    bool selectionChosen_ = false;  // a selection was set since the last focus event
};

}  // namespace forms

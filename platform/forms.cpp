#include "platform/forms.h"

#include <algorithm>

namespace forms {

bool inOneOptionGroup(const ControlDesign& a, const ControlDesign& b) {
    return a.kind == Kind::Option && b.kind == Kind::Option && a.container == b.container;
}

void ControlView::controlChanged(int id, Property what) {
    switch (what) {
        case Property::Text:
            showText(id);
            if (viewed_.control(id).kind() == Kind::TextField) showSelection(id);
            break;
        case Property::Value: showValue(id); break;
        case Property::Enabled: showEnabled(id); break;
        case Property::Selection: showSelection(id); break;
    }
}

Control::Control(Form& form, int id, const ControlDesign& design)
    : form_(&form),
      id_(id),
      design_(&design),
      text_(design.text ? design.text : L""),
      value_(design.value),
      enabled_(design.enabled) {
    text_ = cut(text_);
}

Text Control::cut(const Text& text) const {
    if (design_->maxLength > 0 && text.size() > static_cast<std::size_t>(design_->maxLength))
        return text.substr(0, static_cast<std::size_t>(design_->maxLength));
    return text;
}

void Control::setText(const Text& text) {
    Text kept = cut(text);
    if (kept == text_) return;
    text_ = std::move(kept);
    // A shorter text pulls the caret back inside it, as an edit control does.
    const int length = static_cast<int>(text_.size());
    selStart_ = std::min(selStart_, length);
    selLength_ = std::min(selLength_, length - selStart_);
    form_->changed(id_, Property::Text);
}

void Control::setValue(int value) {
    if (kind() == Kind::Option) {
        const int selectedValue = value != 0 ? 1 : 0;
        if (selectedValue == value_) return;
        value_ = selectedValue;
        form_->changed(id_, Property::Value);
        if (selectedValue == 0) return;  // clearing an option raises nothing
        for (Control& other : form_->controls_) {
            if (&other != this && inOneOptionGroup(*other.design_, *design_) && other.value_ != 0) {
                other.value_ = 0;
                form_->changed(other.id_, Property::Value);
            }
        }
        form_->raiseClick(id_);
        return;
    }
    if (value == value_) return;
    value_ = value;
    form_->changed(id_, Property::Value);
    form_->raiseClick(id_);
}

void Control::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    form_->changed(id_, Property::Enabled);
}

void Control::setSelStart(int start) {
    const int length = static_cast<int>(text_.size());
    selStart_ = std::clamp(start, 0, length);
    selLength_ = 0;  // moving the start collapses the selection
    form_->changed(id_, Property::Selection);
}

void Control::setSelLength(int length) {
    const int room = static_cast<int>(text_.size()) - selStart_;
    selLength_ = std::clamp(length, 0, room);
    form_->changed(id_, Property::Selection);
}

Form::Form(const ControlDesign* designs, int count, int timerCount)
    : timers_(static_cast<std::size_t>(timerCount)) {
    controls_.reserve(static_cast<std::size_t>(count));
    for (int id = 0; id < count; ++id) controls_.emplace_back(*this, id, designs[id]);
}

int Form::runningInterval(int timer) const {
    return timerEnabled(timer) && timerInterval(timer) > 0 ? timerInterval(timer) : 0;
}

void Form::setTimerInterval(int timer, int milliseconds) {
    // Assigning the interval restarts a running timer, even with the same value.
    timers_.at(static_cast<std::size_t>(timer)).interval = milliseconds;
    if (view_) view_->timerChanged(timer);
}

void Form::setTimerEnabled(int timer, bool enabled) {
    Timer& t = timers_.at(static_cast<std::size_t>(timer));
    if (t.enabled == enabled) return;
    t.enabled = enabled;
    if (view_) view_->timerChanged(timer);
}

void Form::setLeft(float twips) {
    left_ = twips;
    if (view_) view_->positionChanged();
}

void Form::setTop(float twips) {
    top_ = twips;
    if (view_) view_->positionChanged();
}

void Form::userClicked(int id) {
    Control& c = control(id);
    if (!c.enabled()) return;
    switch (c.kind()) {
        case Kind::CheckBox:
        case Kind::Toggle:
            // A click ticks a clear or greyed box and clears a ticked one.
            c.setValue(c.value() == 1 ? 0 : 1);
            break;
        case Kind::Option:
            c.select();
            break;
        case Kind::Button:
            raiseClick(id);
            break;
        default:
            break;
    }
}

void Form::userEditedText(int id, const Text& text) {
    Control& c = control(id);
    c.text_ = c.cut(text);
}

void Form::userSelected(int id, int start, int length) {
    Control& c = control(id);
    const int size = static_cast<int>(c.text_.size());
    c.selStart_ = std::clamp(start, 0, size);
    c.selLength_ = std::clamp(length, 0, size - c.selStart_);
}

bool Form::userGotFocus(int id) {
    selectionChosen_ = false;
    if (events_) events_->gotFocus(id);
    return selectionChosen_;
}

std::int16_t Form::userKeyPress(int id, std::int16_t keyAscii) {
    if (events_) events_->keyPress(id, keyAscii);
    return keyAscii;
}

void Form::timerFired(int timer) {
    if (timerEnabled(timer) && events_) events_->timerTick(timer);
}

void Form::viewMoved(float left, float top, float width, float height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void Form::changed(int id, Property what) {
    if (what == Property::Selection) selectionChosen_ = true;
    if (view_) view_->controlChanged(id, what);
}

void Form::raiseClick(int id) {
    if (events_) events_->click(id);
}

}  // namespace forms

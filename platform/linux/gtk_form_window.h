#pragma once
// The window that createFormWindow makes, private to the GTK layer. A click
// on a check box, toggle or option button changes nothing by itself: the
// widget is put back to the model's value right after the model has taken
// the click. Its member functions are defined by job: gtk_form_window.cpp
// (the top-level window, its icon, scale and position), gtk_form_controls.cpp
// (the widgets, tab order, tooltips, accessible ids), gtk_form_input.cpp
// (what the user does, to the model), gtk_form_view_updates.cpp (model to
// widgets, timers) and gtk_form_style.cpp (fonts, colours and compact
// metrics).
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/forms.h"
#include "platform/linux/gtk_form_binding.h"

namespace platform::gtk {

class FormWindow final : public forms::ViewWindow, private forms::ControlView {
public:
    FormWindow(forms::Form& form, const forms::WindowDesign& design, std::function<void()> closing);
    ~FormWindow() override;
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;

    bool created() const { return window_ != nullptr; }
    int run() override;  // gtk_main()

private:
    struct ControlWidgets {
        GtkWidget* widget = nullptr;  // the control itself: focus, value, text
        GtkWidget* placed = nullptr;  // what sits on the canvas: a text view's scrolled window
    };

    // The top-level window
    void setWindowManagerHints();
    void setIcon();
    void positionChanged() override;
    void reportPosition();
    void reportScale();
    void windowDestroyed();

    // Controls
    bool createControls(GtkWidget* canvas);
    GtkWidget* createWidget(int id);
    void describeForAccessibility(int id);
    int controlIdOf(GtkWidget* widget) const;
    GtkWidget* widget(int id) const { return controls_.at(static_cast<std::size_t>(id)).widget; }
    bool isEntry(int id) const;

    // Input
    void connectInput(int id);
    void clicked(int id);
    bool keyPressed(const GdkEventKey& key);
    bool entryKeyPressed(int id, const GdkEventKey& key);
    void moveInOptionGroup(int id, bool backwards);
    void typeCharacter(int id, std::int16_t code);
    void insertUnfiltered(int id, const std::string& utf8);
    void filterInsertedText(int id, const char* text, int length, int* position);
    void pasteClipboard(int id);
    void focusEntered(int id);
    void reapplyFocusSelection();
    void syncSelection(int id);

    // Model to view (forms::ControlView)
    void showText(int id) override;
    void showValue(int id) override;
    void showOptionGroupOf(int id);
    void showEnabled(int id) override;
    void showSelection(int id) override;
    void timerChanged(int timer) override;
    void stopTimers();

    // Style
    void applyStyle();

    forms::Form& form_;
    forms::WindowDesign design_;
    std::function<void()> closing_;
    GtkWidget* window_ = nullptr;      // destroyed by the destructor or by the user's close
    GtkCssProvider* style_ = nullptr;  // on the window's screen while the window lives
    std::vector<ControlWidgets> controls_;
    std::vector<int> tabOrder_;        // focusable controls in the order of the Tab key
    std::vector<guint> timerSources_;  // 0: not running
    int reselectControl_ = -1;         // the field whose focus selection is still to be applied again
    guint reselectSource_ = 0;         // the idle call that applies it after a focus by key
    int scaleFactor_ = 1;
    bool mirroring_ = false;            // the binding itself is setting a widget's value
    bool echoing_ = false;              // the binding itself is writing a widget's text
    bool insertingUnfiltered_ = false;  // text that has passed the key filter or is pasted
};

}  // namespace platform::gtk

// The widgets of the form window: their kinds and settings, their place on
// the canvas, the order of the Tab key, tooltips and accessible ids.
#include <algorithm>
#include <string>

#include "platform/linux/gtk_form_canvas.h"
#include "platform/linux/gtk_form_window.h"
#include "platform/linux/gtk_text.h"
#include "platform/linux/logical_pixels.h"
#include "platform/tab_order.h"

namespace platform::gtk {

namespace {

// A frame without a title still draws its top line half a text line down.
constexpr int untitledFrameLineOffset = 6;

PixelRect pixelRect(int left, int top, int width, int height) {
    // Edges rounded on their own, so that neighbours stay flush.
    const int x = toLogicalPixels(left), y = toLogicalPixels(top);
    return {x, y, toLogicalPixels(left + width) - x, toLogicalPixels(top + height) - y};
}

float alignment(forms::Align align) {
    switch (align) {
        case forms::Align::Left: return 0.0f;
        case forms::Align::Centre: return 0.5f;
        case forms::Align::Right: return 1.0f;
    }
    return 0.0f;
}

GtkWidget* newWrappingLabel(const forms::ControlDesign& design, const std::string& text) {
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_xalign(GTK_LABEL(label), alignment(design.align));
    return label;
}

// A button-like widget whose caption wraps within its width; push buttons
// and toggles centre it.
GtkWidget* withCaption(GtkWidget* button, const forms::ControlDesign& design, const std::string& text) {
    GtkWidget* label = newWrappingLabel(design, text);
    if (design.kind == forms::Kind::Button || design.kind == forms::Kind::Toggle) {
        gtk_label_set_xalign(GTK_LABEL(label), 0.5f);
        gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    }
    gtk_widget_show(label);
    gtk_container_add(GTK_CONTAINER(button), label);
    return button;
}

std::string accessibleId(const forms::ControlDesign& design) {
    std::string id = design.name;
    if (design.index >= 0) id.append("(").append(std::to_string(design.index)).append(")");
    return id;
}

}  // namespace

bool FormWindow::createControls(GtkWidget* canvas) {
    const int count = form_.controlCount();
    controls_.assign(static_cast<std::size_t>(count), ControlWidgets{});

    // Added to the canvas in drawing order: frames at the back, then labels
    // (drawn beneath the other controls, as the forms layer does), then the
    // rest in tab order, so that of two overlapping option buttons the later
    // one lies in front and takes the click.
    std::vector<int> order = forms::byTabIndex(form_);
    const auto layer = [this](int id) {
        switch (form_.control(id).kind()) {
            case forms::Kind::Frame: return 0;
            case forms::Kind::Label: return 1;
            default: return 2;
        }
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return layer(a) < layer(b); });

    for (const int id : order) {
        const forms::ControlDesign& design = form_.control(id).design();
        GtkWidget* placed = createWidget(id);
        if (!placed) return false;
        // Positions inside a frame count from the frame's outer corner.
        int left = design.left, top = design.top;
        if (design.container >= 0) {
            left += form_.control(design.container).design().left;
            top += form_.control(design.container).design().top;
        }
        PixelRect rect = pixelRect(left, top, design.width, design.height);
        if (design.kind == forms::Kind::Frame && form_.control(id).text().empty()) {
            rect.y += untitledFrameLineOffset;
            rect.height -= untitledFrameLineOffset;
        }
        putOnCanvas(canvas, placed, rect);
        gtk_widget_set_sensitive(placed, form_.control(id).enabled());
        if (const wchar_t* tip = design.tooltip) gtk_widget_set_tooltip_text(widget(id), toUtf8(tip).c_str());
        describeForAccessibility(id);
        connectInput(id);
        gtk_widget_show(placed);
    }
    tabOrder_ = forms::tabOrder(form_);
    return true;
}

GtkWidget* FormWindow::createWidget(int id) {
    const forms::Control& control = form_.control(id);
    const forms::ControlDesign& design = control.design();
    const std::string text = toUtf8(control.text());
    ControlWidgets& made = controls_.at(static_cast<std::size_t>(id));
    switch (design.kind) {
        case forms::Kind::Label: {
            made.widget = newWrappingLabel(design, text);
            gtk_label_set_yalign(GTK_LABEL(made.widget), 0.0f);
            break;
        }
        case forms::Kind::Button: made.widget = withCaption(gtk_button_new(), design, text); break;
        case forms::Kind::Toggle: made.widget = withCaption(gtk_toggle_button_new(), design, text); break;
        case forms::Kind::CheckBox: made.widget = withCaption(gtk_check_button_new(), design, text); break;
        case forms::Kind::Option: {
            // Exclusive within their container: one GTK group per frame (or the window).
            GSList* group = nullptr;
            for (int other = 0; other < form_.controlCount() && !group; ++other) {
                if (other != id && forms::inOneOptionGroup(form_.control(other).design(), design) && widget(other))
                    group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(widget(other)));
            }
            made.widget = withCaption(gtk_radio_button_new(group), design, text);
            break;
        }
        case forms::Kind::Frame: made.widget = gtk_frame_new(text.empty() ? nullptr : text.c_str()); break;
        case forms::Kind::TextField: {
            if (design.multiLine) {
                made.widget = gtk_text_view_new();
                GtkTextView* view = GTK_TEXT_VIEW(made.widget);
                gtk_text_view_set_wrap_mode(view, GTK_WRAP_WORD_CHAR);
                gtk_text_view_set_editable(view, !design.readOnly);
                gtk_text_buffer_set_text(gtk_text_view_get_buffer(view), text.c_str(), -1);
                GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
                gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scrolled), GTK_POLICY_NEVER,
                                               design.verticalScrollBar ? GTK_POLICY_ALWAYS : GTK_POLICY_NEVER);
                // A scroll bar that is always there, as the form shows it.
                gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(scrolled), FALSE);
                gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scrolled), GTK_SHADOW_IN);
                gtk_container_add(GTK_CONTAINER(scrolled), made.widget);
                gtk_widget_show(made.widget);
                made.placed = scrolled;
            } else {
                made.widget = gtk_entry_new();
                GtkEntry* entry = GTK_ENTRY(made.widget);
                gtk_entry_set_width_chars(entry, 1);
                if (design.maxLength > 0) gtk_entry_set_max_length(entry, design.maxLength);
                gtk_editable_set_editable(GTK_EDITABLE(entry), !design.readOnly);
                // The fields take numbers: no emoji chooser, no composing input method.
                gtk_entry_set_input_purpose(entry, GTK_INPUT_PURPOSE_DIGITS);
                gtk_entry_set_input_hints(entry, GTK_INPUT_HINT_NO_EMOJI);
                echoing_ = true;
                gtk_entry_set_text(entry, text.c_str());
                echoing_ = false;
            }
            break;
        }
    }
    if (!made.widget) return nullptr;
    if (!made.placed) made.placed = made.widget;
    gtk_widget_set_name(made.widget, design.name);
    g_object_set_data(G_OBJECT(made.widget), "ambrisk-control", GINT_TO_POINTER(id + 1));
    if (design.kind == forms::Kind::Option || design.kind == forms::Kind::CheckBox ||
        design.kind == forms::Kind::Toggle)
        showValue(id);
    return made.placed;
}

void FormWindow::describeForAccessibility(int id) {
    const forms::ControlDesign& design = form_.control(id).design();
    AtkObject* accessible = gtk_widget_get_accessible(widget(id));
    if (!accessible) return;
    atk_object_set_accessible_id(accessible, accessibleId(design).c_str());
    // Captions name their controls by themselves; a field says what it is for.
    if (design.accessibleName) atk_object_set_name(accessible, toUtf8(design.accessibleName).c_str());
}

// The control's index in the model, or -1 for a widget that is not one of them.
int FormWindow::controlIdOf(GtkWidget* candidate) const {
    if (!candidate) return -1;
    const int id = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(candidate), "ambrisk-control")) - 1;
    if (id < 0 || id >= static_cast<int>(controls_.size()) || widget(id) != candidate) return -1;
    return id;
}

bool FormWindow::isEntry(int id) const {
    return id >= 0 && form_.control(id).kind() == forms::Kind::TextField && !form_.control(id).design().multiLine;
}

}  // namespace platform::gtk

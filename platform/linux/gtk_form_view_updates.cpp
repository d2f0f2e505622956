// Mirrors the model into the window: texts, values, enabled states and
// selections of the controls, and the timers.
#include <utility>

#include "platform/linux/gtk_form_window.h"
#include "platform/linux/gtk_text.h"

namespace platform::gtk {

void FormWindow::showText(int id) {
    const forms::Control& control = form_.control(id);
    const std::string text = toUtf8(control.text());
    GtkWidget* target = widget(id);
    echoing_ = true;
    switch (control.kind()) {
        case forms::Kind::Label: gtk_label_set_text(GTK_LABEL(target), text.c_str()); break;
        case forms::Kind::Frame: gtk_frame_set_label(GTK_FRAME(target), text.empty() ? nullptr : text.c_str()); break;
        case forms::Kind::TextField:
            if (isEntry(id))
                gtk_entry_set_text(GTK_ENTRY(target), text.c_str());
            else
                gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(target)), text.c_str(), -1);
            break;
        default:  // the caption label inside a button
            gtk_label_set_text(GTK_LABEL(gtk_bin_get_child(GTK_BIN(target))), text.c_str());
            break;
    }
    echoing_ = false;
}

void FormWindow::showValue(int id) {
    const forms::Control& control = form_.control(id);
    GtkToggleButton* button = GTK_TOGGLE_BUTTON(widget(id));
    const bool wasMirroring = std::exchange(mirroring_, true);
    if (control.kind() == forms::Kind::Option) {
        // A GTK group always keeps one button selected: selecting one clears
        // the others, and clearing the selected one alone is left to the
        // selection of another.
        if (control.selected()) gtk_toggle_button_set_active(button, TRUE);
    } else {
        // 2 is the greyed state: shown as GTK's inconsistent one.
        gtk_toggle_button_set_inconsistent(button, control.value() == 2);
        gtk_toggle_button_set_active(button, control.value() != 0);
    }
    mirroring_ = wasMirroring;
}

void FormWindow::showOptionGroupOf(int id) {
    for (int other = 0; other < form_.controlCount(); ++other)
        if (forms::inOneOptionGroup(form_.control(other).design(), form_.control(id).design())) showValue(other);
}

void FormWindow::showEnabled(int id) {
    gtk_widget_set_sensitive(controls_.at(static_cast<std::size_t>(id)).placed, form_.control(id).enabled());
}

void FormWindow::showSelection(int id) {
    if (!isEntry(id)) return;
    const forms::Control& control = form_.control(id);
    echoing_ = true;
    gtk_editable_select_region(GTK_EDITABLE(widget(id)), control.selStart(), control.selStart() + control.selLength());
    echoing_ = false;
}

void FormWindow::timerChanged(int timer) {
    guint& source = timerSources_.at(static_cast<std::size_t>(timer));
    if (source) g_source_remove(std::exchange(source, 0));
    // Setting a running timer again restarts its interval.
    const int interval = form_.runningInterval(timer);
    if (interval == 0) return;
    // The source's id tells which timer ticked; a source that is no longer
    // the timer's own ends.
    source = g_timeout_add(
        static_cast<guint>(interval),
        [](gpointer self) -> gboolean {
            auto* window = static_cast<FormWindow*>(self);
            const guint current = g_source_get_id(g_main_current_source());
            for (std::size_t timer = 0; timer < window->timerSources_.size(); ++timer) {
                if (window->timerSources_[timer] != current) continue;
                window->form_.timerFired(static_cast<int>(timer));
                // The tick may have stopped or restarted its own timer.
                return window->timerSources_.size() > timer && window->timerSources_[timer] == current
                           ? G_SOURCE_CONTINUE
                           : G_SOURCE_REMOVE;
            }
            return G_SOURCE_REMOVE;
        },
        this);
}

void FormWindow::stopTimers() {
    for (guint& source : timerSources_)
        if (source) g_source_remove(std::exchange(source, 0));
}

}  // namespace platform::gtk

// What the user does to the widgets, turned into the model's input calls:
// clicks, the Tab and arrow keys, typed and pasted text through the key
// filter, focus and selection.
#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "platform/keys.h"
#include "platform/linux/gtk_form_window.h"
#include "platform/linux/gtk_text.h"
#include "platform/tab_order.h"

namespace platform::gtk {

namespace {

FormWindow* owner(gpointer self) { return static_cast<FormWindow*>(self); }

bool isArrow(guint key) {
    switch (key) {
        case GDK_KEY_Up:
        case GDK_KEY_Down:
        case GDK_KEY_Left:
        case GDK_KEY_Right:
        case GDK_KEY_KP_Up:
        case GDK_KEY_KP_Down:
        case GDK_KEY_KP_Left:
        case GDK_KEY_KP_Right: return true;
        default: return false;
    }
}

bool arrowBackwards(guint key) {
    return key == GDK_KEY_Up || key == GDK_KEY_Left || key == GDK_KEY_KP_Up || key == GDK_KEY_KP_Left;
}

// The text pasted into a one-line field ends at its first line break.
std::string firstLine(const char* text) {
    std::string line = text;
    return line.substr(0, line.find_first_of("\r\n"));
}

struct PendingPaste {
    GWeakRef entry;
    int id;
};

}  // namespace

void FormWindow::connectInput(int id) {
    GtkWidget* target = widget(id);
    switch (form_.control(id).kind()) {
        case forms::Kind::Button:
        case forms::Kind::Toggle:
        case forms::Kind::CheckBox:
        case forms::Kind::Option:
            // Runs after the widget has flipped its own state.
            g_signal_connect(target, "clicked", G_CALLBACK(+[](GtkWidget* button, gpointer self) {
                                 owner(self)->clicked(owner(self)->controlIdOf(button));
                             }),
                             this);
            break;
        case forms::Kind::TextField:
            g_signal_connect(target, "focus-in-event",
                             G_CALLBACK(+[](GtkWidget* field, GdkEvent*, gpointer self) -> gboolean {
                                 owner(self)->focusEntered(owner(self)->controlIdOf(field));
                                 return FALSE;
                             }),
                             this);
            if (!isEntry(id)) break;
            g_object_set_data(G_OBJECT(target), "ambrisk-form-window", this);
            g_signal_connect(
                target, "insert-text",
                G_CALLBACK(+[](GtkEditable* field, gchar* text, gint length, gpointer position, gpointer self) {
                    owner(self)->filterInsertedText(owner(self)->controlIdOf(GTK_WIDGET(field)), text, length,
                                                    static_cast<gint*>(position));
                }),
                this);
            g_signal_connect(target, "changed", G_CALLBACK(+[](GtkEditable* field, gpointer self) {
                                 FormWindow* window = owner(self);
                                 if (window->echoing_) return;
                                 const int control = window->controlIdOf(GTK_WIDGET(field));
                                 window->form_.userEditedText(control, fromUtf8(gtk_entry_get_text(GTK_ENTRY(field))));
                             }),
                             this);
            // Pasting from the context menu or with Shift+Insert raises no
            // character: the text goes in whole, as with Ctrl+V.
            g_signal_connect(target, "paste-clipboard", G_CALLBACK(+[](GtkEntry* field, gpointer self) {
                                 g_signal_stop_emission_by_name(field, "paste-clipboard");
                                 owner(self)->pasteClipboard(owner(self)->controlIdOf(GTK_WIDGET(field)));
                             }),
                             this);
            g_signal_connect(
                target, "event-after", G_CALLBACK(+[](GtkWidget* field, GdkEvent* event, gpointer self) {
                    FormWindow* window = owner(self);
                    if (event->type == GDK_BUTTON_RELEASE && window->reselectControl_ == window->controlIdOf(field))
                        window->reapplyFocusSelection();
                }),
                this);
            for (const char* property : {"notify::cursor-position", "notify::selection-bound"})
                g_signal_connect(target, property, G_CALLBACK(+[](GObject* field, GParamSpec*, gpointer self) {
                                     owner(self)->syncSelection(owner(self)->controlIdOf(GTK_WIDGET(field)));
                                 }),
                                 this);
            break;
        default: break;
    }
}

void FormWindow::clicked(int id) {
    if (id < 0 || mirroring_) return;
    const forms::Kind kind = form_.control(id).kind();
    // The option button that a click in its group has just cleared reports a
    // click too; only the one that became selected was clicked.
    if (kind == forms::Kind::Option && !gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget(id)))) return;
    form_.userClicked(id);
    if (!window_) return;  // the handler may have ended the program
    // The model decides: the widgets show its values, whatever the click did.
    if (kind == forms::Kind::Option)
        showOptionGroupOf(id);
    else if (kind != forms::Kind::Button)
        showValue(id);
}

bool FormWindow::keyPressed(const GdkEventKey& key) {
    const guint modifiers = key.state & gtk_accelerator_get_default_mod_mask();
    const int id = controlIdOf(gtk_window_get_focus(GTK_WINDOW(window_)));
    if (key.keyval == GDK_KEY_Tab || key.keyval == GDK_KEY_KP_Tab || key.keyval == GDK_KEY_ISO_Left_Tab) {
        if (modifiers & ~GDK_SHIFT_MASK) return FALSE;
        const bool backwards = (modifiers & GDK_SHIFT_MASK) || key.keyval == GDK_KEY_ISO_Left_Tab;
        const int next = forms::nextTabStop(form_, tabOrder_, id, backwards);
        if (next >= 0) gtk_widget_grab_focus(widget(next));
        return TRUE;
    }
    if (isArrow(key.keyval) && !modifiers) {
        if (id >= 0 && form_.control(id).kind() == forms::Kind::Option) {
            moveInOptionGroup(id, arrowBackwards(key.keyval));
            return TRUE;
        }
        // Fields move their caret; nothing else moves the focus with arrows,
        // as in a dialog.
        gtk_window_propagate_key_event(GTK_WINDOW(window_), const_cast<GdkEventKey*>(&key));
        return TRUE;
    }
    if (isEntry(id)) return entryKeyPressed(id, key);
    return FALSE;
}

bool FormWindow::entryKeyPressed(int id, const GdkEventKey& key) {
    // The key filter sees the key's character code before the entry does;
    // GTK's own shortcut for a Ctrl key that makes one would act past it.
    const guint modifiers = key.state & gtk_accelerator_get_default_mod_mask();
    const std::optional<std::int16_t> code =
        forms::keys::typedCode({.character = gdk_keyval_to_unicode(key.keyval),
                                .backspace = key.keyval == GDK_KEY_BackSpace,
                                .control = (modifiers & GDK_CONTROL_MASK) != 0,
                                .otherModifier = (modifiers & ~(GDK_CONTROL_MASK | GDK_SHIFT_MASK)) != 0});
    if (!code) return FALSE;  // the entry's own key: Delete, Home, Ctrl+Insert...
    if (*code != 0) typeCharacter(id, form_.userKeyPress(id, *code));
    return TRUE;
}

void FormWindow::typeCharacter(int id, std::int16_t code) {
    if (!window_ || !isEntry(id)) return;
    GtkWidget* entry = widget(id);
    switch (forms::keys::editAction(code)) {
        case forms::keys::EditAction::Nothing: return;
        case forms::keys::EditAction::SelectAll: gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1); return;
        case forms::keys::EditAction::Copy: g_signal_emit_by_name(entry, "copy-clipboard"); return;
        case forms::keys::EditAction::Cut: g_signal_emit_by_name(entry, "cut-clipboard"); return;
        case forms::keys::EditAction::Paste: pasteClipboard(id); return;
        case forms::keys::EditAction::Backspace: g_signal_emit_by_name(entry, "backspace"); return;
        case forms::keys::EditAction::Insert: break;
    }
    char utf8[8] = {};
    g_unichar_to_utf8(static_cast<gunichar>(static_cast<std::uint16_t>(code)), utf8);
    insertUnfiltered(id, utf8);
}

void FormWindow::insertUnfiltered(int id, const std::string& utf8) {
    GtkEditable* entry = GTK_EDITABLE(widget(id));
    if (!gtk_editable_get_editable(entry)) return;
    // Typing replaces the selection; the field's maximum length cuts the rest.
    insertingUnfiltered_ = true;
    gtk_editable_delete_selection(entry);
    gint position = gtk_editable_get_position(entry);
    gtk_editable_insert_text(entry, utf8.c_str(), static_cast<gint>(utf8.size()), &position);
    gtk_editable_set_position(entry, position);
    insertingUnfiltered_ = false;
}

void FormWindow::filterInsertedText(int id, const char* text, int length, int* position) {
    // Text that no key press brought (an input method's, a dropped or
    // middle-click pasted one) goes through the key filter character by
    // character, as if typed. A text the program puts in is not typed.
    if (echoing_ || insertingUnfiltered_ || id < 0) return;
    const std::wstring inserted = fromUtf8(text, length);
    std::wstring kept;
    for (const wchar_t character : inserted) {
        const std::optional<std::int16_t> code = forms::keys::characterCode(static_cast<char32_t>(character));
        if (!code) continue;
        const std::int16_t result = form_.userKeyPress(id, *code);
        if (forms::keys::editAction(result) == forms::keys::EditAction::Insert)
            kept += static_cast<wchar_t>(static_cast<std::uint16_t>(result));
    }
    if (!window_) return;
    if (kept == inserted) return;
    GtkEditable* entry = GTK_EDITABLE(widget(id));
    g_signal_stop_emission_by_name(entry, "insert-text");
    const std::string utf8 = toUtf8(kept);
    insertingUnfiltered_ = true;
    gtk_editable_insert_text(entry, utf8.c_str(), static_cast<gint>(utf8.size()), position);
    insertingUnfiltered_ = false;
}

void FormWindow::pasteClipboard(int id) {
    GtkWidget* entry = widget(id);
    if (!gtk_editable_get_editable(GTK_EDITABLE(entry))) return;
    // The clipboard answers later; the window may be gone by then.
    auto* pending = new PendingPaste{{}, id};
    g_weak_ref_init(&pending->entry, entry);
    gtk_clipboard_request_text(
        gtk_widget_get_clipboard(entry, GDK_SELECTION_CLIPBOARD),
        [](GtkClipboard*, const gchar* text, gpointer data) {
            auto* paste = static_cast<PendingPaste*>(data);
            if (GObject* field = static_cast<GObject*>(g_weak_ref_get(&paste->entry))) {
                auto* window = static_cast<FormWindow*>(g_object_get_data(field, "ambrisk-form-window"));
                if (window && text) window->insertUnfiltered(paste->id, firstLine(text));
                g_object_unref(field);
            }
            g_weak_ref_clear(&paste->entry);
            delete paste;
        },
        pending);
}

void FormWindow::moveInOptionGroup(int id, bool backwards) {
    const int next = forms::nextInOptionGroup(form_, tabOrder_, id, backwards);
    if (next < 0) return;
    gtk_widget_grab_focus(widget(next));
    form_.userClicked(next);
    if (window_) showOptionGroupOf(next);
}

void FormWindow::focusEntered(int id) {
    if (id < 0) return;
    const bool selectionChosen = form_.userGotFocus(id);
    if (!window_ || !isEntry(id)) return;
    if (!selectionChosen) {
        syncSelection(id);
        return;
    }
    // GTK selects the whole text after the focus has arrived, and a click
    // places the caret when the button goes up; apply the handler's
    // selection again once GTK is done.
    reselectControl_ = id;
    GdkEvent* current = gtk_get_current_event();
    const bool byClick = current && current->type == GDK_BUTTON_PRESS;
    if (current) gdk_event_free(current);
    if (byClick) return;  // the button's release applies it
    if (reselectSource_) g_source_remove(reselectSource_);
    reselectSource_ = g_idle_add(
        [](gpointer self) -> gboolean {
            owner(self)->reselectSource_ = 0;
            owner(self)->reapplyFocusSelection();
            return G_SOURCE_REMOVE;
        },
        this);
}

void FormWindow::reapplyFocusSelection() {
    const int id = std::exchange(reselectControl_, -1);
    if (id < 0 || !gtk_widget_has_focus(widget(id))) return;
    showSelection(id);
    syncSelection(id);
}

void FormWindow::syncSelection(int id) {
    // While the focus selection waits to be applied again, the caret GTK
    // places meanwhile is not the user's choice.
    if (id < 0 || echoing_ || !isEntry(id) || id == reselectControl_) return;
    gint start = 0, end = 0;
    if (!gtk_editable_get_selection_bounds(GTK_EDITABLE(widget(id)), &start, &end))
        start = end = gtk_editable_get_position(GTK_EDITABLE(widget(id)));
    form_.userSelected(id, std::min(start, end), std::abs(end - start));
}

}  // namespace platform::gtk

// What the user does to the widgets, turned into the model's input calls:
// clicks, the Tab and arrow keys, typed and pasted text through the key
// filter, focus and selection.
#include <gdk/gdkkeysyms.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/gtk_form_window.h"
#include "platform/linux/gtk_text.h"

namespace platform::gtk {

namespace {

// Character codes of the keys the key filter judges besides printable ones.
constexpr std::int16_t selectAllCode = 1;
constexpr std::int16_t copyCode = 3;
constexpr std::int16_t backspaceCode = 8;
constexpr std::int16_t pasteCode = 22;
constexpr std::int16_t cutCode = 24;
constexpr std::int16_t controlBackspaceCode = 127;

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
        applyOptionsOf(form_.control(id).design().container);
    else if (kind != forms::Kind::Button)
        applyValue(id);
}

bool FormWindow::keyPressed(const GdkEventKey& key) {
    const guint modifiers = key.state & gtk_accelerator_get_default_mod_mask();
    const int id = controlIdOf(gtk_window_get_focus(GTK_WINDOW(window_)));
    if (key.keyval == GDK_KEY_Tab || key.keyval == GDK_KEY_KP_Tab || key.keyval == GDK_KEY_ISO_Left_Tab) {
        if (modifiers & ~GDK_SHIFT_MASK) return FALSE;
        moveFocus((modifiers & GDK_SHIFT_MASK) || key.keyval == GDK_KEY_ISO_Left_Tab);
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
    const guint modifiers = key.state & gtk_accelerator_get_default_mod_mask();
    std::int16_t code = 0;
    if (modifiers == GDK_CONTROL_MASK || modifiers == (GDK_CONTROL_MASK | GDK_SHIFT_MASK)) {
        // Ctrl with a letter or Backspace makes a control character that the
        // key filter judges; GTK's own shortcut for the key would act past it.
        const guint letter = gdk_keyval_to_lower(key.keyval);
        if (letter >= GDK_KEY_a && letter <= GDK_KEY_z)
            code = static_cast<std::int16_t>(letter - GDK_KEY_a + 1);
        else if (key.keyval == GDK_KEY_BackSpace)
            code = controlBackspaceCode;
        else
            return FALSE;  // Ctrl+Insert, Ctrl+arrows and the like edit nothing by a character
    } else if (modifiers & ~GDK_SHIFT_MASK) {
        return FALSE;
    } else if (key.keyval == GDK_KEY_BackSpace) {
        code = backspaceCode;
    } else {
        const gunichar character = gdk_keyval_to_unicode(key.keyval);
        if (character < 0x20 || character == 0x7F) return FALSE;  // no character: Delete, Home, Enter...
        // A character beyond 16 bits has no key code; the filter could only swallow it.
        if (character > 0xFFFF) return TRUE;
        code = static_cast<std::int16_t>(static_cast<std::uint16_t>(character));
    }
    typeCharacter(id, form_.userKeyPress(id, code));
    return TRUE;
}

void FormWindow::typeCharacter(int id, std::int16_t code) {
    if (!window_ || !isEntry(id)) return;
    GtkWidget* entry = widget(id);
    switch (code) {
        case 0: return;  // swallowed
        case selectAllCode: gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1); return;
        case copyCode: g_signal_emit_by_name(entry, "copy-clipboard"); return;
        case cutCode: g_signal_emit_by_name(entry, "cut-clipboard"); return;
        case pasteCode: pasteClipboard(id); return;
        case backspaceCode: g_signal_emit_by_name(entry, "backspace"); return;
        default: break;
    }
    const auto character = static_cast<gunichar>(static_cast<std::uint16_t>(code));
    // Other control characters and lone halves of a surrogate pair insert nothing.
    if (character < 0x20 || character == 0x7F || (character >= 0xD800 && character <= 0xDFFF)) return;
    char utf8[8] = {};
    g_unichar_to_utf8(character, utf8);
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
        if (static_cast<std::uint32_t>(character) > 0xFFFF) continue;
        const auto code = static_cast<std::int16_t>(static_cast<std::uint16_t>(character));
        const std::int16_t result = form_.userKeyPress(id, code);
        const auto resultCharacter = static_cast<wchar_t>(static_cast<std::uint16_t>(result));
        if (result != 0 && resultCharacter >= 0x20 && (resultCharacter < 0xD800 || resultCharacter > 0xDFFF))
            kept += resultCharacter;
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

void FormWindow::moveFocus(bool backwards) {
    if (tabOrder_.empty()) return;
    const int current = controlIdOf(gtk_window_get_focus(GTK_WINDOW(window_)));
    const auto count = static_cast<int>(tabOrder_.size());
    int position = -1;
    for (int i = 0; i < count; ++i)
        if (tabOrder_[static_cast<std::size_t>(i)] == current) position = i;
    if (position < 0) position = backwards ? 0 : count - 1;
    // An option group is one tab stop, at its selected button.
    for (int step = 1; step <= count; ++step) {
        const int next =
            tabOrder_[static_cast<std::size_t>(((position + (backwards ? -step : step)) % count + count) % count)];
        const bool stop = form_.control(next).kind() != forms::Kind::Option || form_.control(next).selected();
        if (stop && gtk_widget_is_sensitive(widget(next)) && gtk_widget_get_visible(widget(next))) {
            gtk_widget_grab_focus(widget(next));
            return;
        }
    }
}

void FormWindow::moveInOptionGroup(int id, bool backwards) {
    // The arrow keys go round the enabled buttons of the container, and the
    // button they reach is clicked, as in a dialog.
    std::vector<int> group;
    for (const int other : tabOrder_) {
        const forms::ControlDesign& design = form_.control(other).design();
        if (design.kind == forms::Kind::Option && design.container == form_.control(id).design().container &&
            gtk_widget_is_sensitive(widget(other)))
            group.push_back(other);
    }
    const auto count = static_cast<int>(group.size());
    int position = 0;
    for (int i = 0; i < count; ++i)
        if (group[static_cast<std::size_t>(i)] == id) position = i;
    if (count < 2) return;
    const int next = group[static_cast<std::size_t>(((position + (backwards ? -1 : 1)) % count + count) % count)];
    gtk_widget_grab_focus(widget(next));
    form_.userClicked(next);
    if (window_) applyOptionsOf(form_.control(next).design().container);
}

void FormWindow::focusEntered(int id) {
    if (id < 0) return;
    selectionSetInFocus_ = false;
    form_.userGotFocus(id);
    if (!window_ || !isEntry(id)) return;
    if (!selectionSetInFocus_) {
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
    applySelection(id);
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

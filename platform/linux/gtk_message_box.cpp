#include "platform/linux/gtk_message_box.h"

#include <gtk/gtk.h>

#include "platform/linux/gtk_text.h"

namespace platform::gtk {

namespace {

GtkMessageType typeOf(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information: return GTK_MESSAGE_INFO;
        case MessageKind::Error: return GTK_MESSAGE_ERROR;
    }
    return GTK_MESSAGE_OTHER;
}

const char* iconOf(MessageKind kind) { return kind == MessageKind::Error ? "dialog-error" : "dialog-information"; }

// GTK 3 message dialogs no longer show the icon of their type; the message
// box of the other edition does, beside the text.
void showIcon(GtkWidget* dialog, MessageKind kind) {
    GtkWidget* textColumn = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GtkWidget* row = gtk_widget_get_parent(textColumn);
    if (!GTK_IS_BOX(row)) return;
    GtkWidget* icon = gtk_image_new_from_icon_name(iconOf(kind), GTK_ICON_SIZE_DIALOG);
    gtk_widget_set_valign(icon, GTK_ALIGN_START);
    gtk_box_pack_start(GTK_BOX(row), icon, FALSE, FALSE, 0);
    gtk_box_reorder_child(GTK_BOX(row), icon, 0);
    gtk_widget_show(icon);
}

// The program's window the user is working in, so that it cannot be used
// while the message is open; none before the main window exists.
GtkWindow* activeWindow() {
    GList* windows = gtk_window_list_toplevels();
    GtkWindow* active = nullptr;
    for (GList* item = windows; item; item = item->next) {
        GtkWindow* window = GTK_WINDOW(item->data);
        if (gtk_window_is_active(window) || (!active && gtk_widget_get_visible(GTK_WIDGET(window)) &&
                                             gtk_window_get_window_type(window) == GTK_WINDOW_TOPLEVEL))
            active = window;
    }
    g_list_free(windows);
    return active;
}

}  // namespace

void MessageBox::show(const std::wstring& text, MessageKind kind, const std::wstring& title) {
    GtkWindow* owner = activeWindow();
    // The text is shown as it is: no markup, and "%" is no format here.
    GtkWidget* dialog =
        gtk_message_dialog_new(owner, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
                               typeOf(kind), GTK_BUTTONS_OK, "%s", toUtf8(text).c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), toUtf8(title).c_str());
    gtk_window_set_resizable(GTK_WINDOW(dialog), FALSE);
    showIcon(dialog, kind);
    if (!owner) gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
    gtk_dialog_run(GTK_DIALOG(dialog));
    gtk_widget_destroy(dialog);
}

}  // namespace platform::gtk

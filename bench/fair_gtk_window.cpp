// The fair yardstick for the Linux edition's start-up and memory: Ambrisk 2's
// window made by hand in plain GTK 3. The same widgets of the same kinds from
// the same layout table, the same texts, fonts, colours, tooltips, accessible
// names and icon; no forms model, no settings, no X11 desktop, no load step.
// Shows the window and idles.
//
//     fair_gtk_window ICON.ico
#include <gtk/gtk.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/twips.h"
#include "ui/layout.h"

namespace {

constexpr int untitledFrameLineOffset = 6;

// 8 pt dialog text and the two 8.25 pt Arial buttons, in logical pixels at 96 DPI.
constexpr char css[] = R"(
#fair-form { font-size: 11px; }
#fair-form button { min-height: 0; min-width: 0; padding: 0 4px; }
#fair-form checkbutton, #fair-form radiobutton { min-height: 0; padding: 0; background-color: @theme_bg_color; }
#fair-form check, #fair-form radio { margin: 0 4px 0 1px; min-width: 13px; min-height: 13px; }
#fair-form entry { min-height: 0; padding: 0 3px; }
#fair-form frame > border { border-radius: 0; }
#fair-form scrollbar slider { min-height: 8px; }
#fair-form #chkGo label { font-size: 11px; font-weight: 700; font-family: "Arial"; text-decoration-line: underline; }
#fair-form #chkGo label { color: rgb(9,106,0); }
#fair-form #chkGo:disabled label { color: @insensitive_fg_color; }
#fair-form #chkBack label { font-size: 11px; font-weight: 400; font-family: "Arial"; }
#fair-form #chkBack label { color: rgb(64,0,64); }
#fair-form #chkBack:disabled label { color: @insensitive_fg_color; }
#fair-form #txtResult, #fair-form #txtResult text { background-color: @theme_bg_color; }
)";

int pixels(int twips) { return forms::twipsToPixels(twips, 96); }

std::string utf8(const wchar_t* text) {
    gchar* converted = g_ucs4_to_utf8(reinterpret_cast<const gunichar*>(text), -1, nullptr, nullptr, nullptr);
    std::string result = converted ? converted : "";
    g_free(converted);
    return result;
}

GtkWidget* caption(const forms::ControlDesign& design, bool centred) {
    GtkWidget* label = gtk_label_new(utf8(design.text).c_str());
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_line_wrap_mode(GTK_LABEL(label), PANGO_WRAP_WORD_CHAR);
    const float align = design.align == forms::Align::Right ? 1.0f : design.align == forms::Align::Centre ? 0.5f : 0.0f;
    gtk_label_set_xalign(GTK_LABEL(label), centred ? 0.5f : align);
    if (centred) gtk_label_set_justify(GTK_LABEL(label), GTK_JUSTIFY_CENTER);
    return label;
}

GtkWidget* captioned(GtkWidget* button, const forms::ControlDesign& design) {
    const bool centred = design.kind == forms::Kind::Button || design.kind == forms::Kind::Toggle;
    GtkWidget* label = caption(design, centred);
    gtk_widget_show(label);
    gtk_container_add(GTK_CONTAINER(button), label);
    return button;
}

// The widget itself and what goes on the canvas (a scrolled window around a text view).
struct Made {
    GtkWidget* widget = nullptr;
    GtkWidget* placed = nullptr;
};

Made make(const forms::ControlDesign& design, GSList*& optionGroup) {
    Made made;
    switch (design.kind) {
        case forms::Kind::Label:
            made.widget = caption(design, false);
            gtk_label_set_yalign(GTK_LABEL(made.widget), 0.0f);
            break;
        case forms::Kind::Button: made.widget = captioned(gtk_button_new(), design); break;
        case forms::Kind::Toggle: made.widget = captioned(gtk_toggle_button_new(), design); break;
        case forms::Kind::CheckBox: made.widget = captioned(gtk_check_button_new(), design); break;
        case forms::Kind::Option:
            made.widget = captioned(gtk_radio_button_new(optionGroup), design);
            optionGroup = gtk_radio_button_get_group(GTK_RADIO_BUTTON(made.widget));
            break;
        case forms::Kind::Frame:
            made.widget = gtk_frame_new(design.text[0] ? utf8(design.text).c_str() : nullptr);
            break;
        case forms::Kind::TextField:
            if (design.multiLine) {
                made.widget = gtk_text_view_new();
                gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(made.widget), GTK_WRAP_WORD_CHAR);
                gtk_text_view_set_editable(GTK_TEXT_VIEW(made.widget), !design.readOnly);
                gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(made.widget)),
                                         utf8(design.text).c_str(), -1);
                made.placed = gtk_scrolled_window_new(nullptr, nullptr);
                GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(made.placed);
                gtk_scrolled_window_set_policy(scrolled, GTK_POLICY_NEVER, GTK_POLICY_ALWAYS);
                gtk_scrolled_window_set_overlay_scrolling(scrolled, FALSE);
                gtk_scrolled_window_set_shadow_type(scrolled, GTK_SHADOW_IN);
                gtk_container_add(GTK_CONTAINER(made.placed), made.widget);
                gtk_widget_show(made.widget);
            } else {
                made.widget = gtk_entry_new();
                GtkEntry* entry = GTK_ENTRY(made.widget);
                gtk_entry_set_width_chars(entry, 1);
                gtk_entry_set_max_length(entry, design.maxLength);
                gtk_entry_set_input_purpose(entry, GTK_INPUT_PURPOSE_DIGITS);
                gtk_entry_set_input_hints(entry, GTK_INPUT_HINT_NO_EMOJI);
                gtk_entry_set_text(entry, utf8(design.text).c_str());
            }
            break;
    }
    if (!made.placed) made.placed = made.widget;
    gtk_widget_set_name(made.widget, design.name);
    if (GTK_IS_TOGGLE_BUTTON(made.widget)) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(made.widget), design.value);
    if (design.tooltip) gtk_widget_set_tooltip_text(made.widget, utf8(design.tooltip).c_str());
    if (design.accessibleName)
        atk_object_set_name(gtk_widget_get_accessible(made.widget), utf8(design.accessibleName).c_str());
    return made;
}

void setIcon(GtkWindow* window, const char* icoPath) {
    if (gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), "ambrisk2")) {
        gtk_window_set_icon_name(window, "ambrisk2");
        return;
    }
    gchar* bytes = nullptr;
    gsize size = 0;
    if (!icoPath || !g_file_get_contents(icoPath, &bytes, &size, nullptr)) return;
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new_with_type("ico", nullptr);
    if (loader && gdk_pixbuf_loader_write(loader, reinterpret_cast<const guchar*>(bytes), size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr))
        gtk_window_set_icon(window, gdk_pixbuf_loader_get_pixbuf(loader));
    if (loader) g_object_unref(loader);
    g_free(bytes);
}

}  // namespace

int main(int argc, char** argv) {
    gtk_init(&argc, &argv);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(window, "fair-form");
    gtk_window_set_title(GTK_WINDOW(window), "Fair GTK Window");
    gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
    GtkWidget* canvas = gtk_fixed_new();
    gtk_widget_set_size_request(canvas, pixels(ui::clientWidthTwips), pixels(ui::clientHeightTwips));
    gtk_container_add(GTK_CONTAINER(window), canvas);

    // Frames at the back, then labels, then the rest in tab order.
    std::vector<int> order;
    for (int id = 0; id < ui::ControlCount; ++id) order.push_back(id);
    const auto layer = [](int id) {
        const forms::Kind kind = ui::layout[id].kind;
        return kind == forms::Kind::Frame ? 0 : kind == forms::Kind::Label ? 1 : 2;
    };
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return layer(a) != layer(b) ? layer(a) < layer(b) : ui::layout[a].tabIndex < ui::layout[b].tabIndex;
    });
    std::vector<GSList*> optionGroups(ui::ControlCount + 1, nullptr);  // one per container, the window last
    GtkWidget* firstFocus = nullptr;
    for (const int id : order) {
        const forms::ControlDesign& design = ui::layout[id];
        GSList*& group = optionGroups[static_cast<std::size_t>(design.container >= 0 ? design.container : ui::ControlCount)];
        const Made made = make(design, group);
        int left = design.left, top = design.top;
        if (design.container >= 0) {
            left += ui::layout[design.container].left;
            top += ui::layout[design.container].top;
        }
        int x = pixels(left), y = pixels(top);
        int width = pixels(left + design.width) - x, height = pixels(top + design.height) - y;
        if (design.kind == forms::Kind::Frame && !design.text[0]) {
            y += untitledFrameLineOffset;
            height -= untitledFrameLineOffset;
        }
        gtk_widget_set_size_request(made.placed, width, height);
        gtk_fixed_put(GTK_FIXED(canvas), made.placed, x, y);
        gtk_widget_set_sensitive(made.placed, design.enabled);
        if (!firstFocus && design.kind == forms::Kind::Option && design.value) firstFocus = made.widget;
    }

    GtkCssProvider* style = gtk_css_provider_new();
    gtk_css_provider_load_from_data(style, css, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(window), GTK_STYLE_PROVIDER(style),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    setIcon(GTK_WINDOW(window), argc > 1 ? argv[1] : nullptr);
    gtk_widget_realize(window);
    GdkWindow* gdkWindow = gtk_widget_get_window(window);
    gdk_window_set_functions(gdkWindow, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE | GDK_FUNC_CLOSE));
    gdk_window_set_decorations(gdkWindow, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE |
                                                                       GDK_DECOR_MENU | GDK_DECOR_MINIMIZE));
    g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
    if (firstFocus) gtk_widget_grab_focus(firstFocus);
    gtk_widget_show_all(window);
    gtk_main();
    g_object_unref(style);
    return 0;
}

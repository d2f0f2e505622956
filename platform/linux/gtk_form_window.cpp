// The top-level window: its creation and end, the window manager's hints,
// the icon, the scale factor and the position reported to the model.
#include "platform/linux/gtk_form_window.h"

#include <gdk/gdkx.h>

#include <cstdint>
#include <memory>
#include <utility>

#include "platform/linux/app_icon.h"
#include "platform/linux/gtk_form_canvas.h"
#include "platform/linux/gtk_text.h"
#include "platform/linux/logical_pixels.h"
#include "platform/tab_order.h"

namespace platform::gtk {

namespace {

// The name under which the desktop's icon theme holds the program's icon.
constexpr char iconName[] = "ambrisk2";

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T>
using OwnedObject = std::unique_ptr<T, ObjectUnref>;

}  // namespace

std::unique_ptr<forms::ViewWindow> createFormWindow(forms::Form& form, const forms::WindowDesign& design,
                                                    std::function<void()> closing) {
    auto window = std::make_unique<FormWindow>(form, design, std::move(closing));
    if (!window->created()) return nullptr;
    return window;
}

FormWindow::FormWindow(forms::Form& form, const forms::WindowDesign& design, std::function<void()> closing)
    : ControlView(form),
      form_(form),
      design_(design),
      closing_(std::move(closing)),
      timerSources_(static_cast<std::size_t>(form.timerCount()), 0) {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_widget_set_name(window_, "ambrisk-form");
    gtk_window_set_title(GTK_WINDOW(window_), toUtf8(design_.title).c_str());
    gtk_window_set_resizable(GTK_WINDOW(window_), FALSE);
    // The X window exists from here on: its id is the window's handle. GTK
    // lays out a window's contents when it realises it and again when it
    // shows it; realised while still empty, the window is laid out once.
    gtk_widget_realize(window_);
    GtkWidget* canvas =
        newFormCanvas(toLogicalPixels(design_.clientWidthTwips), toLogicalPixels(design_.clientHeightTwips));
    gtk_container_add(GTK_CONTAINER(window_), canvas);
    gtk_widget_show(canvas);
    if (!createControls(canvas)) {
        gtk_widget_destroy(window_);  // of no use without all its controls
        window_ = nullptr;
        return;
    }
    applyStyle();
    setIcon();

    g_signal_connect(window_, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                         static_cast<FormWindow*>(self)->closing_();
                         return FALSE;  // the window closes whatever the handler decides
                     }),
                     this);
    g_signal_connect(window_, "destroy",
                     G_CALLBACK(+[](GtkWidget*, gpointer self) { static_cast<FormWindow*>(self)->windowDestroyed(); }),
                     this);
    g_signal_connect(window_, "configure-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer self) -> gboolean {
                         static_cast<FormWindow*>(self)->reportPosition();
                         return FALSE;
                     }),
                     this);
    g_signal_connect(
        window_, "notify::scale-factor",
        G_CALLBACK(+[](GObject*, GParamSpec*, gpointer self) { static_cast<FormWindow*>(self)->reportScale(); }), this);
    g_signal_connect(window_, "key-press-event",
                     G_CALLBACK(+[](GtkWidget*, GdkEventKey* key, gpointer self) -> gboolean {
                         return static_cast<FormWindow*>(self)->keyPressed(*key);
                     }),
                     this);

    setWindowManagerHints();
    form_.setView(this);
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    if (GDK_IS_X11_WINDOW(gdkWindow)) form_.viewCreated(static_cast<std::uint32_t>(gdk_x11_window_get_xid(gdkWindow)));
    reportScale();
    // The load step needs the window's place and size before it is shown.
    reportPosition();
    for (int timer = 0; timer < form_.timerCount(); ++timer) timerChanged(timer);
}

FormWindow::~FormWindow() {
    form_.setView(nullptr);
    if (window_) {
        GtkWidget* window = window_;
        windowDestroyed();  // no handler of this object runs from here on
        gtk_widget_destroy(window);
    }
}

void FormWindow::windowDestroyed() {
    form_.setView(nullptr);  // nothing left to mirror the model into
    stopTimers();
    if (reselectSource_) g_source_remove(std::exchange(reselectSource_, 0));
    for (const ControlWidgets& control : controls_) {
        g_signal_handlers_disconnect_by_data(control.widget, this);
        g_object_set_data(G_OBJECT(control.widget), "ambrisk-form-window", nullptr);
    }
    g_signal_handlers_disconnect_by_data(window_, this);
    if (style_) {
        gtk_style_context_remove_provider_for_screen(gtk_widget_get_screen(window_), GTK_STYLE_PROVIDER(style_));
        g_object_unref(std::exchange(style_, nullptr));
    }
    controls_.clear();
    window_ = nullptr;
    if (gtk_main_level() > 0) gtk_main_quit();
}

int FormWindow::run() {
    // Focus on the first tab stop, as a dialog does when it opens.
    const int first = forms::nextTabStop(form_, tabOrder_, -1, false);
    if (first >= 0) gtk_widget_grab_focus(widget(first));
    gtk_widget_show(window_);
    gtk_main();
    return 0;
}

void FormWindow::setWindowManagerHints() {
    // A fixed-size window offers no maximise button; the Motif hints say so
    // to window managers that would still offer one for a window of fixed size.
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    gdk_window_set_functions(gdkWindow, static_cast<GdkWMFunction>(GDK_FUNC_MOVE | GDK_FUNC_MINIMIZE | GDK_FUNC_CLOSE));
    gdk_window_set_decorations(gdkWindow, static_cast<GdkWMDecoration>(GDK_DECOR_BORDER | GDK_DECOR_TITLE |
                                                                       GDK_DECOR_MENU | GDK_DECOR_MINIMIZE));
}

void FormWindow::setIcon() {
    // The installed icon where the desktop has it, else the one built in.
    if (gtk_icon_theme_has_icon(gtk_icon_theme_get_default(), iconName)) {
        gtk_window_set_icon_name(GTK_WINDOW(window_), iconName);
        return;
    }
    const OwnedObject<GdkPixbufLoader> loader(gdk_pixbuf_loader_new_with_type("ico", nullptr));
    if (!loader) return;
    const bool loaded = gdk_pixbuf_loader_write(loader.get(), appIconIco, appIconIcoSize, nullptr) &&
                        gdk_pixbuf_loader_close(loader.get(), nullptr);
    GdkPixbuf* icon = loaded ? gdk_pixbuf_loader_get_pixbuf(loader.get()) : nullptr;  // owned by the loader
    if (icon) gtk_window_set_icon(GTK_WINDOW(window_), icon);
}

void FormWindow::reportScale() {
    if (!window_) return;
    scaleFactor_ = gtk_widget_get_scale_factor(window_);
    form_.viewDpiChanged(twipsPerPhysicalPixel(scaleFactor_));
}

void FormWindow::positionChanged() {
    gtk_window_move(GTK_WINDOW(window_), positionToLogicalPixels(form_.left()), positionToLogicalPixels(form_.top()));
    // A shown window's frame moves when the window manager says so, and its
    // configure event reports it; until then the model keeps what it asked for.
    if (!gtk_widget_get_mapped(window_)) reportPosition();
}

void FormWindow::reportPosition() {
    if (!window_) return;
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    // A minimised window keeps the position that it will be restored to.
    if (gdkWindow && (gdk_window_get_state(gdkWindow) & GDK_WINDOW_STATE_ICONIFIED)) return;
    GdkRectangle frame{};
    if (gdkWindow && gtk_widget_get_mapped(window_)) {
        // The outer frame, the window manager's decorations included.
        gdk_window_get_frame_extents(gdkWindow, &frame);
    } else {
        gtk_window_get_position(GTK_WINDOW(window_), &frame.x, &frame.y);
        gtk_window_get_size(GTK_WINDOW(window_), &frame.width, &frame.height);
    }
    // A Wayland compositor places its windows and never tells a client
    // where: the place stays the one asked for, so the stored one is kept.
    const bool placeUnknown = gdkWindow && !GDK_IS_X11_WINDOW(gdkWindow);
    form_.viewMoved(placeUnknown ? form_.left() : toTwips(frame.x), placeUnknown ? form_.top() : toTwips(frame.y),
                    toTwips(frame.width), toTwips(frame.height));
}

}  // namespace platform::gtk

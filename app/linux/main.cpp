// Entry point of ambrisk2, the Linux edition: the X11 desktop, the settings
// file, the GTK view and the main window, wired together for the program's
// one run; and the ways a run can end besides a close, which must store the
// settings as a close does.
#include <X11/Xlib.h>
#include <gdk/gdkwayland.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <wayland-client.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <unistd.h>

#include "app/closing.h"
#include "app/command_line.h"
#include "app/desktop_choice.h"
#include "app/linux/desktop_connection.h"
#include "platform/linux/gtk_form_binding.h"
#include "platform/linux/gtk_message_box.h"
#include "platform/linux/ini_settings_store.h"
#include "platform/linux/linux_process.h"
#include "platform/linux/wide_text.h"
#include "platform/platform.h"
#include "ui/layout.h"
#include "ui/main_window.h"

namespace {

void tellOnTerminal(const std::wstring& text) {
    g_printerr("ambrisk2: %s\n", platform::posix::toUtf8(text).value_or("").c_str());
}

// Says why the program cannot run: on the terminal and, where a display can
// be opened, in a dialog the user sees (started from a menu, there is no
// terminal to read).
int refuse(const std::wstring& text) {
    tellOnTerminal(text);
    if (gdk_display_get_default() != nullptr || gtk_init_check(nullptr, nullptr)) {
        platform::gtk::MessageBox dialog;
        dialog.show(text, platform::MessageKind::Error, ui::windowTitle);
    }
    return 1;
}

// --help and --version answer on standard output without a display; any
// other argument is refused with the usage.
std::optional<int> answerCommandLine(int argc, char** argv, const std::string& programName) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const app::CommandLine commandLine = app::readCommandLine(arguments);
    switch (commandLine.request) {
        case app::Request::run:
            return std::nullopt;
        case app::Request::help:
            std::fputs(app::helpText(programName).c_str(), stdout);
            return 0;
        case app::Request::version:
            std::fputs(app::versionText(AMBRISK_VERSION).c_str(), stdout);
            return 0;
        case app::Request::unknownOption:
            g_printerr("%s: unknown option %s\n%s", programName.c_str(), commandLine.unknownOption.c_str(),
                       app::helpText(programName).c_str());
            return 2;
    }
    return 2;
}

// SIGTERM, SIGINT and SIGHUP (logout, shutdown, a closed terminal, Ctrl+C)
// close the window as the user would, from the main loop.
class EndRequests {
public:
    explicit EndRequests(std::function<void()> close) : close_(std::move(close)) {
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) sources_.push_back(g_unix_signal_add(signal, onSignal, this));
    }
    ~EndRequests() {
        for (const guint source : sources_) g_source_remove(source);
    }
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

private:
    static gboolean onSignal(gpointer self) {
        static_cast<EndRequests*>(self)->close_();
        // A modal message runs a loop of its own, which would keep the
        // program alive until the user answers it; the unload step has run.
        if (g_main_depth() > 1) std::exit(0);
        return G_SOURCE_CONTINUE;
    }

    std::function<void()> close_;
    std::vector<guint> sources_;
};

// The connection to the display is gone: the settings are stored first, as
// a close stores them, and the process ends at once, with no cleanup that
// would talk to the display that is gone.
[[noreturn]] void endAfterLosing(const wchar_t* connection, app::Closing* closing) {
    const std::optional<std::wstring> notStored = closing != nullptr ? closing->run() : std::nullopt;
    tellOnTerminal(std::wstring(L"lost the connection to ") + connection + L".");
    if (notStored) tellOnTerminal(*notStored);
    _exit(1);
}

// When the X server goes away (the desktop session ends, the server dies),
// Xlib calls one process-wide handler, which may not return. GDK's own just
// ends the process; this one stores the settings first. Xlib passes the
// handler no context of its own, hence the one pointer for its lifetime.
class LostDisplay {
public:
    explicit LostDisplay(app::Closing& closing) {
        active_ = &closing;
        previous_ = XSetIOErrorHandler(onLost);
    }
    ~LostDisplay() {
        XSetIOErrorHandler(previous_);
        active_ = nullptr;
    }
    LostDisplay(const LostDisplay&) = delete;
    LostDisplay& operator=(const LostDisplay&) = delete;

private:
    static int onLost(Display*) { endAfterLosing(L"the X display", active_); }

    static inline app::Closing* active_ = nullptr;
    XIOErrorHandler previous_ = nullptr;
};

// When the Wayland compositor goes away (the session ends, the compositor
// dies), GDK ends the process at once. This watch of the same connection
// runs ahead of GDK's own and stores the settings first.
class LostCompositor {
public:
    LostCompositor(app::Closing& closing, GdkDisplay* display)
        : closing_(closing),
          source_(g_unix_fd_source_new(wl_display_get_fd(gdk_wayland_display_get_wl_display(display)),
                                       static_cast<GIOCondition>(G_IO_HUP | G_IO_ERR))) {
        g_source_set_priority(source_, G_PRIORITY_HIGH);
        g_source_set_callback(source_, G_SOURCE_FUNC(+[](gint, GIOCondition, gpointer self) -> gboolean {
                                  endAfterLosing(L"the Wayland compositor",
                                                 &static_cast<LostCompositor*>(self)->closing_);
                              }),
                              this, nullptr);
        g_source_attach(source_, nullptr);
    }
    ~LostCompositor() {
        g_source_destroy(source_);
        g_source_unref(source_);
    }
    LostCompositor(const LostCompositor&) = delete;
    LostCompositor& operator=(const LostCompositor&) = delete;

private:
    app::Closing& closing_;
    GSource* source_;
};

}  // namespace

int main(int argc, char** argv) {
    platform::posix::LinuxProcess process;
    const std::string programName = platform::posix::toUtf8(process.executableBaseName()).value_or("ambrisk2");
    if (const std::optional<int> answered = answerCommandLine(argc, argv, programName)) return *answered;

    const std::optional<app::SessionDesktop> choice = app::chooseDesktop(
        app::linux_edition::readSession());
    if (!choice) return refuse(app::unsupportedSession);
    // On X11, and under XWayland where the compositor has no channel this
    // program speaks, the X11 backend: only X11 windows can be sized then.
    gdk_set_allowed_backends(*choice == app::SessionDesktop::x11 ? "x11" : "wayland");
    g_set_prgname(programName.c_str());
    g_set_application_name("Ambrisk 2");
    if (!gtk_init_check(nullptr, nullptr)) {
        tellOnTerminal(L"cannot open the display.");
        return 1;
    }

    app::linux_edition::DesktopConnection connection = app::linux_edition::connectDesktop(*choice);
    if (!connection.desktop) return refuse(connection.refusal);
    platform::Desktop& desktop = *connection.desktop;
    platform::posix::IniSettingsStore settings(platform::posix::IniSettingsStore::userConfigHome());
    platform::gtk::MessageBox messageDialog;
    platform::Platform platform{desktop, settings, messageDialog, process};

    ui::MainWindow mainWindow(platform);
    app::Closing closing(mainWindow);
    const forms::WindowDesign window{ui::windowTitle, ui::clientWidthTwips, ui::clientHeightTwips};
    // Settings that could not be stored are told on the terminal; when the
    // user closed the window, and so is there to read it, in a message too,
    // once the window is gone.
    const auto unload = [&closing] {
        const std::optional<std::wstring> notStored = closing.run();
        if (notStored) tellOnTerminal(*notStored);
        return notStored;
    };
    std::optional<std::wstring> notStoredAtClose;
    const std::function<void()> closeWindow = [&unload, &notStoredAtClose] { notStoredAtClose = unload(); };
    const std::function<void()> endOnSignal = [&unload] {
        unload();
        // The window's own close quits when the window goes.
        if (gtk_main_level() > 0) gtk_main_quit();
    };
    const std::unique_ptr<forms::ViewWindow> view =
        platform::gtk::createFormWindow(mainWindow.form(), window, closeWindow);
    if (!view) {
        tellOnTerminal(app::windowFailed);
        app::tellWindowFailed(messageDialog);
        return 1;
    }

    mainWindow.frmAmbrisk2_Form_Load();
    int code = 0;
    {
        // Only a loaded window may store its settings, whichever way the run ends.
        const EndRequests endRequests(endOnSignal);
        std::optional<LostDisplay> lostDisplay;
        std::optional<LostCompositor> lostCompositor;
        GdkDisplay* display = gdk_display_get_default();
        if (*choice == app::SessionDesktop::x11)
            lostDisplay.emplace(closing);
        else if (GDK_IS_WAYLAND_DISPLAY(display))
            lostCompositor.emplace(closing, display);
        code = view->run();
    }
    if (notStoredAtClose) app::tellError(messageDialog, *notStoredAtClose);
    return code;
}

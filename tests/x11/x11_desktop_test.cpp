#include <gtest/gtest.h>
// After the test framework: Xlib's macros (None, Bool) would clash with it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xrandr.h>
#include <glib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_desktop.h"
#include "platform/linux/x11_monitors.h"

extern char** environ;

namespace platform {
void PrintTo(const Rect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
}  // namespace platform

namespace {

using platform::Rect;
using namespace platform::x11;

// Xvfb on a display it chooses itself (or the one in
// AMBRISK_X11_TEST_DISPLAY) and names on a pipe once it is ready. No window
// manager runs there, so the desktop moves windows itself.
class PrivateXServer {
public:
    PrivateXServer() {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 3);
        std::vector<const char*> arguments{"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"};
        if (const char* chosen = std::getenv("AMBRISK_X11_TEST_DISPLAY")) arguments.insert(arguments.begin() + 1, chosen);
        arguments.push_back(nullptr);
        char* const* argv = const_cast<char* const*>(arguments.data());
        if (posix_spawnp(&pid_, "Xvfb", &actions, nullptr, argv, environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(pipeEnds[1]);
        // The server writes the number, then a line end; closing the pipe
        // before the line end would end the server.
        std::string number;
        pollfd ready{pipeEnds[0], POLLIN, 0};
        char c = 0;
        while (pid_ && number.find('\n') == std::string::npos && poll(&ready, 1, 10000) == 1 &&
               read(pipeEnds[0], &c, 1) == 1)
            number += c;
        if (number.find('\n') != std::string::npos) {
            char display[24] = {};
            std::snprintf(display, sizeof display, ":%d", std::atoi(number.c_str()));
            name_ = display;
        }
        close(pipeEnds[0]);
    }
    ~PrivateXServer() {
        if (!pid_) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const char* name() const { return name_.c_str(); }
    bool running() const { return !name_.empty(); }

private:
    pid_t pid_ = 0;
    std::string name_;
};

struct X11DesktopTest : ::testing::Test {
    static inline std::unique_ptr<PrivateXServer> server;
    static void SetUpTestSuite() { server = std::make_unique<PrivateXServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    DisplayConnection other;  // another program on the same server
    void SetUp() override {
        if (!server->running()) GTEST_SKIP() << "no Xvfb";
        other.reset(XOpenDisplay(server->name()));
        ASSERT_TRUE(other);
    }
    Window newWindow(Rect r) {
        const Window window = XCreateSimpleWindow(other.get(), DefaultRootWindow(other.get()), r.left, r.top,
                                                  r.right - r.left, r.bottom - r.top, 0, 0, 0);
        XSync(other.get(), False);
        return window;
    }
};

TEST_F(X11DesktopTest, ScreenWatchAsksTheServerNothingUntilTheScreenChanges) {
    const DisplayConnection connection = openConnection(server->name());
    const Atoms atoms = internAtoms(connection.get());
    Monitors monitors(connection.get(), atoms);
    EXPECT_EQ(monitors.primarySize(), (platform::Size{1280, 1024}));
    const unsigned long before = XNextRequest(connection.get());
    for (int tick = 0; tick < 100; ++tick) monitors.primarySize();
    EXPECT_EQ(XNextRequest(connection.get()), before);

    XRRMonitorInfo* monitor = XRRAllocateMonitor(other.get(), 0);
    *monitor = {XInternAtom(other.get(), "SMALL", False), True, False, 0, 0, 0, 800, 600, 200, 150, nullptr};
    XRRSetMonitor(other.get(), DefaultRootWindow(other.get()), monitor);
    XFree(monitor);
    XSync(other.get(), False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (monitors.primarySize().width != 800 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(monitors.primarySize(), (platform::Size{800, 600}));
}

TEST_F(X11DesktopTest, AWindowThatIsGoneFailsQuietly) {
    const auto desktop = X11Desktop::connect(server->name());
    ASSERT_TRUE(desktop);
    const Window window = newWindow({10, 10, 110, 110});
    XDestroyWindow(other.get(), window);
    XSync(other.get(), False);
    for (const platform::WindowHandle gone : {static_cast<platform::WindowHandle>(window), 0x1fffffffu}) {
        platform::WindowPlacement placement;
        EXPECT_FALSE(desktop->getPlacement(gone, placement));
        EXPECT_FALSE(desktop->showAndMove(gone, platform::showRestore, {0, 0, 100, 100}));
        EXPECT_FALSE(desktop->setPlacement(gone, placement));
        EXPECT_FALSE(desktop->windowRectangle(gone));
        EXPECT_FALSE(desktop->answers(gone, std::chrono::milliseconds(100)));
        EXPECT_EQ(desktop->title(gone), L"");
    }
    EXPECT_EQ(desktop->foregroundWindow(), 0u);
}

TEST_F(X11DesktopTest, WithoutWindowManagerTheWindowIsMovedItself) {
    const auto desktop = X11Desktop::connect(server->name());
    ASSERT_TRUE(desktop);
    const Window window = newWindow({10, 20, 110, 220});
    const std::string title = "\xE8\xAE\xB0\xE4\xBA\x8B\xE6\x9C\xAC";  // 记事本
    XChangeProperty(other.get(), window, XInternAtom(other.get(), "_NET_WM_NAME", False),
                    XInternAtom(other.get(), "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(title.data()), static_cast<int>(title.size()));
    XSync(other.get(), False);

    platform::WindowPlacement placement;
    ASSERT_TRUE(desktop->getPlacement(window, placement));
    EXPECT_EQ(placement.showCmd, platform::showNormal);
    EXPECT_EQ(placement.rcNormalPosition, (Rect{10, 20, 110, 220}));
    EXPECT_EQ(desktop->title(window), L"记事本");

    EXPECT_TRUE(desktop->showAndMove(window, platform::showRestore, {30, 40, 1060, 786}));
    EXPECT_EQ(desktop->windowRectangle(window), (Rect{30, 40, 1060, 786}));
}

TEST_F(X11DesktopTest, FactsAndTheFrameOfAWindowManagerThatAnnouncesNone) {
    const auto desktop = X11Desktop::connect(server->name());
    ASSERT_TRUE(desktop);
    // A frame as i3 makes one: 2 pixels at the sides and the bottom, an 18-pixel title.
    const Window frame = newWindow({100, 50, 504, 370});
    const Window client = XCreateSimpleWindow(other.get(), frame, 2, 18, 400, 300, 0, 0, 0);
    XSync(other.get(), False);
    EXPECT_EQ(desktop->windowRectangle(client), (Rect{100, 50, 504, 370}));
    EXPECT_EQ(desktop->facts(client).kind, platform::WindowKind::ordinary);

    Display* d = other.get();
    const auto set = [&](const char* name, Atom type, int format, std::vector<long> values) {
        XChangeProperty(d, client, XInternAtom(d, name, False), type, format, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
        XSync(d, False);
    };
    const Atom dock = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DOCK", False);
    const Atom desktopType = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DESKTOP", False);
    set("_NET_WM_WINDOW_TYPE", XA_ATOM, 32, {static_cast<long>(dock)});
    set("_GTK_FRAME_EXTENTS", XA_CARDINAL, 32, {26, 26, 23, 29});
    platform::WindowFacts facts = desktop->facts(client);
    EXPECT_EQ(facts.kind, platform::WindowKind::panel);
    EXPECT_EQ(facts.invisibleMargins, (platform::Margins{26, 23, 26, 29}));

    set("_NET_WM_WINDOW_TYPE", XA_ATOM, 32, {static_cast<long>(desktopType), static_cast<long>(dock)});
    EXPECT_EQ(desktop->facts(client).kind, platform::WindowKind::desktop);
    // Margins of the wrong type or format are no margins.
    set("_GTK_FRAME_EXTENTS", XA_INTEGER, 32, {26, 26, 23, 29});
    EXPECT_EQ(desktop->facts(client).invisibleMargins, platform::Margins{});
    set("_GTK_FRAME_EXTENTS", XA_CARDINAL, 16, {26, 26});
    EXPECT_EQ(desktop->facts(client).invisibleMargins, platform::Margins{});
}

TEST_F(X11DesktopTest, PressesAreWatchedOnlyWhileAskedAndTellTheWindowPressedNotTheOneThePointerMovedTo) {
    const auto desktop = X11Desktop::connect(server->name());
    ASSERT_TRUE(desktop);
    Display* d = other.get();
    // Two programs' windows as a window manager marks them, and a menu.
    const auto shown = [&](Rect r, bool overrideRedirect) {
        const Window window = newWindow(r);
        XSetWindowAttributes attributes{};
        attributes.override_redirect = overrideRedirect;
        XChangeWindowAttributes(d, window, CWOverrideRedirect, &attributes);
        if (!overrideRedirect) {
            const Atom clientState = XInternAtom(d, "WM_STATE", False);
            const long normal[2] = {1, 0};
            XChangeProperty(d, window, clientState, clientState, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(normal), 2);
        }
        XMapWindow(d, window);
        return window;
    };
    const Window clicked = shown({0, 0, 200, 200}, false), pointedAt = shown({300, 0, 500, 200}, false);
    shown({600, 0, 700, 200}, true);
    // A press, then what the main loop does until the next tick.
    const auto pressAt = [&](int x, int y, unsigned button) {
        XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(d, button, True, CurrentTime);
        XTestFakeButtonEvent(d, button, False, CurrentTime);
        XSync(d, False);
        for (int i = 0; i < 20; ++i) {
            while (g_main_context_iteration(nullptr, FALSE)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };

    pressAt(100, 100, 1);
    EXPECT_EQ(desktop->pressedWindows(), std::nullopt);
    desktop->watchPresses(true);
    // Scrolling, a menu and the bare root pick nothing.
    pressAt(100, 100, 4);
    pressAt(650, 100, 1);
    pressAt(900, 600, 1);
    pressAt(100, 100, 3);
    XTestFakeMotionEvent(d, -1, 400, 100, CurrentTime);
    XSync(d, False);
    EXPECT_EQ(desktop->pressedWindows(),
              (std::vector<platform::WindowHandle>{static_cast<platform::WindowHandle>(clicked)}));
    EXPECT_EQ(desktop->pressedWindows(), std::vector<platform::WindowHandle>{});
    pressAt(400, 100, 1);
    EXPECT_EQ(desktop->pressedWindows(),
              (std::vector<platform::WindowHandle>{static_cast<platform::WindowHandle>(pointedAt)}));

    desktop->watchPresses(false);
    pressAt(100, 100, 1);
    EXPECT_EQ(desktop->pressedWindows(), std::nullopt);
}

}  // namespace

#include <gtest/gtest.h>

#include "app/command_line.h"
#include "app/desktop_choice.h"

namespace {

using app::SessionDesktop;

TEST(DesktopChoice, WaylandCompositorsBeforeXWaylandAndX11Last) {
    const app::Session wayland{.x11Display = true, .waylandDisplay = true};
    auto with = [](app::Session session, bool app::Session::*offer) {
        session.*offer = true;
        return app::chooseDesktop(session);
    };
    EXPECT_EQ(with(wayland, &app::Session::swaySocket), SessionDesktop::sway);
    EXPECT_EQ(with(wayland, &app::Session::kwinOnBus), SessionDesktop::kwin);
    EXPECT_EQ(with(wayland, &app::Session::gnomeShellOnBus), SessionDesktop::gnomeShell);
    // A Wayland compositor with no channel this program speaks: XWayland.
    EXPECT_EQ(app::chooseDesktop(wayland), SessionDesktop::x11);
    // An X11 session of KDE or GNOME owns its bus names too.
    EXPECT_EQ(app::chooseDesktop({.x11Display = true, .kwinOnBus = true}), SessionDesktop::x11);
    EXPECT_EQ(app::chooseDesktop({.waylandDisplay = true}), std::nullopt);
    EXPECT_EQ(app::chooseDesktop({.kwinOnBus = true}), std::nullopt);
}

TEST(CommandLine, HelpAndVersionAnswerAndAnythingElseIsRefused) {
    EXPECT_EQ(app::readCommandLine({}).request, app::Request::run);
    EXPECT_EQ(app::readCommandLine({"--help"}).request, app::Request::help);
    EXPECT_EQ(app::readCommandLine({"--version", "--help"}).request, app::Request::version);
    const app::CommandLine unknown = app::readCommandLine({"--geometry", "--help"});
    EXPECT_EQ(unknown.request, app::Request::unknownOption);
    EXPECT_EQ(unknown.unknownOption, "--geometry");
    EXPECT_EQ(app::versionText("2.2.1"), "Ambrisk 2 2.2.1\n");
}

}  // namespace

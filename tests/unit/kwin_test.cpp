#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/kwin/script_report.h"
#include "platform/kwin/script_text.h"

namespace {

using platform::kwin::readReport;
using platform::kwin::ScriptReport;

constexpr const char* id = "{d4ebb9b2-0747-40ab-8cce-7c2609023231}";
const std::string screen = "screen=0%2C0%2C1280%2C1024%2C0%2C0%2C1280%2C996";
const std::string window = std::string("id=") + id + "&pid=20883&caption=Caf%C3%A9%20%26%20more" +
                           "&frame=390%2C312%2C500%2C400&state=maximized&kind=panel";

std::string report(const std::string& fields) { return "serial=7&active=" + std::string(id) + "&" + fields; }

TEST(KWinScriptReport, ReadsTheActiveWindowTheMonitorsAndTheWindowAsked) {
    const std::optional<ScriptReport> read = readReport(report(screen + "&" + screen + "&" + window));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->serial, 7u);
    EXPECT_EQ(read->activeId, id);
    ASSERT_EQ(read->monitors.size(), 2u);
    EXPECT_EQ(read->monitors[0].area, (platform::Rect{0, 0, 1280, 1024}));
    EXPECT_EQ(read->monitors[0].workArea, (platform::Rect{0, 0, 1280, 996}));
    ASSERT_TRUE(read->window);
    EXPECT_EQ(read->window->pid, 20883);
    EXPECT_EQ(read->window->caption, "Caf\xC3\xA9 & more");
    EXPECT_EQ(read->window->frame, (platform::Rect{390, 312, 890, 712}));
    EXPECT_EQ(read->window->state, platform::showMaximized);
    EXPECT_EQ(read->window->kind, platform::WindowKind::panel);

    EXPECT_TRUE(platform::kwin::isWindowId("d4ebb9b2-0747-40ab-8cce-7c2609023231"));
    // No active window and no window asked about (it is gone); fractions of
    // a logical pixel are rounded.
    const std::optional<ScriptReport> bare =
        readReport("serial=0&active=&screen=0%2C0%2C1280.4%2C1023.6%2C0%2C0%2C1%2C1");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->activeId.empty());
    EXPECT_FALSE(bare->window);
    EXPECT_EQ(bare->monitors[0].area, (platform::Rect{0, 0, 1280, 1024}));
}

TEST(KWinScriptReport, RefusesWhatIsNotAWellFormedReport) {
    const std::string frame = "frame=390%2C312%2C500%2C400";
    const auto withFrame = [&](const std::string& other) {
        std::string text = window;
        return report(screen + "&" + text.replace(text.find(frame), frame.size(), other));
    };
    for (const std::string& text : std::vector<std::string>{
             std::string("active=") + id,                                     // no serial
             "serial=-1&active=", "serial=4294967296&active=",                // out of range
             "serial=1&active=x%22)%3Bevil()%3B(%22",                         // not an id
             "serial=1&active=&active=",                                      // repeated
             "serial=1&active=&screen=1%2C2%2C3",                             // three numbers
             "serial=1&active=&screen=0%2C0%2Cinf%2C1%2C0%2C0%2C1%2C1",       // not finite
             "serial=1&active=&screen=0%2C0%2C1%2C1%2C0%2C0%2C1%2C",          // empty number
             "serial=1&active=%zz", "serial=1&active=%4", "serial=1&active",  // bad encoding, no '='
             withFrame("frame=2147483000%2C0%2C1000%2C10"),                   // leaves 32 bits
             withFrame("frame=0%2C0%2C-5%2C10"),                              // negative width
             withFrame("frame=0%2C0%2C1e300%2C10"),                           // far too large
             report(screen + "&id=" + id),                                    // a window without its fields
         })
        EXPECT_FALSE(readReport(text)) << text;
}

TEST(KWinScriptText, WritesTheCallBackIntoTheScriptAndCommandsAsJson) {
    const std::string shipped = "const setup = /*@SETUP@*/ null;\nrest();\n";
    EXPECT_EQ(
        platform::kwin::scriptText(shipped, {":1.42", "/org/ambrisk2/KWinScript", "00ff"}),
        "const setup = {service: \":1.42\", path: \"/org/ambrisk2/KWinScript\", token: \"00ff\"};\nrest();\n");
    // A value that could end its string is escaped; a script without the
    // place for the call-back gives none.
    const std::optional<std::string> escaped = platform::kwin::scriptText(shipped, {"a\"b\\", "/p", "t"});
    ASSERT_TRUE(escaped);
    EXPECT_NE(escaped->find("\"a\\u0022b\\u005c\""), std::string::npos);
    EXPECT_FALSE(platform::kwin::scriptText("no place", {":1.42", "/p", "t"}));

    platform::kwin::ScriptCommand apply{
        platform::kwin::CommandKind::apply, 9, id, platform::showRestore, {10, 20, 1040, 766}};
    EXPECT_EQ(platform::kwin::commandText(apply),
              std::string("{\"kind\": \"apply\", \"serial\": 9, \"window\": \"") + id +
                  "\", \"show\": \"normal\", \"x\": 10, \"y\": 20, \"width\": 1030, \"height\": 746}");
    EXPECT_EQ(platform::kwin::commandText({platform::kwin::CommandKind::forget, 0, {}, platform::showNormal, {}}),
              "{\"kind\": \"forget\"}");
    apply.windowId = "\"}; evil(); {\"";
    EXPECT_FALSE(platform::kwin::commandText(apply));
}

}  // namespace

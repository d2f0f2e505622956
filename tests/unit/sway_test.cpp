#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/sway/ipc_framing.h"
#include "platform/sway/sway_tree.h"

namespace {

using namespace platform::sway;
using platform::Rect;

// Recorded from a headless Sway 1.7 with a bar at the top: foot tiled, a
// zenity dialog floating and focused.
std::string sample(const char* name) {
    std::ifstream file(std::string(SWAY_SAMPLES) + "/" + name);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(SwayIpc, FramingRoundTripsAndRefusesGarbage) {
    const std::string message = framedMessage(MessageType::getTree, "{}");
    ASSERT_EQ(message.size(), headerSize + 2);
    std::array<char, headerSize> header{};
    std::copy_n(message.begin(), headerSize, header.begin());
    const std::optional<Header> parsed = parsedHeader(header);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->type, 4u);
    EXPECT_EQ(parsed->payloadLength, 2u);

    std::array<char, headerSize> wrongMagic = header;
    wrongMagic[0] = 'I';
    EXPECT_FALSE(parsedHeader(wrongMagic));
    std::array<char, headerSize> tooLong = header;
    std::fill_n(tooLong.begin() + 6, 4, '\x7f');  // the length, in either byte order
    EXPECT_FALSE(parsedHeader(tooLong));
}

TEST(SwayTree, RecordedTreeGivesFramesWithTitleBarsAndTheWorkArea) {
    const std::optional<Tree> tree = parsedTree(sample("sway_get_tree.json"));
    ASSERT_TRUE(tree);
    ASSERT_EQ(tree->windows.size(), 2u);
    EXPECT_EQ(tree->focused, 6u);
    const Container* foot = tree->find(5);
    const Container* dialog = tree->find(6);
    ASSERT_TRUE(foot && dialog);
    EXPECT_EQ(foot->frame, (Rect{0, 23, 1280, 1024}));
    EXPECT_FALSE(foot->floating);
    EXPECT_EQ(foot->pid, 18721);
    EXPECT_EQ(foot->name, "footy");
    // The title bar's own position counts from the workspace: only its height is taken.
    EXPECT_EQ(dialog->frame, (Rect{551, 438, 729, 585}));
    EXPECT_TRUE(dialog->floating);

    const std::optional<std::vector<Output>> outputs = parsedOutputs(sample("sway_get_outputs.json"));
    ASSERT_TRUE(outputs);
    ASSERT_EQ(outputs->size(), 1u);
    EXPECT_EQ(primaryArea(*outputs), (Rect{0, 0, 1280, 1024}));
    const std::vector<platform::Monitor> monitors = monitorsOf(*outputs, tree->workspaces);
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].workArea, (Rect{0, 23, 1280, 1024}));
}

TEST(SwayTree, TiledWindowsKnowTheirNeighboursAndFloatingOnesNone) {
    const auto window = [](int id, const char* type) {
        return "{\"id\": " + std::to_string(id) + ", \"type\": \"" + type +
               "\", \"pid\": 9, \"rect\": {\"x\": 0, \"y\": 0, \"width\": 9, \"height\": 9}, "
               "\"deco_rect\": {\"x\": 0, \"y\": 0, \"width\": 0, \"height\": 0}}";
    };
    const std::optional<Tree> tree = parsedTree("{\"type\": \"workspace\", \"layout\": \"splitv\", \"nodes\": [" +
                                                window(7, "con") + ", " + window(8, "con") +
                                                "], \"floating_nodes\": [" + window(9, "floating_con") + "]}");
    ASSERT_TRUE(tree && tree->find(7) && tree->find(8) && tree->find(9));
    EXPECT_EQ(tree->find(7)->place.next, 8u);
    EXPECT_EQ(tree->find(8)->place.previous, 7u);
    EXPECT_TRUE(tree->find(8)->place.vertical);
    EXPECT_EQ(tree->find(9)->place.previous, 0u);
    EXPECT_TRUE(tree->find(9)->floating);
}

TEST(SwayTree, UntrustedValuesDropTheirWindowOrTheWholeReply) {
    const std::string tree = sample("sway_get_tree.json");
    const auto windowsAfter = [&](const std::string& from, const std::string& to) {
        const std::optional<Tree> parsed = parsedTree(replaced(tree, from, to));
        return parsed ? parsed->windows.size() : 99u;
    };
    EXPECT_EQ(windowsAfter("\"id\": 5,", "\"id\": \"5\","), 1u);
    EXPECT_EQ(windowsAfter("\"id\": 5,", "\"id\": 2147483648,"), 1u);
    EXPECT_EQ(windowsAfter("\"id\": 5,", "\"id\": 18446744073709551615,"), 1u);
    EXPECT_EQ(windowsAfter("\"pid\": 18721", "\"pid\": -1"), 1u);
    EXPECT_EQ(windowsAfter("\"width\": 178", "\"width\": -178"), 1u);
    EXPECT_EQ(windowsAfter("\"width\": 178", "\"width\": 2147483600"), 1u);
    EXPECT_EQ(windowsAfter("\"width\": 178", "\"width\": 1.5"), 1u);
    EXPECT_FALSE(parsedTree(tree.substr(0, tree.size() / 2)));
    EXPECT_FALSE(parsedTree("[]"));
    EXPECT_FALSE(parsedOutputs("{}"));
    // An inactive output is no monitor.
    const std::string outputs = sample("sway_get_outputs.json");
    EXPECT_TRUE(parsedOutputs(replaced(outputs, "\"active\": true", "\"active\": false"))->empty());
}

TEST(SwayReplies, CommandsAndTheFocusRule) {
    EXPECT_TRUE(commandsSucceeded(R"([{"success": true}, {"success": true}])"));
    EXPECT_FALSE(commandsSucceeded(R"([{"success": true}, {"success": false, "error": "No matching node"}])"));
    EXPECT_FALSE(commandsSucceeded("[]"));
    EXPECT_FALSE(commandsSucceeded(R"({"success": true})"));

    EXPECT_EQ(focusFollowsMouseIn(R"({"config": "output * bg #000000 solid_color\n"})"), "yes");
    EXPECT_EQ(focusFollowsMouseIn(R"({"config": "focus_follows_mouse no\n  focus_follows_mouse always\n"})"),
              "always");
    EXPECT_EQ(focusFollowsMouseIn(R"({"config": "focus_follows_mouse no\nfocus_follows_mouse maybe\n"})"), "no");
    EXPECT_EQ(focusFollowsMouseIn("not json"), "yes");
}

}  // namespace

#include "platform/sway/sway_tree.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "platform/rectangles.h"

namespace platform::sway {

namespace {

using nlohmann::json;

// Sway's trees are a few levels deep; a deeper one is not walked further.
constexpr int deepestLevel = 64;
constexpr std::int64_t largestId = 0x7FFFFFFE;

std::optional<json> parsed(std::string_view text) {
    json value = json::parse(text, nullptr, false);
    if (value.is_discarded()) return std::nullopt;
    return value;
}

std::optional<std::int64_t> integer(const json& object, const char* key) {
    const auto field = object.find(key);
    if (field == object.end() || !field->is_number_integer()) return std::nullopt;
    if (field->is_number_unsigned() && field->get<std::uint64_t>() > std::uint64_t{INT64_MAX}) return std::nullopt;
    return field->get<std::int64_t>();
}

std::string text(const json& object, const char* key) {
    const auto field = object.find(key);
    return field != object.end() && field->is_string() ? field->get<std::string>() : std::string{};
}

bool flag(const json& object, const char* key) {
    const auto field = object.find(key);
    return field != object.end() && field->is_boolean() && field->get<bool>();
}

struct Box {
    std::int64_t x = 0, y = 0, width = 0, height = 0;
};

std::optional<Box> box(const json& object, const char* key) {
    const auto field = object.find(key);
    if (field == object.end() || !field->is_object()) return std::nullopt;
    const auto x = integer(*field, "x"), y = integer(*field, "y");
    const auto width = integer(*field, "width"), height = integer(*field, "height");
    if (!x || !y || !width || !height || *width < 0 || *height < 0) return std::nullopt;
    // Far beyond any layout; keeps the sums below within 64 bits.
    constexpr std::int64_t limit = std::int64_t{1} << 40;
    if (std::max({std::abs(*x), std::abs(*y), *width, *height}) > limit) return std::nullopt;
    return Box{*x, *y, *width, *height};
}

std::optional<Rect> rect(const Box& b) { return rectangleWithin32Bits(b.x, b.y, b.x + b.width, b.y + b.height); }

// The title bar sits above the container's rect; its height is all that
// counts (its position is relative to the parent).
std::optional<Rect> frameOf(const json& node) {
    const std::optional<Box> body = box(node, "rect");
    const std::optional<Box> deco = box(node, "deco_rect");
    if (!body || !deco) return std::nullopt;
    return rectangleWithin32Bits(body->x, body->y - deco->height, body->x + body->width, body->y + body->height);
}

std::optional<WindowHandle> idOf(const json& node) {
    const auto id = node.is_object() ? integer(node, "id") : std::nullopt;
    if (!id || *id < 1 || *id > largestId) return std::nullopt;
    return static_cast<WindowHandle>(*id);
}

std::optional<Container> containerOf(const json& node, bool floating, const TiledPlace& place) {
    const std::optional<WindowHandle> id = idOf(node);
    const auto pid = integer(node, "pid");
    const std::optional<Rect> frame = frameOf(node);
    if (!id || !pid || *pid < 0 || !frame) return std::nullopt;
    const auto fullscreen = integer(node, "fullscreen_mode");
    return Container{*id,
                     *pid,
                     text(node, "name"),
                     *frame,
                     floating,
                     fullscreen.value_or(0) != 0,
                     floating ? TiledPlace{} : place};
}

void walk(const json& node, bool floating, const TiledPlace& place, int level, Tree& tree) {
    if (!node.is_object() || level > deepestLevel) return;
    const std::string type = text(node, "type");
    // Only a window's container tells its program.
    if ((type == "con" || type == "floating_con") && node.contains("pid")) {
        const std::optional<Container> container = containerOf(node, floating, place);
        if (container) {
            tree.windows.push_back(*container);
            if (flag(node, "focused")) tree.focused = container->id;
        }
    } else if (type == "workspace") {
        const std::optional<Box> area = box(node, "rect");
        const std::optional<Rect> r = area ? rect(*area) : std::nullopt;
        if (r) tree.workspaces.push_back({text(node, "name"), *r});
    }
    const std::string layout = text(node, "layout");
    const bool vertical = layout == "splitv" || layout == "stacked";
    for (const char* list : {"nodes", "floating_nodes"}) {
        const auto children = node.find(list);
        if (children == node.end() || !children->is_array()) continue;
        const bool floatingList = floating || std::string_view(list) == "floating_nodes";
        for (std::size_t i = 0; i < children->size(); ++i) {
            TiledPlace childPlace{0, 0, vertical};
            if (i > 0) childPlace.previous = idOf((*children)[i - 1]).value_or(0);
            if (i + 1 < children->size()) childPlace.next = idOf((*children)[i + 1]).value_or(0);
            walk((*children)[i], floatingList, childPlace, level + 1, tree);
        }
    }
}

}  // namespace

const Container* Tree::find(WindowHandle id) const {
    const auto found =
        std::find_if(windows.begin(), windows.end(), [&](const Container& c) { return c.id == id; });
    return found != windows.end() ? &*found : nullptr;
}

std::optional<Tree> parsedTree(std::string_view json) {
    const std::optional<nlohmann::json> root = parsed(json);
    if (!root || !root->is_object()) return std::nullopt;
    Tree tree;
    walk(*root, false, {}, 0, tree);
    return tree;
}

std::optional<std::vector<Output>> parsedOutputs(std::string_view json) {
    const std::optional<nlohmann::json> list = parsed(json);
    if (!list || !list->is_array()) return std::nullopt;
    std::vector<Output> outputs;
    for (const nlohmann::json& output : *list) {
        if (!output.is_object() || !flag(output, "active")) continue;
        const std::optional<Box> area = box(output, "rect");
        const std::optional<Rect> r = area ? rect(*area) : std::nullopt;
        if (r) outputs.push_back({text(output, "name"), *r, text(output, "current_workspace")});
    }
    return outputs;
}

std::vector<Monitor> monitorsOf(const std::vector<Output>& outputs, const std::vector<Workspace>& workspaces) {
    std::vector<Monitor> monitors;
    for (const Output& output : outputs) {
        Rect work = output.area;
        for (const Workspace& w : workspaces) {
            const Rect& a = w.area;
            const bool inside = a.left >= work.left && a.top >= work.top && a.right <= work.right &&
                                a.bottom <= work.bottom && a.right > a.left && a.bottom > a.top;
            if (w.name == output.currentWorkspace && inside) work = a;
        }
        monitors.push_back({output.area, work});
    }
    return monitors;
}

std::optional<Rect> primaryArea(const std::vector<Output>& outputs) {
    if (outputs.empty()) return std::nullopt;
    for (const Output& output : outputs)
        if (output.area.left == 0 && output.area.top == 0) return output.area;
    return outputs.front().area;
}

bool commandsSucceeded(std::string_view json) {
    const std::optional<nlohmann::json> replies = parsed(json);
    if (!replies || !replies->is_array() || replies->empty()) return false;
    return std::all_of(replies->begin(), replies->end(),
                       [](const nlohmann::json& reply) { return reply.is_object() && flag(reply, "success"); });
}

std::string focusFollowsMouseIn(std::string_view json) {
    std::string value = "yes";
    const std::optional<nlohmann::json> reply = parsed(json);
    if (!reply || !reply->is_object()) return value;
    std::istringstream lines(text(*reply, "config"));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string command, setting;
        if (words >> command >> setting && command == "focus_follows_mouse" &&
            (setting == "yes" || setting == "no" || setting == "always"))
            value = setting;
    }
    return value;
}

}  // namespace platform::sway

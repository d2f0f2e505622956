#include "platform/tab_order.h"

#include <algorithm>
#include <cstddef>

namespace forms {

namespace {

// The entry `steps` places from `position`, round either end.
int roundStep(const std::vector<int>& ring, int position, int steps) {
    const auto count = static_cast<int>(ring.size());
    return ring[static_cast<std::size_t>(((position + steps) % count + count) % count)];
}

int positionIn(const std::vector<int>& ring, int id, int otherwise) {
    const auto found = std::find(ring.begin(), ring.end(), id);
    return found == ring.end() ? otherwise : static_cast<int>(found - ring.begin());
}

}  // namespace

bool takesFocus(Kind kind) { return kind != Kind::Label && kind != Kind::Frame; }

bool isTabStop(const Control& control) {
    return takesFocus(control.kind()) && (control.kind() != Kind::Option || control.selected());
}

std::vector<int> byTabIndex(const Form& form) {
    std::vector<int> order(static_cast<std::size_t>(form.controlCount()));
    for (int id = 0; id < form.controlCount(); ++id) order[static_cast<std::size_t>(id)] = id;
    std::stable_sort(order.begin(), order.end(), [&form](int a, int b) {
        return form.control(a).design().tabIndex < form.control(b).design().tabIndex;
    });
    return order;
}

std::vector<int> tabOrder(const Form& form) {
    std::vector<int> order = byTabIndex(form);
    std::erase_if(order, [&form](int id) { return !takesFocus(form.control(id).kind()); });
    return order;
}

int nextTabStop(const Form& form, const std::vector<int>& order, int current, bool backwards) {
    const auto count = static_cast<int>(order.size());
    // Without a current control, one step lands on the first or the last.
    const int position = positionIn(order, current, backwards ? 0 : count - 1);
    for (int step = 1; step <= count; ++step) {
        const int next = roundStep(order, position, backwards ? -step : step);
        if (isTabStop(form.control(next)) && form.control(next).enabled()) return next;
    }
    return -1;
}

int nextInOptionGroup(const Form& form, const std::vector<int>& order, int id, bool backwards) {
    std::vector<int> group;
    for (const int other : order) {
        if (inOneOptionGroup(form.control(other).design(), form.control(id).design()) &&
            form.control(other).enabled())
            group.push_back(other);
    }
    if (group.size() < 2) return -1;
    return roundStep(group, positionIn(group, id, 0), backwards ? -1 : 1);
}

bool mustLieInFront(const ControlDesign& later, const ControlDesign& earlier) {
    constexpr int hiddenTwips = 15;
    if (!inOneOptionGroup(later, earlier) || earlier.tabIndex >= later.tabIndex) return false;
    const bool rowsMeet = later.top < earlier.top + earlier.height && earlier.top < later.top + later.height;
    const int overlap = std::min(earlier.left + earlier.width, later.left + later.width) -
                        std::max(earlier.left, later.left);
    return rowsMeet && overlap > hiddenTwips;
}

}  // namespace forms

#pragma once
// Where the focus goes: the order of the Tab key, and the option groups that
// the arrow keys go round. A platform whose dialog manager moves the focus
// marks its controls from these rules; one without moves it by them.
#include <vector>

#include "platform/forms.h"

namespace forms {

// Labels and frames never take the focus.
bool takesFocus(Kind kind);

// Whether the Tab key stops at the control when it is enabled: an option
// group is one stop, at its selected button.
bool isTabStop(const Control& control);

// Every control by its place in the tab order.
std::vector<int> byTabIndex(const Form& form);

// The controls that take the focus, in the order of the Tab key.
std::vector<int> tabOrder(const Form& form);

// Where Tab (backwards: Shift+Tab) goes from `current` in `order`: the next
// enabled tab stop, round the end; -1 when there is none. From -1, no
// control, Tab goes to the first stop, where a window that opens puts it.
int nextTabStop(const Form& form, const std::vector<int>& order, int current, bool backwards);

// Where an arrow key goes from the option button `id`: the next enabled
// button of its group in `order`, round the end; -1 when the group has no
// other. The button it reaches is clicked, as in a dialog.
int nextInOptionGroup(const Form& form, const std::vector<int>& order, int id, bool backwards);

// Whether the option button `later` (later in the tab order) must lie in
// front of `earlier`: it starts inside that one, whose area would hide its
// circle. Touching by a pixel (15 twips at 96 DPI) hides nothing.
bool mustLieInFront(const ControlDesign& later, const ControlDesign& earlier);

}  // namespace forms

#pragma once
// A view of the forms model for tests and benchmarks: it counts what the
// model asks a real view to update and keeps which timers it touched.
#include <vector>

#include "platform/forms.h"

namespace fake {

struct FakeView final : forms::FormView {
    long writes = 0;  // every update of a control, a timer or the position
    std::vector<int> timersChanged;
    void controlChanged(int, forms::Property) override { ++writes; }
    void timerChanged(int timer) override {
        ++writes;
        timersChanged.push_back(timer);
    }
    void positionChanged() override { ++writes; }
};

}  // namespace fake

// Sizes and restores a window through the main window against the fake
// desktop, over random entries, placements, monitors, work areas and
// invisible margins, and checks what must always hold: no rectangle applied
// has wrapped around; where the asked size fits the work area, the frame the
// user sees gets exactly that size and lies inside it; a restore gives back
// the placement from before the last sizing, once.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/entry_numbers.h"
#include "tests/fuzz/random_desktop.h"
#include "tests/support/program_runs.h"
#include "ui/main_window.h"

namespace {

using namespace ui;
using namespace fuzz;

constexpr platform::WindowHandle target = 0x2020;
// Margins up to realisticMargin, on monitors this far inside the 32-bit
// range, leave room for every rectangle a fitting size needs.
constexpr std::int64_t roomAtTheEdge = std::int64_t{1} << 17;

const std::wstring crlf = L"\r\n";
const std::wstring title = L"Target";

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "broken invariant: %s\n", what);
    std::abort();
}

std::int64_t widthOf(const Rect& r) { return std::int64_t{r.right} - r.left; }
std::int64_t heightOf(const Rect& r) { return std::int64_t{r.bottom} - r.top; }

// The size asked for, worked out anew from the entries as the action left
// them: whole numbers, a base size and sums within the 32-bit range, no side
// below 16.
std::optional<platform::Size> expectedSize(MainWindow& w) {
    const int selected = w.state().selectedResolution;
    const auto entry = [&](Ctl field) { return numbers::entryNumber(w.ctl(field).text()); };
    const bool preset = selected >= 0 && selected < sizing::presetCount;
    double width = preset ? w.state().presetWidths[static_cast<std::size_t>(selected)] : entry(txtBreit);
    double height = preset ? w.state().presetHeights[static_cast<std::size_t>(selected)] : entry(txtHoch);
    const auto whole = [](double v) -> std::optional<std::int32_t> {
        v = std::nearbyint(v);
        if (!(v >= int32Min && v <= int32Max)) return std::nullopt;
        return static_cast<std::int32_t>(v);
    };
    if (!whole(width) || !whole(height)) return std::nullopt;
    if (w.ctl(chkBorder).value() == 1) {
        width += 2 * entry(txtBorder);
        height += 2 * entry(txtBorder);
    }
    if (w.ctl(chkTask).value() == 1) (w.optTask(0).selected() ? height : width) -= entry(txtTask);
    const std::optional<std::int32_t> outWidth = whole(width), outHeight = whole(height);
    if (!outWidth || !outHeight) return std::nullopt;
    return platform::Size{std::max(*outWidth, 16), std::max(*outHeight, 16)};
}

// Margins a frame can have: none negative, opposite ones inside the window.
bool plausible(const Margins& m, const Rect& outer) {
    return m.left >= 0 && m.top >= 0 && m.right >= 0 && m.bottom >= 0 &&
           std::int64_t{m.left} + m.right < widthOf(outer) && std::int64_t{m.top} + m.bottom < heightOf(outer);
}

// The frame the user sees, by those margins.
Rect visibleOf(const Rect& outer, const Margins& m) {
    if (!plausible(m, outer)) return outer;
    return {outer.left + m.left, outer.top + m.top, outer.right - m.right, outer.bottom - m.bottom};
}

bool realistic(const Margins& m) {
    return std::max({m.left, m.top, m.right, m.bottom}) <= realisticMargin &&
           std::min({m.left, m.top, m.right, m.bottom}) >= 0;
}

bool farFromTheEdges(const Rect& r) {
    return std::min<std::int64_t>({r.left, r.top, r.right, r.bottom}) > int32Min + roomAtTheEdge &&
           std::max<std::int64_t>({r.left, r.top, r.right, r.bottom}) < int32Max - roomAtTheEdge;
}

bool overlapping(const std::vector<Rect>& monitors) {
    for (std::size_t i = 0; i < monitors.size(); ++i)
        for (std::size_t j = i + 1; j < monitors.size(); ++j) {
            const Rect& a = monitors[i];
            const Rect& b = monitors[j];
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom) return true;
        }
    return false;
}

struct Record {
    platform::ShowState showCmd;
    Rect normal;
    bool used = false;
};

class Run {
public:
    explicit Run(FuzzedDataProvider& in) : in_(in) {}

    void setUp() {
        fake::FakeDesktop& desktop = fake_.desktop;
        desktop.convention = in_.ConsumeBool() ? fake::Convention::Wine : fake::Convention::Windows;
        desktop.monitors.clear();
        const int monitorCount = in_.ConsumeIntegralInRange(1, 3);
        for (int i = 0; i < monitorCount; ++i) {
            desktop.monitors.push_back(randomMonitor(in_));
            desktop.workAreas.push_back(randomWorkArea(in_, desktop.monitors.back()));
        }
        const Rect& primary = desktop.monitors.front();
        desktop.screen = {primary.right - primary.left, primary.bottom - primary.top};
        desktop.failWorkArea = in_.ConsumeIntegralInRange(0, 15) == 0;

        fake::FakeWindow& w = desktop.windows[target];
        w.title = title;
        w.placement.showCmd = randomShowState(in_);
        w.placement.rcNormalPosition =
            randomNormal(in_, desktop.monitors[in_.ConsumeIntegralInRange(0, monitorCount - 1)]);
        w.toolWindow = in_.ConsumeIntegralInRange(0, 3) == 0;
        w.hung = in_.ConsumeIntegralInRange(0, 15) == 0;
        w.refusesPlacements = in_.ConsumeIntegralInRange(0, 15) == 0;
        const int kind = in_.ConsumeIntegralInRange(0, 15);
        w.kind = kind == 0   ? platform::WindowKind::desktop
                 : kind == 1 ? platform::WindowKind::panel
                             : platform::WindowKind::ordinary;
        w.invisibleMargins = randomMargins(in_);
        if (in_.ConsumeBool()) w.otherStateMargins = randomMargins(in_);

        fake::createAndLoad(window_);
        desktop.foreground = fake::mainWindowHandle;
        window_.form().timerFired(Timer1);
        window_.optRes(in_.ConsumeIntegralInRange(0, 7)).select();
        window_.ctl(txtBreit).setText(randomEntry(in_));
        window_.ctl(txtHoch).setText(randomEntry(in_));
        window_.ctl(txtBorder).setText(randomEntry(in_));
        window_.ctl(txtTask).setText(randomEntry(in_));
        window_.ctl(chkBorder).setValue(in_.ConsumeIntegralInRange<std::int16_t>(0, 2));
        window_.ctl(chkTask).setValue(in_.ConsumeIntegralInRange<std::int16_t>(0, 2));
        window_.optTask(in_.ConsumeIntegralInRange(0, 1)).select();
    }

    void play() {
        for (int step = 0; step < 6 && in_.remaining_bytes() > 0; ++step) {
            switch (in_.ConsumeIntegralInRange(0, 3)) {
                case 0:
                case 1: size(); break;
                case 2: restore(); break;
                default: window().placement.showCmd = randomShowState(in_); break;  // the user maximises it, say
            }
        }
    }

private:
    FuzzedDataProvider& in_;
    fake::FakePlatform fake_;
    MainWindow window_{fake_.platform};
    std::optional<Record> record_;

    fake::FakeWindow& window() { return fake_.desktop.windows.at(target); }
    std::wstring result() { return window_.ctl(txtResult).text(); }

    std::optional<platform::WindowPlacement> reported() {
        platform::WindowPlacement placement{};
        if (!fake_.desktop.getPlacement(target, placement)) return std::nullopt;
        return placement;
    }

    void act(Ctl toggle) {
        window_.form().userClicked(toggle);
        fake_.desktop.foreground = target;
        window_.form().timerFired(Timer1);
        require(window_.form().timerEnabled(Timer2), "the toggle caught no window");
        window_.form().timerFired(Timer2);
        require(!window_.form().timerEnabled(Timer2), "the action may fire again");
    }

    // What every path that leaves the window alone must show.
    void requireUntouched(const fake::FakeWindow& before, const sizing::History& history, const char* what) {
        require(window().placementsApplied == before.placementsApplied, what);
        require(window().placement.rcNormalPosition == before.placement.rcNormalPosition, what);
        require(window_.state().resizedWindows == history, what);
    }

    // Whether a placement means one place on the screen. Where monitors
    // overlap, a rectangle lies on several, and a maximised one fills the
    // work area of any of them. On Windows, where the monitors' work areas
    // start at different offsets, the monitor that a rectangle in placement
    // coordinates lies on may be another than the one the window was on, and
    // the platform itself then puts it elsewhere.
    bool unambiguous() {
        const fake::FakeDesktop& desktop = fake_.desktop;
        if (overlapping(desktop.monitors)) return false;
        if (desktop.convention == fake::Convention::Wine || window().toolWindow) return true;
        const auto offset = [&](std::size_t i) {
            return std::pair{desktop.workAreas[i].left - desktop.monitors[i].left,
                             desktop.workAreas[i].top - desktop.monitors[i].top};
        };
        for (std::size_t i = 1; i < desktop.monitors.size(); ++i)
            if (offset(i) != offset(0)) return false;
        return true;
    }

    bool isOrdinary() { return window().kind == platform::WindowKind::ordinary; }

    // Neither toggle touches the desktop, a panel or a window whose placement
    // cannot be read; true, with that checked, for such a window.
    bool leftAlone(const fake::FakeWindow& before, const sizing::History& history, const std::wstring& textBefore,
                   bool readable, const std::wstring& text) {
        if (!isOrdinary()) {
            require(text == title + crlf + L"is part of the desktop and was left unchanged", "desktop text");
            requireUntouched(before, history, "the desktop or a panel was changed");
            return true;
        }
        if (readable) return false;
        require(text == textBefore, "a text for an unreadable window");
        requireUntouched(before, history, "an unreadable window was changed");
        return true;
    }

    void size() {
        const fake::FakeWindow before = window();
        const sizing::History history = window_.state().resizedWindows;
        const std::wstring textBefore = result();
        const std::optional<platform::WindowPlacement> read = reported();
        act(chkGo);
        const std::optional<platform::Size> asked = expectedSize(window_);
        const std::wstring text = result();

        if (leftAlone(before, history, textBefore, read.has_value(), text)) return;
        if (text == title + crlf + L"new size is out of range and cannot be applied") {
            require(!mustFit(before, *read, asked), "a size that fits was refused");
            return requireUntouched(before, history, "a refused size was applied");
        }
        require(asked.has_value(), "a size beyond the 32-bit range was applied");
        if (before.hung) {
            require(text == title + crlf + L"is not responding and was left unchanged", "hung text");
            return requireUntouched(before, history, "a hung window was changed");
        }

        record_ = Record{read->showCmd, read->rcNormalPosition};
        const sizing::HistoryRecord& stored = window_.state().resizedWindows.at(1);
        require(stored == sizing::HistoryRecord{target, read->showCmd, read->rcNormalPosition.left,
                                                read->rcNormalPosition.top, read->rcNormalPosition.right,
                                                read->rcNormalPosition.bottom},
                "the history does not hold the placement read before the sizing");

        const int applied = window().placementsApplied - before.placementsApplied;
        require(applied <= 2, "sized more than twice");
        requireUnwrapped(before, *asked);
        if (before.refusesPlacements) require(applied == 0, "a refusing window was changed");

        // The report is the visible size read back, where it can be read.
        const std::optional<platform::WindowPlacement> now = reported();
        if (!now) return require(text == textBefore, "a text for a window that cannot be read back");
        const Margins margins = fake_.desktop.facts(target).invisibleMargins;
        const Rect visible = visibleOf(now->rcNormalPosition, margins);
        require(text == title + crlf + L"调整到：" + std::to_wstring(widthOf(visible)) + L" x " +
                            std::to_wstring(heightOf(visible)),
                "the report is not the visible size read back");

        if (!mustFit(before, *read, asked)) return;
        require(widthOf(visible) == asked->width && heightOf(visible) == asked->height,
                "the visible frame does not have the asked size");
        if (!unambiguous()) return;
        // On the screen, inside the work area of the monitor the window was on.
        const Rect work = fake_.desktop.monitorFor(read->rcNormalPosition)->workArea;
        const Rect seen = visibleOf(window().placement.rcNormalPosition, margins);
        require(seen.left >= work.left && seen.top >= work.top && seen.right <= work.right &&
                    seen.bottom <= work.bottom,
                "the visible frame leaves the work area");
    }

    // Every rectangle a sizing applied is the asked size with one of the
    // window's margins around it, counted without wrapping.
    void requireUnwrapped(const fake::FakeWindow& before, platform::Size asked) {
        std::vector<Margins> candidates{{}, before.invisibleMargins};
        if (before.otherStateMargins) candidates.push_back(*before.otherStateMargins);
        const std::vector<Rect>& applied = window().appliedOnScreen;
        for (std::size_t i = before.appliedOnScreen.size(); i < applied.size(); ++i) {
            const Rect& r = applied[i];
            require(std::any_of(candidates.begin(), candidates.end(),
                                [&](const Margins& m) {
                                    return widthOf(r) == std::int64_t{asked.width} + m.left + m.right &&
                                           heightOf(r) == std::int64_t{asked.height} + m.top + m.bottom;
                                }),
                    "an applied rectangle is not the asked size with the margins");
        }
    }

    // Where a sizing must succeed exactly: an answering window on monitors
    // that do not overlap, well inside the 32-bit range, with margins a frame
    // can have, and a work area the asked size fits.
    bool mustFit(const fake::FakeWindow& before, const platform::WindowPlacement& read,
                 const std::optional<platform::Size>& asked) {
        fake::FakeDesktop& desktop = fake_.desktop;
        if (!asked || before.hung || before.refusesPlacements || desktop.failWorkArea) return false;
        if (overlapping(desktop.monitors)) return false;
        for (const Rect& m : desktop.monitors)
            if (!farFromTheEdges(m)) return false;
        const Rect& normal = read.rcNormalPosition;
        if (!farFromTheEdges(normal)) return false;
        for (const std::optional<Margins>& m : {std::optional{before.invisibleMargins}, before.otherStateMargins})
            if (m && (!realistic(*m) || !plausible(*m, normal))) return false;
        const Rect work = desktop.monitorFor(normal)->workArea;
        return asked->width <= widthOf(work) && asked->height <= heightOf(work);
    }

    void restore() {
        const fake::FakeWindow before = window();
        const sizing::History history = window_.state().resizedWindows;
        const std::wstring textBefore = result();
        const bool readable = reported().has_value();
        act(chkBack);
        const std::wstring text = result();

        if (leftAlone(before, history, textBefore, readable, text)) return;
        if (!record_) {
            require(text == title + crlf + L"is unknown and cannot be sized back", "unknown text");
            return requireUntouched(before, history, "a window never sized was restored");
        }
        if (record_->used) {
            require(text == title + crlf + L"original size has already been restored", "restored twice");
            return requireUntouched(before, history, "a window was restored twice");
        }
        if (before.hung || text == title + crlf + L"original size could not be restored")
            return requireUntouched(before, history, "a failed restore changed the window or used the record");
        require(text == title + crlf + L"恢复其原始大小。", "restore text");
        require(window().placementsApplied == before.placementsApplied + 1, "restored more than once");
        record_->used = true;
        const std::optional<platform::WindowPlacement> now = reported();
        require(now && now->showCmd == record_->showCmd, "the restore did not give back the show state");
        require(!unambiguous() || now->rcNormalPosition == record_->normal,
                "the restore did not give back the former placement");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Run run(in);
    run.setUp();
    run.play();
    return 0;
}

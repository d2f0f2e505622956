#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/entry_numbers.h"
#include "sizing/coordinates.h"
#include "sizing/geometry.h"
#include "sizing/history.h"
#include "sizing/title.h"
#include "ui/main_window.h"

namespace ui {

namespace {

constexpr const wchar_t* lineBreak = L"\r\n";
constexpr const wchar_t* resizedTo = L"调整到：";
constexpr const wchar_t* restored = L"恢复其原始大小。";
constexpr const wchar_t* alreadyRestored = L"original size has already been restored";
constexpr const wchar_t* unknownWindow = L"is unknown and cannot be sized back";
constexpr const wchar_t* sizeOutOfRange = L"new size is out of range and cannot be applied";
constexpr const wchar_t* notRestored = L"original size could not be restored";
constexpr const wchar_t* notResponding = L"is not responding and was left unchanged";
constexpr const wchar_t* unreachable = L"The clicked window is not an X11 window and cannot be reached";

// Changing a window waits for its program; one that does not answer within
// this time is left alone rather than freezing this program with it.
constexpr std::chrono::milliseconds answerTimeout{1000};

// The entries' own reading: the same text counts the same here as in the
// field and in the stored settings.
double numberIn(const forms::Control& field) { return numbers::entryNumber(field.text()); }

sizing::SizeRequest requestedSize(MainWindow& window) {
    sizing::SizeRequest request;
    const std::int32_t selected = window.state().selectedResolution;
    if (selected >= 0 && selected < presetCount) {
        request.width = window.state().presetWidths[static_cast<std::size_t>(selected)];
        request.height = window.state().presetHeights[static_cast<std::size_t>(selected)];
    } else {
        request.width = numberIn(window.ctl(txtBreit));
        request.height = numberIn(window.ctl(txtHoch));
    }
    // Only a tick counts; the greyed state is as good as clear.
    if (window.ctl(chkBorder).value() == 1) request.border = numberIn(window.ctl(txtBorder));
    if (window.ctl(chkTask).value() == 1) request.taskbar = numberIn(window.ctl(txtTask));
    request.horizontalTaskbar = window.optTask(0).selected();
    return request;
}

// The foreground window when it is one this program may act on: not its own
// window, and a handle greater than 0. A window the platform cannot reach is
// said so, since the user did click one.
std::optional<platform::WindowHandle> target(MainWindow& window, platform::Desktop& desktop) {
    const platform::WindowHandle handle = desktop.foregroundWindow();
    window.state().targetWindow = handle;
    if (handle == platform::unreachableWindow) window.ctl(txtResult).setText(unreachable);
    if (handle == window.form().hWnd() || static_cast<std::int32_t>(handle) <= 0) return std::nullopt;
    return handle;
}

std::optional<platform::WindowPlacement> placementOf(platform::WindowHandle handle, platform::Desktop& desktop) {
    platform::WindowPlacement placement{};
    if (!desktop.getPlacement(handle, placement)) return std::nullopt;
    return placement;
}

std::wstring titleOf(platform::WindowHandle handle, platform::Desktop& desktop) {
    return sizing::shownTitle(desktop.title(handle));
}

void report(MainWindow& window, const std::wstring& title, const std::wstring& outcome) {
    window.ctl(txtResult).setText(title + lineBreak + outcome);
}

// The placement is tried first; where the platform refuses it for another
// program's window (as Wine does), the same show state and rectangle are
// applied with the calls that work across programs.
bool apply(platform::Desktop& desktop, platform::WindowHandle handle, const platform::WindowPlacement& placement,
           platform::Point toScreen) {
    if (desktop.setPlacement(handle, placement)) return true;
    const std::optional<platform::Rect> onScreen = sizing::moved(placement.rcNormalPosition, toScreen);
    return onScreen && desktop.showAndMove(handle, placement.showCmd, *onScreen);
}

void sizeTarget(MainWindow& window, platform::Desktop& desktop) {
    window.NormaliseEntries();
    const std::optional<platform::Size> size = sizing::outerSize(requestedSize(window));

    const std::optional<platform::WindowHandle> handle = target(window, desktop);
    if (!handle) return;
    std::optional<platform::WindowPlacement> placement = placementOf(*handle, desktop);
    if (!placement) return;

    // Worked out before the history is touched, so that a refused size
    // leaves the window and its record as they were.
    const platform::Rect normal = placement->rcNormalPosition;
    const sizing::PlacementFrame frame = sizing::placementFrame(desktop, *handle, normal, normal);
    const std::optional<platform::Rect> rectangle =
        size ? sizing::placedRectangle(normal, *size, frame.workArea) : std::nullopt;
    if (!rectangle || !sizing::moved(*rectangle, frame.toScreen)) {
        report(window, titleOf(*handle, desktop), sizeOutOfRange);
        return;
    }
    if (!desktop.answers(*handle, answerTimeout)) {
        report(window, titleOf(*handle, desktop), notResponding);
        return;
    }

    window.RememberPlacement(*placement, *handle);
    placement->showCmd = platform::showRestore;
    placement->ptMinPosition = {};
    placement->ptMaxPosition = {};
    placement->rcNormalPosition = *rectangle;
    // A refusal shows in the size read back below.
    apply(desktop, *handle, *placement, frame.toScreen);

    const std::wstring title = titleOf(*handle, desktop);
    const std::optional<platform::WindowPlacement> now = placementOf(*handle, desktop);
    if (!now) return;
    // The size the window really has: its application may keep a size of its own.
    const platform::Rect& sized = now->rcNormalPosition;
    report(window, title,
           resizedTo + std::to_wstring(std::int64_t{sized.right} - sized.left) + L" x " +
               std::to_wstring(std::int64_t{sized.bottom} - sized.top));
}

void restoreTarget(MainWindow& window, platform::Desktop& desktop) {
    const std::optional<platform::WindowHandle> handle = target(window, desktop);
    if (!handle) return;
    std::optional<platform::WindowPlacement> placement = placementOf(*handle, desktop);
    if (!placement) return;
    const std::wstring title = titleOf(*handle, desktop);
    const platform::Rect current = placement->rcNormalPosition;

    // The lookup marks the record used before anything is applied.
    if (!window.RecallPlacement(*placement, *handle)) {
        report(window, title, unknownWindow);
        return;
    }
    if (placement->showCmd == sizing::restoredMarker) {
        report(window, title, alreadyRestored);
        return;
    }
    // A window left as it is keeps its record, so the user can try again.
    const auto keepRestorable = [&](const wchar_t* outcome) {
        sizing::reopen(window.state().resizedWindows, *handle, placement->showCmd);
        report(window, title, outcome);
    };
    if (!desktop.answers(*handle, answerTimeout)) return keepRestorable(notResponding);
    const sizing::PlacementFrame frame =
        sizing::placementFrame(desktop, *handle, current, placement->rcNormalPosition);
    if (apply(desktop, *handle, *placement, frame.toScreen))
        report(window, title, restored);
    else
        // Refused: a window of a program with higher rights, say.
        keepRestorable(notRestored);
}

}  // namespace

void MainWindow::frmAmbrisk2_Timer2_Timer() {
    if (state_.restoreMode == vbTrue)
        restoreTarget(*this, platform_.desktop);
    else
        sizeTarget(*this, platform_.desktop);
    // Every path ends here, so each arming fires once.
    form_.setTimerEnabled(Timer2, false);
}

}  // namespace ui

#include "sizing/action.h"

#include <chrono>
#include <cstdint>

#include "sizing/arming.h"
#include "sizing/coordinates.h"
#include "sizing/history.h"
#include "sizing/title.h"

namespace sizing {

namespace {

constexpr const wchar_t* lineBreak = L"\r\n";
constexpr const wchar_t* resizedTo = L"调整到：";
constexpr const wchar_t* restored = L"恢复其原始大小。";
constexpr const wchar_t* alreadyRestored = L"original size has already been restored";
constexpr const wchar_t* unknownWindow = L"is unknown and cannot be sized back";
constexpr const wchar_t* sizeOutOfRange = L"new size is out of range and cannot be applied";
constexpr const wchar_t* notRestored = L"original size could not be restored";
constexpr const wchar_t* notResponding = L"is not responding and was left unchanged";
constexpr const wchar_t* notChangedYet = L"is not responding and has not changed yet";
constexpr const wchar_t* partOfDesktop = L"is part of the desktop and was left unchanged";
constexpr const wchar_t* unreachable = L"The clicked window is not an X11 window and cannot be reached";

// Changing a window waits for its program; one that does not answer within
// this time is left alone rather than freezing this program with it.
constexpr std::chrono::milliseconds answerTimeout{1000};

bool mayActOn(platform::Desktop& desktop, platform::WindowHandle handle, platform::WindowHandle ownWindow) {
    return !isOwnWindow(desktop, handle, ownWindow) && static_cast<std::int32_t>(handle) > 0;
}

// A window the platform cannot reach is said so, since the user did click
// one; nothing is said about any other window that is not acted on.
ResultText notActedOn(platform::WindowHandle handle) {
    if (handle == platform::unreachableWindow) return unreachable;
    return std::nullopt;
}

std::optional<platform::WindowPlacement> placementOf(platform::WindowHandle handle, platform::Desktop& desktop) {
    platform::WindowPlacement placement{};
    if (!desktop.getPlacement(handle, placement)) return std::nullopt;
    return placement;
}

std::wstring titleOf(platform::WindowHandle handle, platform::Desktop& desktop) {
    return shownTitle(desktop.title(handle));
}

std::wstring report(const std::wstring& title, const std::wstring& outcome) { return title + lineBreak + outcome; }

// The placement is tried first; where the platform refuses it for another
// program's window (as Wine does), the same show state and rectangle are
// applied with the calls that work across programs.
bool apply(platform::Desktop& desktop, platform::WindowHandle handle, const platform::WindowPlacement& placement,
           platform::Point toScreen) {
    if (desktop.setPlacement(handle, placement)) return true;
    const std::optional<platform::Rect> onScreen = moved(placement.rcNormalPosition, toScreen);
    return onScreen && desktop.showAndMove(handle, placement.showCmd, *onScreen);
}

// The outer rectangle that gives the frame the user sees the size, with that
// frame placed by the rule of placedRectangle; nullopt where a coordinate
// would leave the 32-bit range, in the placement or on the screen.
std::optional<platform::Rect> sizedOuter(const VisibleFrame& visible, platform::Size size,
                                         const PlacementFrame& frame) {
    const std::optional<platform::Rect> placed = placedRectangle(visible.rectangle, size, frame.workArea);
    if (!placed) return std::nullopt;
    const std::optional<platform::Rect> outer = outerRectangle(*placed, visible.margins);
    if (!outer || !moved(*outer, frame.toScreen)) return std::nullopt;
    return outer;
}

std::wstring sizeText(const platform::Rect& r) {
    return std::to_wstring(std::int64_t{r.right} - r.left) + L" x " +
           std::to_wstring(std::int64_t{r.bottom} - r.top);
}

ResultText sizeWindow(platform::Desktop& desktop, platform::WindowHandle handle, std::optional<platform::Size> size,
                      PlacementMemory& memory) {
    std::optional<platform::WindowPlacement> placement = placementOf(handle, desktop);
    if (!placement) return std::nullopt;

    // Worked out before the history is touched, so that a refused size
    // leaves the window and its record as they were. The margins are those
    // the window announces as it is now: the only ones there are to go by.
    const platform::Rect normal = placement->rcNormalPosition;
    const PlacementFrame frame = placementFrame(desktop, handle, normal, normal);
    const VisibleFrame before = visibleFrame(normal, desktop.facts(handle).invisibleMargins);
    const std::optional<platform::Rect> outer = size ? sizedOuter(before, *size, frame) : std::nullopt;
    if (!outer) return report(titleOf(handle, desktop), sizeOutOfRange);
    if (!desktop.answers(handle, answerTimeout)) return report(titleOf(handle, desktop), notResponding);

    memory.RememberPlacement(*placement, handle);
    placement->showCmd = platform::showRestore;
    placement->ptMinPosition = {};
    placement->ptMaxPosition = {};
    placement->rcNormalPosition = *outer;
    // A refusal shows in the size read back below.
    apply(desktop, handle, *placement, frame.toScreen);

    const std::wstring title = titleOf(handle, desktop);
    // Its program hangs in the change, which may still take effect; its
    // record stays, so that the user can restore it then.
    if (desktop.changePending(handle)) return report(title, notChangedYet);
    std::optional<platform::WindowPlacement> now = placementOf(handle, desktop);
    if (!now) return std::nullopt;
    VisibleFrame sized = visibleFrame(now->rcNormalPosition, desktop.facts(handle).invisibleMargins);
    // A window that was maximised or minimised announced the margins of that
    // state (GTK drops its shadow there; a maximised window's borders on
    // Windows lie off the monitor on all four sides). Back in its normal
    // state it announces those of its normal frame, and is sized once more
    // with them.
    if (sized.margins != before.margins) {
        const std::optional<platform::Rect> corrected =
            sizedOuter(visibleFrame(normal, sized.margins), *size, frame);
        if (corrected && *corrected != *outer) {
            placement->rcNormalPosition = *corrected;
            apply(desktop, handle, *placement, frame.toScreen);
            if (desktop.changePending(handle)) return report(title, notChangedYet);
            now = placementOf(handle, desktop);
            if (!now) return std::nullopt;
            sized = visibleFrame(now->rcNormalPosition, sized.margins);
        }
    }
    // The size the user sees now: its application may keep a size of its own.
    return report(title, resizedTo + sizeText(sized.rectangle));
}

ResultText restoreWindow(platform::Desktop& desktop, platform::WindowHandle handle, PlacementMemory& memory) {
    std::optional<platform::WindowPlacement> placement = placementOf(handle, desktop);
    if (!placement) return std::nullopt;
    const std::wstring title = titleOf(handle, desktop);
    const platform::Rect current = placement->rcNormalPosition;

    // The lookup marks the record used before anything is applied.
    if (!memory.RecallPlacement(*placement, handle)) return report(title, unknownWindow);
    if (placement->showCmd == restoredMarker) return report(title, alreadyRestored);
    // A window left as it is keeps its record, so the user can try again.
    const auto keepRestorable = [&](const wchar_t* outcome) {
        memory.ReopenPlacement(handle, placement->showCmd);
        return report(title, outcome);
    };
    if (!desktop.answers(handle, answerTimeout)) return keepRestorable(notResponding);
    const PlacementFrame frame = placementFrame(desktop, handle, current, placement->rcNormalPosition);
    // Refused: a window of a program with higher rights, say.
    if (!apply(desktop, handle, *placement, frame.toScreen)) return keepRestorable(notRestored);
    if (desktop.changePending(handle)) return keepRestorable(notChangedYet);
    return report(title, restored);
}

// The desktop and its panels belong to the desktop, not to the user's
// windows: sizing them would break the desktop (its menu stops working
// outside the new size), so neither toggle touches them or their records.
template <typename Action>
ResultText actOn(platform::Desktop& desktop, platform::WindowHandle handle, platform::WindowHandle ownWindow,
                 Action action) {
    if (!mayActOn(desktop, handle, ownWindow)) return notActedOn(handle);
    if (desktop.facts(handle).kind != platform::WindowKind::ordinary)
        return report(titleOf(handle, desktop), partOfDesktop);
    return action(handle);
}

}  // namespace

platform::WindowHandle actionTarget(platform::Desktop& desktop, std::optional<platform::WindowHandle> pressedWindow) {
    return pressedWindow ? *pressedWindow : desktop.foregroundWindow();
}

ResultText sizeTarget(platform::Desktop& desktop, platform::WindowHandle target, platform::WindowHandle ownWindow,
                      const SizeRequest& request, PlacementMemory& memory) {
    const std::optional<platform::Size> size = askedSize(request);
    return actOn(desktop, target, ownWindow,
                 [&](platform::WindowHandle handle) { return sizeWindow(desktop, handle, size, memory); });
}

ResultText restoreTarget(platform::Desktop& desktop, platform::WindowHandle target, platform::WindowHandle ownWindow,
                         PlacementMemory& memory) {
    return actOn(desktop, target, ownWindow,
                 [&](platform::WindowHandle handle) { return restoreWindow(desktop, handle, memory); });
}

}  // namespace sizing

// Themed push buttons ignore the text colour of WM_CTLCOLORBTN, so the
// coloured toggles draw themselves: face, coloured text, focus rectangle.
#include "platform/win32/form_window.h"

#include <uxtheme.h>
#include <vssym32.h>

#include <string>

namespace platform::win32 {

LRESULT FormWindow::drawToggle(const NMCUSTOMDRAW& draw, const forms::ControlDesign& design) {
    if (draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const HWND button = draw.hdr.hwndFrom;
    const HDC dc = draw.hdc;
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const bool down = SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED ||
                      (draw.uItemState & CDIS_SELECTED) != 0;
    RECT face = draw.rc;
    RECT content = face;
    if (const HTHEME theme = GetWindowTheme(button)) {
        const int state = !enabled                          ? PBS_DISABLED
                          : down                            ? PBS_PRESSED
                          : (draw.uItemState & CDIS_HOT) != 0 ? PBS_HOT
                                                            : PBS_NORMAL;
        if (IsThemeBackgroundPartiallyTransparent(theme, BP_PUSHBUTTON, state))
            DrawThemeParentBackground(button, dc, &face);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &face, nullptr);
        GetThemeBackgroundContentRect(theme, dc, BP_PUSHBUTTON, state, &face, &content);
    } else {
        DrawFrameControl(dc, &face, DFC_BUTTON,
                         DFCS_BUTTONPUSH | (down ? DFCS_PUSHED | DFCS_CHECKED : 0) | (enabled ? 0 : DFCS_INACTIVE));
        InflateRect(&content, -GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
        if (down) OffsetRect(&content, 1, 1);
    }

    const std::wstring text = windowText(button);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
    const HGDIOBJ previousFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? RGB(design.textColour->red, design.textColour->green, design.textColour->blue)
                             : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &content,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previousFont) SelectObject(dc, previousFont);

    const auto uiState = static_cast<UINT>(SendMessageW(button, WM_QUERYUISTATE, 0, 0));
    if ((draw.uItemState & CDIS_FOCUS) != 0 && (uiState & UISF_HIDEFOCUS) == 0) {
        InflateRect(&content, -1, -1);
        DrawFocusRect(dc, &content);
    }
    return CDRF_SKIPDEFAULT;
}

}  // namespace platform::win32

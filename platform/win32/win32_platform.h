#pragma once
// The Win32 implementations of the platform interfaces.
#include "platform/desktop.h"
#include "platform/message_dialog.h"
#include "platform/process.h"
#include "platform/settings_store.h"
#include "platform/win32/dwm_margins.h"
#include "platform/win32/window_changes.h"

namespace platform::win32 {

class Win32Desktop final : public Desktop {
public:
    WindowHandle foregroundWindow() override;
    bool getPlacement(WindowHandle window, WindowPlacement& placement) override;
    bool setPlacement(WindowHandle window, const WindowPlacement& placement) override;
    bool showAndMove(WindowHandle window, ShowState showCmd, const Rect& screenRectangle) override;
    std::optional<Rect> windowRectangle(WindowHandle window) override;
    WindowFacts facts(WindowHandle window) override;
    bool answers(WindowHandle window, std::chrono::milliseconds timeout) override;
    std::wstring title(WindowHandle window) override;
    std::optional<Monitor> monitorFor(const Rect& screenRectangle) override;
    Size screenSize() override;
    bool anyMonitorIntersects(const Rect& screenPixels) override;
    bool changePending(WindowHandle window) override;

private:
    DwmMargins margins_;
    WindowChanges changes_;
};

class Win32SettingsStore final : public SettingsStore {
public:
    std::optional<std::wstring> read(const std::wstring& application, const std::wstring& section,
                                     const std::wstring& key) override;
    bool write(const std::wstring& application, const std::wstring& section,
               const std::wstring& key, const std::wstring& value) override;
};

class Win32MessageDialog final : public MessageDialog {
public:
    void show(const std::wstring& text, MessageKind kind, const std::wstring& title) override;
};

class Win32Process final : public Process {
public:
    std::wstring executableBaseName() override;
    wchar_t decimalMark() override;
};

}  // namespace platform::win32

// probe: reads windows of other processes from outside, the way a screen
// reader would, and prints what it finds as one JSON document (UTF-8) on
// stdout. Used by the end-to-end tests in the same Wine prefix and display.
//
//   probe controls <window>          window facts plus every child control
//   probe window <window>            window facts: style, rectangles, DPI
//   probe placement <window>         GetWindowPlacement
//   probe setplacement <window> <showCmd> <left> <top> <right> <bottom>
//   probe move <window> <left> <top> <right> <bottom>
//                                    SetWindowPos
//   probe foreground                 the foreground window
//   probe focus <window>             the control with the keyboard focus
//   probe close <window>             post WM_CLOSE
//   probe answers <window> <ms>      whether the window's thread handles a
//                                    message within <ms> milliseconds
//   probe windows                    visible top-level windows
//   probe screen                     screen size, work area, DPI
//   probe watch <window> <id> <ms>   one line per change of the foreground
//                                    window or of control <id>'s check state
//   probe text <window> <face> <points> <weight> <underline> <ink> <paper> <text>
//                                    a caption drawn in that font at the window's
//                                    DPI (colours as rrggbb): its extent and the
//                                    pixels that come out exactly in the ink colour
//   probe tooltips <window>          the tooltip windows of the window's thread,
//                                    with the text shown and every tool's text
//   probe selection <window> <id>    EM_GETSEL of control <id>
//   probe clipboard <text>           put the text on the clipboard
//   probe colours                    the button-face and window system colours
//   probe endsession <window> <0|1>  send WM_QUERYENDSESSION, then WM_ENDSESSION
//                                    with wParam 1 (the session ends) or 0 (cancelled)
//   probe post <window> <id> <message> <wParam>
//                                    post a message to control <id> (0: the window)
//   probe refusecreation <exe> window|controls
//                                    start <exe> with a WH_CBT hook (refuse_creation.dll)
//                                    that refuses its main window or the controls on it;
//                                    close the message box it shows, report its exit code
//   probe keyaccess <key> readonly|writable
//                                    DACL of a key under HKCU: everyone may do
//                                    everything, except set values when read-only
//
// <window> is a title (exact) or a handle written as 0x<hex>.
// Exit code 0 on success, 1 on bad usage, 2 when the window is not found, 3 when
// the call failed (Wine refuses SetWindowPlacement on another process's window).
#include <windows.h>

#include <commctrl.h>
#include <sddl.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                   nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr,
                        nullptr);
    return out;
}

std::string quoted(const std::wstring& text) {
    std::string out = "\"";
    for (char c : utf8(text)) {
        auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string number(long long value) { return std::to_string(value); }

std::string handle(HWND hwnd) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\"0x%llx\"",
                  static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return buf;
}

std::string flag(bool value) { return value ? "true" : "false"; }

std::string rect(const RECT& r) {
    return "[" + number(r.left) + "," + number(r.top) + "," + number(r.right) + "," + number(r.bottom) + "]";
}

// Raw bytes to stdout, so that UTF-8 reaches the Unix side unchanged.
void emit(const std::string& text) {
    std::string line = text + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

std::wstring windowText(HWND hwnd) {
    // WM_GETTEXT rather than GetWindowText: it reads controls of other processes too.
    auto length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    auto got = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(got));
    return text;
}

std::wstring className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

HWND findWindow(const wchar_t* which) {
    if (which[0] == L'0' && (which[1] == L'x' || which[1] == L'X')) {
        auto value = static_cast<UINT_PTR>(std::wcstoull(which + 2, nullptr, 16));
        HWND hwnd = reinterpret_cast<HWND>(value);
        return IsWindow(hwnd) ? hwnd : nullptr;
    }
    return FindWindowW(nullptr, which);
}

UINT dpiOf(HWND hwnd) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    auto fn = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (fn && hwnd) {
        if (UINT dpi = fn(hwnd)) return dpi;
    }
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSX);
    ReleaseDC(nullptr, dc);
    return static_cast<UINT>(dpi);
}

RECT clientOnScreen(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

std::string placementJson(HWND hwnd) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!GetWindowPlacement(hwnd, &wp)) return "null";
    return "{\"showCmd\":" + number(wp.showCmd) + ",\"flags\":" + number(wp.flags) +
           ",\"normal\":" + rect(wp.rcNormalPosition) + ",\"min\":[" + number(wp.ptMinPosition.x) + "," +
           number(wp.ptMinPosition.y) + "],\"max\":[" + number(wp.ptMaxPosition.x) + "," +
           number(wp.ptMaxPosition.y) + "]}";
}

std::string windowFields(HWND hwnd) {
    auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    return "\"hwnd\":" + handle(hwnd) + ",\"title\":" + quoted(windowText(hwnd)) +
           ",\"class\":" + quoted(className(hwnd)) + ",\"pid\":" + number(pid) +
           ",\"style\":" + number(style) +
           ",\"exstyle\":" + number(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_EXSTYLE))) +
           ",\"maximizebox\":" + flag(style & WS_MAXIMIZEBOX) +
           ",\"minimizebox\":" + flag(style & WS_MINIMIZEBOX) +
           ",\"thickframe\":" + flag(style & WS_THICKFRAME) + ",\"visible\":" + flag(IsWindowVisible(hwnd)) +
           ",\"window\":" + rect(outer) + ",\"client\":" + rect(clientOnScreen(hwnd)) +
           ",\"dpi\":" + number(dpiOf(hwnd)) + ",\"placement\":" + placementJson(hwnd);
}

struct ControlWalk {
    HWND top;
    RECT client;
    std::vector<std::string> items;
};

BOOL CALLBACK addControl(HWND hwnd, LPARAM param) {
    auto* walk = reinterpret_cast<ControlWalk*>(param);
    RECT r{};
    GetWindowRect(hwnd, &r);
    HWND parent = GetParent(hwnd);
    int parentId = parent == walk->top ? 0 : GetDlgCtrlID(parent);
    auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    auto check = SendMessageW(hwnd, BM_GETCHECK, 0, 0);
    walk->items.push_back(
        "{\"id\":" + number(GetDlgCtrlID(hwnd)) + ",\"hwnd\":" + handle(hwnd) + ",\"class\":" +
        quoted(className(hwnd)) + ",\"text\":" + quoted(windowText(hwnd)) +
        ",\"enabled\":" + flag(IsWindowEnabled(hwnd)) + ",\"visible\":" + flag(IsWindowVisible(hwnd)) +
        ",\"checked\":" + number(check) + ",\"style\":" + number(style) + ",\"parent\":" + number(parentId) +
        ",\"rect\":" + rect(r) + ",\"pos\":[" + number(r.left - walk->client.left) + "," +
        number(r.top - walk->client.top) + "," + number(r.right - r.left) + "," + number(r.bottom - r.top) +
        "]}");
    return TRUE;
}

std::string join(const std::vector<std::string>& items) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
    return out + "]";
}

int notFound(const wchar_t* which) {
    emit("{\"error\":\"window not found\",\"window\":" + quoted(which) + "}");
    return 2;
}

int controls(HWND hwnd) {
    ControlWalk walk{hwnd, clientOnScreen(hwnd), {}};
    EnumChildWindows(hwnd, addControl, reinterpret_cast<LPARAM>(&walk));
    emit("{" + windowFields(hwnd) + ",\"controls\":" + join(walk.items) + "}");
    return 0;
}

int focus(HWND hwnd) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    DWORD thread = GetWindowThreadProcessId(hwnd, nullptr);
    if (!GetGUIThreadInfo(thread, &info)) {
        emit("{\"error\":\"GetGUIThreadInfo failed\"}");
        return 1;
    }
    HWND focused = info.hwndFocus;
    emit("{\"hwnd\":" + handle(focused) + ",\"id\":" + number(focused ? GetDlgCtrlID(focused) : 0) +
         ",\"class\":" + quoted(focused ? className(focused) : L"") + ",\"active\":" + handle(info.hwndActive) +
         "}");
    return 0;
}

BOOL CALLBACK addTopLevel(HWND hwnd, LPARAM param) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    auto* items = reinterpret_cast<std::vector<std::string>*>(param);
    RECT r{};
    GetWindowRect(hwnd, &r);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    items->push_back("{\"hwnd\":" + handle(hwnd) + ",\"title\":" + quoted(windowText(hwnd)) +
                     ",\"class\":" + quoted(className(hwnd)) + ",\"pid\":" + number(pid) +
                     ",\"rect\":" + rect(r) + "}");
    return TRUE;
}

int screen() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    emit("{\"width\":" + number(GetSystemMetrics(SM_CXSCREEN)) + ",\"height\":" +
         number(GetSystemMetrics(SM_CYSCREEN)) + ",\"workarea\":" + rect(work) + ",\"dpi\":" +
         number(dpiOf(nullptr)) + "}");
    return 0;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK findControl(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ControlSearch*>(param);
    if (GetDlgCtrlID(child) != search->id) return TRUE;
    search->found = child;
    return FALSE;
}

// Polls every 5 ms so that the tests can time a reaction from the outside.
int watch(HWND hwnd, int id, int milliseconds) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(hwnd, findControl, reinterpret_cast<LPARAM>(&search));
    HWND control = search.found;
    if (!control) {
        emit("{\"error\":\"control not found\"}");
        return 2;
    }
    DWORD start = GetTickCount();
    HWND lastForeground = reinterpret_cast<HWND>(-1);
    LRESULT lastCheck = -1;
    emit("{\"ready\":true}");
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        HWND foreground = GetForegroundWindow();
        LRESULT check = SendMessageW(control, BM_GETCHECK, 0, 0);
        if (foreground != lastForeground || check != lastCheck) {
            emit("{\"t\":" + number(GetTickCount() - start) + ",\"foreground\":" + handle(foreground) +
                 ",\"checked\":" + number(check) + "}");
            lastForeground = foreground;
            lastCheck = check;
        }
        Sleep(5);
    }
    return 0;
}

// --- text: a caption drawn in a font that the probe creates itself -----------
// Drawn on a DIB as the program draws on its window surface, so that the
// pixels compare one to one with a screenshot of the program's control.

struct OwnedFont {
    HFONT font;
    ~OwnedFont() { DeleteObject(font); }
};

struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    const DWORD* pixels = nullptr;  // top-down, 0x00rrggbb
    HBITMAP bitmap;
    HGDIOBJ previousBitmap;

    Canvas(int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<const DWORD*>(bits);
        previousBitmap = SelectObject(dc, bitmap);
    }
    ~Canvas() {
        SelectObject(dc, previousBitmap);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

COLORREF colourArgument(const wchar_t* rrggbb) {
    const unsigned long value = std::wcstoul(rrggbb, nullptr, 16);
    return RGB((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

// args: face, points, weight, underline (0/1), ink and paper as rrggbb, text.
// Prints the text's GetTextExtentPoint32 and, row by row, the pixels that come
// out exactly in the ink colour ('#') when it is drawn on the paper colour.
int text(HWND hwnd, wchar_t** args) {
    LOGFONTW logFont{};
    logFont.lfHeight = -static_cast<LONG>(std::lround(_wtof(args[1]) * dpiOf(hwnd) / 72.0));
    logFont.lfWeight = _wtoi(args[2]);
    logFont.lfUnderline = _wtoi(args[3]) != 0;
    logFont.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(logFont.lfFaceName, args[0], LF_FACESIZE);
    const OwnedFont font{CreateFontIndirectW(&logFont)};
    const COLORREF ink = colourArgument(args[4]);
    const std::wstring caption = args[6];
    const int length = static_cast<int>(caption.size());

    SIZE extent{};
    {
        const Canvas measuring(1, 1);
        const HGDIOBJ previous = SelectObject(measuring.dc, font.font);
        GetTextExtentPoint32W(measuring.dc, caption.c_str(), length, &extent);
        SelectObject(measuring.dc, previous);
    }
    const int margin = 4;  // room for ink that overhangs the extent
    const int width = extent.cx + 2 * margin, height = extent.cy + 2 * margin;
    const Canvas canvas(width, height);
    const HGDIOBJ previousFont = SelectObject(canvas.dc, font.font);
    const HGDIOBJ previousBrush = SelectObject(canvas.dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(canvas.dc, colourArgument(args[5]));
    PatBlt(canvas.dc, 0, 0, width, height, PATCOPY);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, ink);
    TextOutW(canvas.dc, margin, margin, caption.c_str(), length);
    GdiFlush();
    SelectObject(canvas.dc, previousBrush);
    SelectObject(canvas.dc, previousFont);

    const DWORD inkPixel = (GetRValue(ink) << 16) | (GetGValue(ink) << 8) | GetBValue(ink);
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row = "\"";
        for (int x = 0; x < width; ++x) row += (canvas.pixels[y * width + x] & 0xffffff) == inkPixel ? '#' : '.';
        rows.push_back(row + "\"");
    }
    emit("{\"extent\":[" + number(extent.cx) + "," + number(extent.cy) + "],\"rows\":" + join(rows) + "}");
    return 0;
}

// --- tooltips: the tooltip windows of a window's thread and their tools ------
// A tool's text does not cross processes in a message, so each tool is read
// through a buffer in the program's own memory.

struct RemoteBuffer {
    HANDLE process;
    void* address;

    RemoteBuffer(DWORD pid, SIZE_T size)
        : process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
          address(process ? VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                          : nullptr) {}
    ~RemoteBuffer() {
        if (address) VirtualFreeEx(process, address, 0, MEM_RELEASE);
        if (process) CloseHandle(process);
    }
};

struct ToolRecord {
    TTTOOLINFOW info;
    wchar_t text[1024];
};

std::string toolsJson(HWND tip, const RemoteBuffer& remote) {
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote.address) + offsetof(ToolRecord, text));
    std::vector<std::string> tools;
    const auto count = SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        ToolRecord record{};
        record.info.cbSize = sizeof record.info;
        record.info.lpszText = remoteText;
        if (!WriteProcessMemory(remote.process, remote.address, &record, sizeof record, nullptr) ||
            !SendMessageW(tip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(remote.address)) ||
            !ReadProcessMemory(remote.process, remote.address, &record, sizeof record, nullptr))
            return "null";
        record.text[1023] = L'\0';
        const HWND control = record.info.uFlags & TTF_IDISHWND ? reinterpret_cast<HWND>(record.info.uId) : nullptr;
        tools.push_back("{\"id\":" + number(control ? GetDlgCtrlID(control) : -1) + ",\"text\":" +
                        (record.info.lpszText == remoteText ? quoted(record.text) : std::string("null")) + "}");
    }
    return join(tools);
}

struct TooltipSearch {
    const RemoteBuffer& remote;
    std::vector<std::string> found;
};

BOOL CALLBACK addTooltip(HWND hwnd, LPARAM param) {
    if (lstrcmpiW(className(hwnd).c_str(), TOOLTIPS_CLASSW) != 0) return TRUE;
    auto* search = reinterpret_cast<TooltipSearch*>(param);
    // WM_GETTEXT gives the text of the tip being shown.
    search->found.push_back("{\"hwnd\":" + handle(hwnd) + ",\"visible\":" + flag(IsWindowVisible(hwnd)) +
                            ",\"text\":" + quoted(windowText(hwnd)) +
                            ",\"tools\":" + toolsJson(hwnd, search->remote) + "}");
    return TRUE;
}

int tooltips(HWND hwnd) {
    DWORD pid = 0;
    const DWORD thread = GetWindowThreadProcessId(hwnd, &pid);
    const RemoteBuffer remote(pid, sizeof(ToolRecord));
    if (!remote.address) {
        emit("{\"error\":\"cannot reach the window's process memory\"}");
        return 3;
    }
    TooltipSearch search{remote, {}};
    EnumThreadWindows(thread, addTooltip, reinterpret_cast<LPARAM>(&search));
    emit(join(search.found));
    return 0;
}

// --- selection, clipboard, system colours -------------------------------------

int selection(HWND hwnd, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(hwnd, findControl, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
        emit("{\"error\":\"control not found\"}");
        return 2;
    }
    // Without pointers EM_GETSEL answers in its result, which crosses processes.
    const auto range = static_cast<DWORD>(SendMessageW(search.found, EM_GETSEL, 0, 0));
    emit("{\"start\":" + number(LOWORD(range)) + ",\"end\":" + number(HIWORD(range)) + "}");
    return 0;
}

int clipboard(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return 3;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, text.c_str(), bytes);
        GlobalUnlock(memory);
    }
    // The clipboard owns the memory once SetClipboardData has taken it.
    const bool ok = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    if (!ok) GlobalFree(memory);
    CloseClipboard();
    emit("{\"ok\":" + flag(ok) + "}");
    return ok ? 0 : 3;
}

std::string colourJson(int index) {
    const COLORREF colour = GetSysColor(index);
    return "[" + number(GetRValue(colour)) + "," + number(GetGValue(colour)) + "," + number(GetBValue(colour)) + "]";
}

int colours() {
    emit("{\"btnface\":" + colourJson(COLOR_BTNFACE) + ",\"window\":" + colourJson(COLOR_WINDOW) + "}");
    return 0;
}

int usage() {
    emit("{\"error\":\"usage: probe controls|window|placement|setplacement|move|foreground|focus|close|windows|"
         "screen|watch|text|tooltips|selection|clipboard|colours|endsession|post|refusecreation|keyaccess ...\"}");
    return 1;
}

// --- Messages and situations the tests cannot cause with real input ---

// What the system sends to a top-level window when the session ends (or its
// ending is cancelled by another program).
int endSession(HWND hwnd, bool ending) {
    DWORD_PTR answer = 0, ignored = 0;
    bool asked = SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer);
    bool told = SendMessageTimeoutW(hwnd, WM_ENDSESSION, ending, 0, SMTO_NORMAL, 5000, &ignored);
    emit("{\"ok\":" + flag(asked && told) + ",\"query\":" + number(static_cast<long long>(answer)) + "}");
    return asked && told ? 0 : 3;
}

int post(HWND hwnd, int id, const wchar_t* message, const wchar_t* wParam) {
    HWND target = hwnd;
    if (id != 0) {
        ControlSearch search{id, nullptr};
        EnumChildWindows(hwnd, findControl, reinterpret_cast<LPARAM>(&search));
        target = search.found;
    }
    if (!target) {
        emit("{\"error\":\"control not found\"}");
        return 2;
    }
    bool ok = PostMessageW(target, static_cast<UINT>(std::wcstoul(message, nullptr, 0)),
                           static_cast<WPARAM>(std::wcstoul(wParam, nullptr, 0)), 0);
    emit("{\"ok\":" + flag(ok) + "}");
    return ok ? 0 : 3;
}

struct StartedProcessWindows {
    DWORD pid;
    HWND messageBox;
    bool mainWindowShown;
};

BOOL CALLBACK findStartedProcessWindows(HWND hwnd, LPARAM param) {
    auto* found = reinterpret_cast<StartedProcessWindows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != found->pid || !IsWindowVisible(hwnd)) return TRUE;
    if (className(hwnd) == L"#32770") found->messageBox = hwnd;
    if (className(hwnd) == L"Ambrisk2Form") found->mainWindowShown = true;
    return TRUE;
}

std::wstring besideProbe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + name;
}

// Starts the program with a hook on its thread that makes the creation of its
// window or controls fail, waits for its message box (at most 15 s), closes it
// and reports how the process ended.
int refuseCreation(const wchar_t* exe, const std::wstring& what) {
    const char* hookName = what == L"window" ? "refuseMainWindow" : what == L"controls" ? "refuseControls" : nullptr;
    if (!hookName) return usage();
    HMODULE hooks = LoadLibraryW(besideProbe(L"refuse_creation.dll").c_str());
    auto proc = hooks ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hooks, hookName))) : nullptr;
    if (!proc) {
        emit("{\"error\":\"refuse_creation.dll or its hook not found\"}");
        return 3;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    if (!CreateProcessW(exe, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &process)) {
        emit("{\"error\":\"CreateProcess failed\",\"code\":" + number(GetLastError()) + "}");
        return 3;
    }
    HHOOK hook = SetWindowsHookExW(WH_CBT, proc, hooks, process.dwThreadId);
    ResumeThread(process.hThread);

    StartedProcessWindows found{process.dwProcessId, nullptr, false};
    for (DWORD start = GetTickCount(); !found.messageBox && GetTickCount() - start < 15000;) {
        EnumWindows(findStartedProcessWindows, reinterpret_cast<LPARAM>(&found));
        if (!found.messageBox && WaitForSingleObject(process.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    std::string box = "null";
    if (found.messageBox) {
        ControlWalk walk{found.messageBox, clientOnScreen(found.messageBox), {}};
        EnumChildWindows(found.messageBox, addControl, reinterpret_cast<LPARAM>(&walk));
        box = "{\"title\":" + quoted(windowText(found.messageBox)) + ",\"controls\":" + join(walk.items) + "}";
        PostMessageW(found.messageBox, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    bool ended = WaitForSingleObject(process.hProcess, 5000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    if (hook) UnhookWindowsHookEx(hook);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    emit("{\"hooked\":" + flag(hook != nullptr) + ",\"messageBox\":" + box + ",\"mainWindowShown\":" +
         flag(found.mainWindowShown) + ",\"ended\":" + flag(ended) +
         ",\"exitCode\":" + (ended ? number(exitCode) : "null") + "}");
    return 0;
}

int keyAccess(const wchar_t* path, const std::wstring& mode) {
    if (mode != L"readonly" && mode != L"writable") return usage();
    // 0x2 is KEY_SET_VALUE; KA all access; WD everyone.
    const wchar_t* dacl = mode == L"readonly" ? L"D:(D;;0x2;;;WD)(A;;KA;;;WD)" : L"D:(A;;KA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(dacl, SDDL_REVISION_1, &descriptor, nullptr)) {
        emit("{\"ok\":false,\"error\":" + number(GetLastError()) + "}");
        return 3;
    }
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &key);
    if (status == ERROR_SUCCESS) {
        status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(key);
    }
    LocalFree(descriptor);
    emit("{\"ok\":" + flag(status == ERROR_SUCCESS) + ",\"error\":" + number(status) + "}");
    return status == ERROR_SUCCESS ? 0 : 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return usage();
    std::wstring command = argv[1];
    if (command == L"foreground") {
        HWND fg = GetForegroundWindow();
        emit("{\"hwnd\":" + handle(fg) + ",\"title\":" + quoted(fg ? windowText(fg) : L"") + "}");
        return 0;
    }
    if (command == L"windows") {
        std::vector<std::string> items;
        EnumWindows(addTopLevel, reinterpret_cast<LPARAM>(&items));
        emit(join(items));
        return 0;
    }
    if (command == L"screen") return screen();
    if (command == L"colours") return colours();
    if (command == L"clipboard" && argc == 3) return clipboard(argv[2]);
    if (argc < 3) return usage();
    if (command == L"refusecreation" && argc == 4) return refuseCreation(argv[2], argv[3]);
    if (command == L"keyaccess" && argc == 4) return keyAccess(argv[2], argv[3]);
    HWND hwnd = findWindow(argv[2]);
    if (!hwnd) return notFound(argv[2]);
    if (command == L"controls") return controls(hwnd);
    if (command == L"window") {
        emit("{" + windowFields(hwnd) + "}");
        return 0;
    }
    if (command == L"placement") {
        emit(placementJson(hwnd));
        return 0;
    }
    if (command == L"setplacement" && argc == 8) {
        WINDOWPLACEMENT wp{};
        wp.length = sizeof wp;
        GetWindowPlacement(hwnd, &wp);
        wp.showCmd = static_cast<UINT>(_wtoi(argv[3]));
        wp.rcNormalPosition = {_wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]), _wtoi(argv[7])};
        bool ok = SetWindowPlacement(hwnd, &wp);
        emit("{\"ok\":" + flag(ok) + ",\"error\":" + number(ok ? 0 : GetLastError()) + "}");
        return ok ? 0 : 3;
    }
    if (command == L"move" && argc == 7) {
        int left = _wtoi(argv[3]), top = _wtoi(argv[4]);
        bool ok = SetWindowPos(hwnd, nullptr, left, top, _wtoi(argv[5]) - left, _wtoi(argv[6]) - top,
                               SWP_NOZORDER | SWP_NOACTIVATE);
        emit("{\"ok\":" + flag(ok) + "}");
        return ok ? 0 : 3;
    }
    if (command == L"focus") return focus(hwnd);
    if (command == L"close") {
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        emit("{\"ok\":true}");
        return 0;
    }
    if (command == L"text" && argc == 10) return text(hwnd, argv + 3);
    if (command == L"tooltips") return tooltips(hwnd);
    if (command == L"selection" && argc == 4) return selection(hwnd, _wtoi(argv[3]));
    if (command == L"answers" && argc == 4) {
        DWORD_PTR ignored = 0;
        bool answered = SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(_wtoi(argv[3])),
                                            &ignored) != 0;
        emit("{\"answers\":" + flag(answered) + "}");
        return 0;
    }
    if (command == L"watch" && argc == 5) return watch(hwnd, _wtoi(argv[3]), _wtoi(argv[4]));
    if (command == L"endsession" && argc == 4) return endSession(hwnd, _wtoi(argv[3]) != 0);
    if (command == L"post" && argc == 6) return post(hwnd, _wtoi(argv[3]), argv[4], argv[5]);
    return usage();
}

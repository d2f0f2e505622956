// Times the start-up of two programs in turns: from CreateProcess until the
// program's window, found by its title, is visible and has been painted
// (a message round trip after it became visible). Each program is then
// closed as its close box would and waited for.
//
//   startup_timer <runs> <exe1> <title1> <exe2> <title2>
//
// Prints every run and then "median <title> <ms>" per program and the ratio.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct OwnedHandle {
    HANDLE handle;
    ~OwnedHandle() {
        if (handle) CloseHandle(handle);
    }
};

double seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds to the first shown frame, or a negative value on failure.
double timeStart(const std::wstring& exe, const std::wstring& title) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double start = seconds();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    const OwnedHandle process{info.hProcess};
    const OwnedHandle thread{info.hThread};
    HWND window = nullptr;
    while (seconds() - start < 30) {
        window = FindWindowW(nullptr, title.c_str());
        if (window && IsWindowVisible(window)) break;
        window = nullptr;
        Sleep(1);
    }
    if (!window) {
        TerminateProcess(info.hProcess, 1);
        return -1;
    }
    // The window has handled its paint once its thread answers a message.
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &ignored);
    const double shown = seconds();
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    return (shown - start) * 1000.0;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: startup_timer <runs> <exe1> <title1> <exe2> <title2>\n");
        return 1;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<double> times[2];
    for (int run = 0; run < runs; ++run)
        for (int program = 0; program < 2; ++program) {
            const double ms = timeStart(argv[2 + 2 * program], argv[3 + 2 * program]);
            if (ms < 0) {
                std::fprintf(stderr, "program %d did not show its window\n", program + 1);
                return 2;
            }
            times[program].push_back(ms);
            std::printf("run %d program %d %.1f ms\n", run + 1, program + 1, ms);
        }
    const double first = median(times[0]), second = median(times[1]);
    std::printf("median program 1 %.1f ms\nmedian program 2 %.1f ms\nratio %.2f\n", first, second, first / second);
    return 0;
}

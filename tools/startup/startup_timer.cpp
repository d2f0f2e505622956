// Times the start-up of programs in turns: from CreateProcess until the
// program's window, found by its title, is visible and has been painted
// (a message round trip after it became visible). Each program is then
// closed as its close box would and waited for.
//
//   startup_timer <runs> <exe1> <title1> <exe2> <title2> [<exe> <title>]...
//
// Each round starts with the next program, so that every program follows each
// other one equally often: a start is slower right after some programs end.
// Prints every run, then per program "median <title> <ms> (fastest <ms>)",
// and the ratio of the first program's median to each other's, with the
// ratio of the fastest runs, which load from other processes sways less.
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
    if (argc < 6 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: startup_timer <runs> <exe1> <title1> <exe2> <title2> [<exe> <title>]...\n");
        return 1;
    }
    const int runs = _wtoi(argv[1]);
    const int programs = (argc - 2) / 2;
    const auto exe = [argv](int program) { return argv[2 + 2 * program]; };
    const auto title = [argv](int program) { return argv[3 + 2 * program]; };
    std::vector<std::vector<double>> times(static_cast<std::size_t>(programs));
    for (int run = 0; run < runs; ++run)
        for (int turn = 0; turn < programs; ++turn) {
            const int program = (run + turn) % programs;
            const double ms = timeStart(exe(program), title(program));
            if (ms < 0) {
                std::fprintf(stderr, "%ls did not show its window\n", title(program));
                return 2;
            }
            times[static_cast<std::size_t>(program)].push_back(ms);
            std::printf("run %d %ls %.1f ms\n", run + 1, title(program), ms);
        }
    std::vector<double> medians, fastest;
    for (const std::vector<double>& programTimes : times) {
        medians.push_back(median(programTimes));
        fastest.push_back(*std::min_element(programTimes.begin(), programTimes.end()));
    }
    for (int program = 0; program < programs; ++program) {
        const auto p = static_cast<std::size_t>(program);
        std::printf("median %ls %.1f ms (fastest %.1f ms)\n", title(program), medians[p], fastest[p]);
    }
    for (int program = 1; program < programs; ++program) {
        const auto p = static_cast<std::size_t>(program);
        std::printf("ratio %ls / %ls %.2f (fastest %.2f)\n", title(0), title(program), medians[0] / medians[p],
                    fastest[0] / fastest[p]);
    }
    return 0;
}

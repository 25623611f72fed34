// Start-up probe for the benchmark: starts a program, waits until one of its windows is
// visible, and prints two numbers: the milliseconds from CreateProcess to that moment, and
// the process's peak working set in KB once it has gone idle. Then it closes the window.
// Usage: StartProbe.exe <program.exe>; exit code 0 when all of it worked.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

namespace {

// What FindVisible looks for and what it found.
struct Search {
    DWORD process;
    HWND window;
};

// EnumWindows callback: stops at the first visible top-level window of the process.
BOOL CALLBACK FindVisible(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search->process || !IsWindowVisible(window)) return TRUE;
    search->window = window;
    return FALSE;
}

// Milliseconds since the performance counter read `start`.
double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: StartProbe <program.exe>\n");
        return 2;
    }
    char command[MAX_PATH + 3];
    std::snprintf(command, sizeof command, "\"%s\"", argv[1]);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &child)) {
        std::fprintf(stderr, "cannot start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    Search search = {child.dwProcessId, nullptr};
    double elapsed = 0;
    while (!search.window && (elapsed = MillisecondsSince(start)) < 20000 &&
           WaitForSingleObject(child.hProcess, 0) == WAIT_TIMEOUT) {
        EnumWindows(FindVisible, LPARAM(&search));
        if (!search.window) Sleep(1);
    }

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    bool measured = false;
    if (search.window) {
        WaitForInputIdle(child.hProcess, 5000);
        Sleep(300); // painting and the rest of start-up
        measured = GetProcessMemoryInfo(child.hProcess, &memory, sizeof memory) != FALSE;
        PostMessageA(search.window, WM_CLOSE, 0, 0);
    }
    const bool ended = WaitForSingleObject(child.hProcess, 5000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(child.hProcess, 1);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    if (!search.window || !measured || !ended) {
        std::fprintf(stderr, "%s: %s\n", argv[1],
                     !search.window ? "no visible window"
                     : !measured    ? "no memory figures"
                                    : "did not end when its window was closed");
        return 1;
    }
    std::printf("%.1f %lu\n", elapsed,
                static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024));
    return 0;
}

// Speed of the whole program as a user meets it, each figure beside a floor
// measured in the same run:
//
// - start-up: from process creation until the program, its window painted,
//   first waits for input; beside the same for a program that opens the
//   default wave output, as the program must, and one empty window of the
//   same size (and, to show what opening the device costs, for the empty
//   window alone);
// - scrolling: an arrow key sent to the running program, which returns once
//   the view is redrawn and copied to the window and the scroll bar's thumb
//   redrawn; beside what any step must do as well, here on a window of this
//   process: 2600 plain SetPixel calls on a memory bitmap, one copy of the
//   canvas and the thumb moved with its redraw. The floor without the thumb
//   is given too, to show what the redraw costs.
//
// The two sides alternate round by round, so that whatever else the machine
// does weighs on both alike.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "WinePath.h"

namespace {

constexpr int kStartRounds = 10;
constexpr int kScrollRounds = 5;
constexpr int kStepsPerRound = 200;  // 1000 steps in all
constexpr int kColumns = 650, kRows = 512;
constexpr DWORD kWaitMs = 30000;

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct ProcessSearch {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK FindShownWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ProcessSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window)) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

// A program started for one measurement, ended again when it goes.
class Started {
public:
    explicit Started(const std::string& exe, const std::string& arguments = "") {
        std::string commandLine = "\"" + exe + "\"";
        if (!arguments.empty()) {
            commandLine += " " + arguments;
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        began_ = Now();
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            process_ = {};
        }
    }
    ~Started() {
        if (!process_.hProcess) {
            return;
        }
        if (window_) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(process_.hProcess, kWaitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;

    // Seconds from process creation until the program's window is shown,
    // its first paint done and its thread back in its message loop;
    // negative if it never got there.
    double WaitUntilReady() {
        if (!process_.hProcess) {
            return -1;
        }
        while (Seconds(began_, Now()) * 1e3 < kWaitMs) {
            ProcessSearch search{process_.dwProcessId, nullptr};
            EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&search));
            DWORD_PTR ignored;
            if (search.window &&
                SendMessageTimeoutA(search.window, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored) &&
                !GetUpdateRect(search.window, nullptr, FALSE)) {
                window_ = search.window;
                return Seconds(began_, Now());
            }
            Sleep(1);
        }
        return -1;
    }

    HWND window() const { return window_; }

private:
    PROCESS_INFORMATION process_{};
    LARGE_INTEGER began_{};
    HWND window_ = nullptr;
};

// The floor of one scroll step: the pixel writes and the copy the view
// needs, made directly on a window of this process.
class PlainRedraw {
public:
    PlainRedraw() {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "Plain redraw";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "Plain redraw",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 650, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        scrollBar_ = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE, 20, 580, kColumns,
                                     20, window_, nullptr, windowClass.hInstance, nullptr);
        SetScrollRange(scrollBar_, SB_CTL, 0, 100, TRUE);
        HDC screen = GetDC(window_);
        memory_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, kColumns, kRows);
        old_ = SelectObject(memory_, bitmap_);
        ReleaseDC(window_, screen);
        Pump();
    }
    ~PlainRedraw() {
        SelectObject(memory_, old_);
        DeleteObject(bitmap_);
        DeleteDC(memory_);
        DestroyWindow(window_);
    }
    PlainRedraw(const PlainRedraw&) = delete;
    PlainRedraw& operator=(const PlainRedraw&) = delete;

    // 1300 old dots erased, 1300 new ones drawn, the canvas copied.
    void Step(int step) {
        for (int x = 0; x < kColumns; ++x) {
            SetPixel(memory_, x, Row(x, step - 1), 0);
            SetPixel(memory_, x, 256 + Row(x, step - 1), 0);
        }
        for (int x = 0; x < kColumns; ++x) {
            SetPixel(memory_, x, Row(x, step), 0x00FF0000);
            SetPixel(memory_, x, 256 + Row(x, step), 0x000000FF);
        }
        RECT canvas = {20, 60, 20 + kColumns, 60 + kRows};
        InvalidateRect(window_, &canvas, FALSE);
        PAINTSTRUCT paint;
        HDC target = BeginPaint(window_, &paint);
        BitBlt(target, 20, 60, kColumns, kRows, memory_, 0, 0, SRCCOPY);
        EndPaint(window_, &paint);
    }

    // The thumb moved as the program moves it, redrawn at once.
    void MoveThumb(int step) { SetScrollPos(scrollBar_, SB_CTL, step % 101, TRUE); }

    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }

private:
    HWND window_;
    HWND scrollBar_;
    HDC memory_;
    HBITMAP bitmap_;
    HGDIOBJ old_;

    static int Row(int x, int step) {
        return static_cast<int>(127.5 + 127 * std::sin((x + 25 * step) * 0.05));
    }
};

void BenchStartUp(const std::string& program, const std::string& floor) {
    struct Side {
        const char* name;
        const char* arguments;
        std::vector<double> times;
    };
    Side sides[] = {{"program", "", {}}, {"floor", "wave", {}}, {"empty window", "", {}}};
    constexpr int kSides = 3;
    for (int round = 0; round < kStartRounds; ++round) {
        for (int turn = 0; turn < kSides; ++turn) {
            const int index = (turn + round) % kSides;
            Side& side = sides[index];
            Started started(index == 0 ? program : floor, side.arguments);
            const double seconds = started.WaitUntilReady();
            if (seconds < 0) {
                std::printf("start-up: the %s did not come up\n", side.name);
                return;
            }
            side.times.push_back(seconds * 1e3);
        }
    }
    const double programMs = Median(sides[0].times), floorMs = Median(sides[1].times),
                 emptyMs = Median(sides[2].times);
    std::printf("start-up, median of %d starts each:\n", kStartRounds);
    std::printf("  Warbletone to its first painted canvas  %8.1f ms\n", programMs);
    std::printf("  wave output opened, then an empty\n");
    std::printf("    window to its first paint             %8.1f ms\n", floorMs);
    std::printf("  ratio                                   %8.2f  (goal <= 1.20)\n",
                programMs / floorMs);
    std::printf("  empty window alone                      %8.1f ms, ratio %.2f\n", emptyMs,
                programMs / emptyMs);
}

void BenchScrolling(const std::string& program) {
    Started started(program);
    if (started.WaitUntilReady() < 0) {
        std::printf("scrolling: the program did not come up\n");
        return;
    }
    HWND form = started.window();
    PlainRedraw plain;

    // 130 steps right, 130 back, and so on: every step draws.
    int position = 0;
    int direction = 1;
    auto scroll = [&]() {
        if (position == 130 || (position == 0 && direction < 0)) {
            direction = -direction;
        }
        SendMessageA(form, WM_KEYDOWN, direction > 0 ? VK_RIGHT : VK_LEFT, 1);
        position += direction;
    };

    // Each round: the program's steps, the floor's steps without the thumb,
    // and the floor's steps with the scroll bar's thumb moved as well.
    double programSeconds = 0, floorSeconds = 0, thumbSeconds = 0;
    std::vector<double> ratios, thumbRatios;
    int plainStep = 0;
    for (int round = 0; round < kScrollRounds; ++round) {
        PlainRedraw::Pump();
        LARGE_INTEGER start = Now();
        for (int i = 0; i < kStepsPerRound; ++i) {
            scroll();
        }
        const double programRound = Seconds(start, Now());
        PlainRedraw::Pump();
        start = Now();
        for (int i = 0; i < kStepsPerRound; ++i) {
            plain.Step(++plainStep);
        }
        const double floorRound = Seconds(start, Now());
        PlainRedraw::Pump();
        start = Now();
        for (int i = 0; i < kStepsPerRound; ++i) {
            plain.Step(++plainStep);
            plain.MoveThumb(plainStep);
        }
        const double thumbRound = Seconds(start, Now());
        programSeconds += programRound;
        floorSeconds += floorRound;
        thumbSeconds += thumbRound;
        ratios.push_back(programRound / floorRound);
        thumbRatios.push_back(programRound / thumbRound);
    }
    const int steps = kScrollRounds * kStepsPerRound;
    std::printf("scrolling, %d steps each:\n", steps);
    std::printf("  arrow key to the view on screen         %8.1f us per step\n",
                programSeconds * 1e6 / steps);
    std::printf("  2600 SetPixel + one canvas copy\n");
    std::printf("    + the thumb redrawn                   %8.1f us per step\n",
                thumbSeconds * 1e6 / steps);
    std::printf("  ratio (median)                          %8.2f  (goal <= 1.25)\n",
                Median(thumbRatios));
    std::printf("  without the thumb's redraw              %8.1f us per step, ratio %.2f\n",
                floorSeconds * 1e6 / steps, Median(ratios));
}

}  // namespace

int main() {
    const std::string program = WindowsPath(WARBLETONE_EXE);
    const std::string floor = WindowsPath(MINIMAL_WINDOW_EXE);
    BenchStartUp(program, floor);
    BenchScrolling(program);
    return 0;
}

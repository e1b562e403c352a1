// Measures, on a 650 x 512 canvas in a visible window, one redraw of the
// waveform view (1300 dots erased and 1300 drawn through Pixels[x][y], then
// Update) against the same writes made with plain SetPixel on the memory
// context and against the Update copy alone. Prints microseconds per
// operation (median of several rounds) and the two ratios that matter, each
// taken within a round.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "CanvasClass.h"

// The framework reads these process-wide values.
HINSTANCE hInst = nullptr;
int Fstil = SW_SHOWNORMAL;

namespace {

constexpr int kX = 20, kY = 60, kWidth = 650, kHeight = 512;
constexpr int kDots = 1300;  // per trace set: two traces of 650 columns
constexpr int kRounds = 15;
constexpr int kRedrawsPerRound = 40;

CanvasClass* shownCanvas = nullptr;

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT && shownCanvas) {
        shownCanvas->Repaint();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

HWND CreateShownWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInst;
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = "CanvasBench";
    RegisterClassA(&wc);
    HWND hwnd =
        CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "Canvas benchmark", WS_POPUP | WS_VISIBLE,
                        0, 0, 700, 650, nullptr, nullptr, hInst, nullptr);
    UpdateWindow(hwnd);
    return hwnd;
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

struct Dot {
    int x, y;
};

// Two traces, one in each half of the canvas, like the view's two samples;
// `phase` moves them as scrolling does.
std::vector<Dot> Traces(double phase) {
    std::vector<Dot> dots;
    for (int half = 0; half < 2; ++half)
        for (int x = 0; x < kWidth; ++x) {
            double wave = std::sin(x * 0.05 + phase) * 0.45 + 0.5;
            dots.push_back({x, half * kHeight / 2 + static_cast<int>(wave * (kHeight / 2 - 1))});
        }
    return dots;
}

// Runs every operation for a round in turn, rotating the order, so that
// whatever else the machine does weighs on all of them alike; gives each
// operation's microseconds per call in every round.
std::vector<std::vector<double>> MeasureInterleaved(
    const std::vector<std::function<void(int)>>& ops) {
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    std::vector<std::vector<double>> times(ops.size());
    for (int round = 0; round < kRounds; ++round)
        for (size_t k = 0; k < ops.size(); ++k) {
            const size_t op = (k + round) % ops.size();
            Pump();
            QueryPerformanceCounter(&start);
            for (int i = 0; i < kRedrawsPerRound; ++i)
                ops[op](i);
            QueryPerformanceCounter(&stop);
            times[op].push_back(1e6 * (stop.QuadPart - start.QuadPart) / frequency.QuadPart /
                                kRedrawsPerRound);
        }
    return times;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    hInst = GetModuleHandleA(nullptr);
    HWND hwnd = CreateShownWindow();
    CanvasClass canvas(hwnd, kX, kY, kWidth, kHeight, 0);
    shownCanvas = &canvas;
    Pump();

    const std::vector<Dot> frames[2] = {Traces(0.0), Traces(0.7)};
    const int colour = 0x0000FF00;

    auto pixelsWrites = [&](int i) {
        const std::vector<Dot>& old = frames[i & 1];
        const std::vector<Dot>& now = frames[(i + 1) & 1];
        for (const Dot& d : old)
            canvas.Pixels[d.x][d.y] = 0;
        for (const Dot& d : now)
            canvas.Pixels[d.x][d.y] = colour;
    };
    auto plainWrites = [&](int i) {
        const std::vector<Dot>& old = frames[i & 1];
        const std::vector<Dot>& now = frames[(i + 1) & 1];
        for (const Dot& d : old)
            SetPixel(canvas.Mhdc, d.x, d.y, 0);
        for (const Dot& d : now)
            SetPixel(canvas.Mhdc, d.x, d.y, colour);
    };

    enum { kPixels, kPlain, kUpdate, kRedraw, kPlainRedraw };
    const auto times = MeasureInterleaved({
        pixelsWrites,
        plainWrites,
        [&](int) { canvas.Update(); },
        [&](int i) {
            pixelsWrites(i);
            canvas.Update();
        },
        [&](int i) {
            plainWrites(i);
            canvas.Update();
        },
    });
    // Ratios within each round, where both sides met the same conditions.
    std::vector<double> writeRatio, redrawRatio;
    for (int r = 0; r < kRounds; ++r) {
        writeRatio.push_back(times[kPixels][r] / times[kPlain][r]);
        redrawRatio.push_back(times[kRedraw][r] / (times[kPlain][r] + times[kUpdate][r]));
    }

    std::printf("canvas %d x %d, %d pixel writes per redraw, median of %d rounds of %d\n", kWidth,
                kHeight, 2 * kDots, kRounds, kRedrawsPerRound);
    std::printf("Pixels[x][y] writes        %8.1f us\n", Median(times[kPixels]));
    std::printf("plain SetPixel writes      %8.1f us\n", Median(times[kPlain]));
    std::printf("Update copy                %8.1f us\n", Median(times[kUpdate]));
    std::printf("whole redraw               %8.1f us\n", Median(times[kRedraw]));
    std::printf("plain SetPixel + Update    %8.1f us  (measured together)\n",
                Median(times[kPlainRedraw]));
    std::printf("Pixels / SetPixel          %8.3f  (goal <= 1.20)\n", Median(writeRatio));
    std::printf("redraw / (SetPixel + Upd.) %8.3f  (goal <= 1.25)\n", Median(redrawRatio));

    shownCanvas = nullptr;
    DestroyWindow(hwnd);
    return 0;
}

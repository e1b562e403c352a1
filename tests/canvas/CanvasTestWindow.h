#pragma once
// A visible, unobscured top-level window for canvas tests. Its WM_PAINT hands
// painting to the attached canvas, as a form's OnPaint does, and it counts
// background erasures.
#include <windows.h>

#include <string>
#include <vector>

#include "CanvasClass.h"

// The window's background, distinct from anything the tests draw.
constexpr COLORREF kBackground = 0x00808000;
constexpr COLORREF kRed = 0x000000FF, kGreen = 0x0000FF00, kBlue = 0x00FF0000, kWhite = 0x00FFFFFF;
constexpr COLORREF kInvalid = 0xFFFFFFFF;  // the platform's answer outside a bitmap

// A pixel of the canvas's bitmap, as the platform's colour type.
inline COLORREF BitmapPixel(CanvasClass& canvas, int x, int y) {
    return static_cast<COLORREF>(canvas.GetPix(x, y));
}

class CanvasTestWindow {
public:
    CanvasTestWindow();
    ~CanvasTestWindow();
    CanvasTestWindow(const CanvasTestWindow&) = delete;
    CanvasTestWindow& operator=(const CanvasTestWindow&) = delete;

    // Dispatches everything pending, paints included.
    void Pump();
    // What the window shows at a client point, read from its device context.
    COLORREF ScreenPixel(int x, int y) const;

    HWND hwnd = nullptr;
    CanvasClass* canvas = nullptr;  // painted on WM_PAINT when set
    int erasures = 0;

private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// Writes a 24-bit bitmap file; `rows` lists the colours top row first.
void WriteBitmapFile(const std::string& path, const std::vector<std::vector<COLORREF>>& rows);

// A path in the temporary folder, unique to this process.
std::string TempPath(const char* name);

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

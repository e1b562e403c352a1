#include "CanvasTestWindow.h"

#include <cstdio>

#include "MessagePump.h"
#include "hinstance.h"

namespace {
const char kClassName[] = "CanvasTestWindow";
}

CanvasTestWindow::CanvasTestWindow() {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(hInst, kClassName, &wc)) {
        wc.lpfnWndProc = WndProc;
        wc.hInstance = hInst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = CreateSolidBrush(kBackground);  // owned by the class from here on
        wc.lpszClassName = kClassName;
        RegisterClassA(&wc);
    }
    hwnd = CreateWindowExA(WS_EX_TOPMOST, kClassName, "Canvas test", WS_POPUP | WS_VISIBLE, 0, 0,
                           800, 700, nullptr, nullptr, hInst, this);
    SetForegroundWindow(hwnd);
    UpdateWindow(hwnd);
    Pump();
}

CanvasTestWindow::~CanvasTestWindow() {
    DestroyWindow(hwnd);
    Pump();
}

void CanvasTestWindow::Pump() {
    DrainQueue();
}

COLORREF CanvasTestWindow::ScreenPixel(int x, int y) const {
    HDC dc = GetDC(hwnd);
    COLORREF color = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return color;
}

LRESULT CALLBACK CanvasTestWindow::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<CanvasTestWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self && msg == WM_ERASEBKGND)
        ++self->erasures;
    if (self && msg == WM_PAINT && self->canvas) {
        self->canvas->Repaint();
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

void WriteBitmapFile(const std::string& path, const std::vector<std::vector<COLORREF>>& rows) {
    const int height = static_cast<int>(rows.size());
    const int width = static_cast<int>(rows[0].size());
    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;  // positive: the file stores the bottom row first
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = stride * height;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;

    FILE* out = std::fopen(path.c_str(), "wb");
    std::fwrite(&file, sizeof(file), 1, out);
    std::fwrite(&info, sizeof(info), 1, out);
    std::vector<unsigned char> line(stride, 0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            line[x * 3 + 0] = GetBValue(rows[y][x]);
            line[x * 3 + 1] = GetGValue(rows[y][x]);
            line[x * 3 + 2] = GetRValue(rows[y][x]);
        }
        std::fwrite(line.data(), 1, stride, out);
    }
    std::fclose(out);
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "canvas-" + std::to_string(GetCurrentProcessId()) + "-" + name;
}

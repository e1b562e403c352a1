#include "CanvasClass.h"

CanvasClass::CanvasClass(HWND hwnd, int WIDTH, int HEIGHT)
    : CanvasClass(hwnd, 0, 0, WIDTH, HEIGHT, 0) {}

CanvasClass::CanvasClass(HWND hwnd, int STARTX, int STARTY, int WIDTH, int HEIGHT, char)
    : OwnerHwnd(hwnd), STX(STARTX), STY(STARTY), WID(WIDTH), HEI(HEIGHT) {
    CreateBitmap();
    Init();
    EnableRefresh = true;
}

CanvasClass::CanvasClass(HWND hwnd, int STARTX, int STARTY, int WIDTH, int HEIGHT)
    : OwnerHwnd(hwnd), STX(STARTX), STY(STARTY), WID(WIDTH), HEI(HEIGHT) {
    Init();
    EnableRefresh = false;
}

CanvasClass::~CanvasClass() {
    // The context goes first, so the bitmap is selected nowhere when deleted.
    if (Mhdc)
        DeleteDC(Mhdc);
    if (Mhbmp)
        DeleteObject(Mhbmp);
    delete Brush;
    delete Pen;
}

void CanvasClass::ReportError(const char* text) {
    MessageBoxA(OwnerHwnd, text, "Bitmap error", MB_ICONERROR);
}

// Each step runs even when an earlier one failed, so that every failure is
// reported; the calls involved tolerate the null handles a failure leaves.
void CanvasClass::CreateBitmap() {
    HDC windowDC = GetDC(OwnerHwnd);
    if (!windowDC)
        ReportError("ERROR: GetDC() failed !");
    Mhdc = CreateCompatibleDC(windowDC);
    if (!Mhdc)
        ReportError("ERROR: CreateCompatibleDC() failed !");
    // Compatible with the window, not with the memory context, whose default
    // bitmap is monochrome.
    Mhbmp = CreateCompatibleBitmap(windowDC, WID, HEI);
    if (!Mhbmp)
        ReportError("ERROR: CreateCompatibleBitmap() failed !");
    if (Mhdc && Mhbmp) {
        SelectObject(Mhdc, Mhbmp);
        // A fresh compatible bitmap's content is undefined; the drawing on
        // it assumes a black background.
        PatBlt(Mhdc, 0, 0, WID, HEI, BLACKNESS);
    }
    if (windowDC)
        ReleaseDC(OwnerHwnd, windowDC);
}

void CanvasClass::Init() {
    Pixels.PixRow.OwnerHDC = &Mhdc;
    hBrush = nullptr;
    hPen = nullptr;
    // Init may run again on a live canvas; the holders it replaces go.
    delete Brush;
    Brush = new BrushClass;
    delete Pen;
    Pen = new PenClass;
    CurX = 0;
    CurY = 0;
}

void CanvasClass::Repaint() {
    PAINTSTRUCT ps;
    HDC paintDC = BeginPaint(OwnerHwnd, &ps);
    if (!paintDC)
        ReportError("ERROR: BeginPaint() failed !");
    if (EnableRefresh && !BitBlt(paintDC, STX, STY, WID, HEI, Mhdc, 0, 0, SRCCOPY))
        ReportError("ERROR: BitBlt() failed !");
    EndPaint(OwnerHwnd, &ps);
}

void CanvasClass::Update() {
    RECT area = {STX, STY, STX + WID, STY + HEI};
    InvalidateRect(OwnerHwnd, &area, FALSE);
    Repaint();
}

void CanvasClass::LoadFromFile(AnsiString filename) {
    LoadFromFile(filename.c_str());
}

// Builds the new context and bitmap aside and swaps them in only when both
// exist, so a failure leaves the canvas showing what it showed before.
void CanvasClass::LoadFromFile(const char* filename) {
    HDC windowDC = GetDC(OwnerHwnd);
    if (!windowDC) {
        ReportError("ERROR: GetDC() failed !");
        return;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageA(nullptr, filename, IMAGE_BITMAP, WID, HEI, LR_LOADFROMFILE));
    if (!bitmap) {
        ReleaseDC(OwnerHwnd, windowDC);
        ReportError("ERROR: LoadImage() failed !");
        return;
    }
    HDC memoryDC = CreateCompatibleDC(windowDC);
    ReleaseDC(OwnerHwnd, windowDC);
    if (!memoryDC) {
        DeleteObject(bitmap);
        ReportError("ERROR: CreateCompatibleDC() failed !");
        return;
    }
    SelectObject(memoryDC, bitmap);

    if (Mhdc)
        DeleteDC(Mhdc);
    if (Mhbmp)
        DeleteObject(Mhbmp);
    Mhdc = memoryDC;
    Mhbmp = bitmap;

    EnableRefresh = true;
    Repaint();
    InvalidateRect(OwnerHwnd, nullptr, TRUE);
}

void CanvasClass::SetPix(int pix, int xIndex, int yIndex) {
    SetPixel(Mhdc, xIndex, yIndex, PlatformColour(pix));
}

int CanvasClass::GetPix(int xIndex, int yIndex) {
    return static_cast<int>(GetPixel(Mhdc, xIndex, yIndex));
}

void CanvasClass::FillRect(RECT r) {
    hBrush = CreateSolidBrush(PlatformColour(Brush->Color));
    if (!hBrush)
        return;
    Brush->DrawFillRect(Mhdc, &r, hBrush);
    DeleteObject(hBrush);
    hBrush = nullptr;
}

void CanvasClass::MoveTo(int x, int y) {
    CurX = x;
    CurY = y;
}

void CanvasClass::LineTo(int x, int y) {
    hPen = CreatePen(PS_SOLID, 1, PlatformColour(Pen->Color));
    if (!hPen)
        return;
    // A pen still selected cannot be deleted; put the previous one back first.
    HGDIOBJ previous = SelectObject(Mhdc, hPen);
    MoveToEx(Mhdc, CurX, CurY, nullptr);
    Pen->LineToDraw(Mhdc, x, y);
    SelectObject(Mhdc, previous);
    DeleteObject(hPen);
    hPen = nullptr;
}

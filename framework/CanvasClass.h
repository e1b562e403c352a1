#pragma once
// An off-screen drawing surface bound to one window: a memory device context
// holding a bitmap, shown in a rectangle of the owner's client area. Pixels,
// fills and lines go into the bitmap only; Repaint or Update copies it to the
// screen in one block, so a redraw of many dots costs a single screen update.
#include <windows.h>

#include "AnsiString.h"
#include "properties.h"

// Colours are 0x00BBGGRR held in an int; the platform is handed only the low
// 24 bits, so a stray top byte is never read as a palette index.
inline COLORREF PlatformColour(int colour) {
    return static_cast<COLORREF>(colour) & 0x00FFFFFF;
}

// Fill colour for CanvasClass::FillRect, 0x00BBGGRR.
class BrushClass {
public:
    int Color = 0x00FFFFFF;

    void DrawFillRect(HDC hDC, RECT* lprc, HBRUSH hbr) { ::FillRect(hDC, lprc, hbr); }
};

// Line colour for CanvasClass::LineTo, 0x00BBGGRR.
class PenClass {
public:
    int Color = 0;

    void LineToDraw(HDC hdc, int nXEnd, int nYEnd) { ::LineTo(hdc, nXEnd, nYEnd); }
};

// The row half of `Pixels[x][y]`: holds the indexes last selected and turns
// assignment and reading of `Pixel` into one pixel call on the canvas's
// current memory context. It keeps the address of the canvas's context
// field, not its value, so it follows a context replaced by a later load.
// Everything is inline: the waveform view writes thousands of dots per redraw.
class PixelDataRow {
public:
    HDC* OwnerHDC = nullptr;
    int xIndex = 0;
    int yindex = 0;
    // Last colour written (as given, top byte included) or read; the const
    // getter refreshes it, hence mutable.
    mutable int PixelDot = 0;
    property<PixelDataRow, int, const int&> Pixel;

    PixelDataRow()
        : Pixel(this, &PixelDataRow::GetPixels, &PixelDataRow::SetPixels,
                &PixelDataRow::GetRefPixel) {}
    // Pixel is bound to this very object; a copy would act on the original.
    PixelDataRow(const PixelDataRow&) = delete;
    PixelDataRow& operator=(const PixelDataRow&) = delete;

    property<PixelDataRow, int, const int&>& operator[](int yIndex) {
        yindex = yIndex;
        return Pixel;
    }

    // The platform takes only the colour's low 24 bits; PixelDot keeps the
    // value as given so the assignment yields it unchanged.
    void SetPixels(const int& pix) {
        PixelDot = pix;
        ::SetPixel(*OwnerHDC, xIndex, yindex, PlatformColour(pix));
    }

    // Outside the bitmap the platform answers 0xFFFFFFFF (CLR_INVALID).
    const int& GetPixels() const {
        PixelDot = static_cast<int>(::GetPixel(*OwnerHDC, xIndex, yindex));
        return PixelDot;
    }

    int& GetRefPixel() { return PixelDot; }
};

// The column half of `Pixels[x][y]`. Indexing only stores the column in the
// one row object; nothing is created.
class PixelData {
public:
    PixelDataRow PixRow;

    PixelDataRow& operator[](int nIndex) {
        PixRow.xIndex = nIndex;
        return PixRow;
    }
};

class CanvasClass {
public:
    HDC Mhdc = nullptr;
    HBITMAP Mhbmp = nullptr;
    HBRUSH hBrush = nullptr;  // lives only during FillRect
    HPEN hPen = nullptr;      // lives only during LineTo
    HWND OwnerHwnd;
    int STX;
    int STY;
    int WID;
    int HEI;
    int CurX = 0;
    int CurY = 0;
    bool EnableRefresh = false;  // true once there is a bitmap to show
    PixelData Pixels;
    BrushClass* Brush = nullptr;
    PenClass* Pen = nullptr;

    // A black bitmap of WIDTH x HEIGHT shown at (0, 0) of hwnd.
    CanvasClass(HWND hwnd, int WIDTH, int HEIGHT);
    // A black bitmap shown at (STARTX, STARTY); `mode` is accepted and unused.
    CanvasClass(HWND hwnd, int STARTX, int STARTY, int WIDTH, int HEIGHT, char mode);
    // No bitmap until LoadFromFile succeeds; nothing is shown before.
    CanvasClass(HWND hwnd, int STARTX, int STARTY, int WIDTH, int HEIGHT);
    ~CanvasClass();
    // The canvas owns GDI objects; a copy would release them twice.
    CanvasClass(const CanvasClass&) = delete;
    CanvasClass& operator=(const CanvasClass&) = delete;

    void Init();
    // Copies the bitmap to its rectangle, inside the owner's update region.
    void Repaint();
    // Puts the current bitmap on the screen now.
    void Update();
    // Replaces the bitmap with a bitmap file scaled to WID x HEI. On failure
    // the canvas keeps the bitmap it had.
    void LoadFromFile(const char* filename);
    void LoadFromFile(AnsiString filename);
    void SetPix(int pix, int xIndex, int yIndex);
    int GetPix(int xIndex, int yIndex);
    // Fills r with Brush->Color; right and bottom edges excluded.
    void FillRect(RECT r);
    void MoveTo(int x, int y);
    // Draws from the last MoveTo point, not from the previous line's end:
    // successive calls draw a fan. The end point itself is not drawn.
    void LineTo(int x, int y);

private:
    void CreateBitmap();
    void ReportError(const char* text);
};

// Loading bitmaps, failures, and what the canvas makes and releases.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "AnsiString.h"
#include "CanvasTestWindow.h"
#include "GdiLedger.h"
#include "MessageBoxCapture.h"

namespace {

using Boxes = std::vector<CapturedBox>;

class CanvasLifecycle : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // Quadrants of 4 x 4: red, green over blue, white.
        std::vector<std::vector<COLORREF>> rows(8, std::vector<COLORREF>(8));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                rows[y][x] = y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite);
        picture = TempPath("quadrants.bmp");
        WriteBitmapFile(picture, rows);
    }
    static void TearDownTestSuite() { std::remove(picture.c_str()); }

    void ExpectOneBox(const char* text) {
        EXPECT_EQ(boxes.boxes(), Boxes{BitmapError(text)});
        boxes.clear();
    }
    CapturedBox BitmapError(const char* text) const {
        return ErrorBox("Bitmap error", text, window.hwnd);
    }

    static std::string picture;
    MessageBoxCapture boxes;
    CanvasTestWindow window;
};
std::string CanvasLifecycle::picture;

TEST_F(CanvasLifecycle, UnloadedCanvasShowsNothingUntilALoadSucceeds) {
    CanvasClass canvas(window.hwnd, 20, 60, 16, 16);
    window.canvas = &canvas;
    EXPECT_EQ(canvas.Mhdc, nullptr);
    EXPECT_EQ(canvas.Mhbmp, nullptr);
    EXPECT_FALSE(canvas.EnableRefresh);
    InvalidateRect(window.hwnd, nullptr, TRUE);
    window.Pump();
    EXPECT_EQ(window.ScreenPixel(20, 60), kBackground);
    EXPECT_EQ(boxes.count(), 0u);

    // The pending region lets Repaint's copy show before any WM_PAINT.
    InvalidateRect(window.hwnd, nullptr, FALSE);
    window.erasures = 0;
    canvas.LoadFromFile(AnsiString(picture.c_str()));
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_TRUE(canvas.EnableRefresh);
    EXPECT_EQ(window.ScreenPixel(20, 60), kRed);

    // Scaled from 8 x 8 to the canvas's 16 x 16 (the platform may blend
    // along the quadrant borders, so look inside them).
    EXPECT_EQ(BitmapPixel(canvas, 2, 2), kRed);
    EXPECT_EQ(BitmapPixel(canvas, 13, 2), kGreen);
    EXPECT_EQ(BitmapPixel(canvas, 2, 13), kBlue);
    EXPECT_EQ(BitmapPixel(canvas, 15, 15), kWhite);
    EXPECT_EQ(BitmapPixel(canvas, 16, 15), kInvalid);

    // The whole window is left to repaint, background first.
    RECT pending, client;
    GetUpdateRect(window.hwnd, &pending, FALSE);
    GetClientRect(window.hwnd, &client);
    EXPECT_TRUE(EqualRect(&pending, &client));
    window.Pump();
    EXPECT_EQ(window.erasures, 1);
    EXPECT_EQ(window.ScreenPixel(35, 75), kWhite);
    EXPECT_EQ(window.ScreenPixel(36, 75), kBackground);
    window.canvas = nullptr;
}

TEST_F(CanvasLifecycle, PixelsFollowTheContextALoadPutsInPlace) {
    CanvasClass canvas(window.hwnd, 0, 0, 8, 8);
    canvas.LoadFromFile(picture.c_str());
    canvas.Pixels[0][0] = kBlue;
    EXPECT_EQ(BitmapPixel(canvas, 0, 0), kBlue);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(CanvasLifecycle, MissingFileIsReportedAndTheCanvasKeepsItsBitmap) {
    CanvasClass canvas(window.hwnd, 0, 0, 8, 8, 0);
    canvas.SetPix(kGreen, 1, 1);
    HDC dc = canvas.Mhdc;
    HBITMAP bitmap = canvas.Mhbmp;
    canvas.LoadFromFile("Z:\\no\\such\\picture.bmp");
    ExpectOneBox("ERROR: LoadImage() failed !");
    EXPECT_EQ(canvas.Mhdc, dc);
    EXPECT_EQ(canvas.Mhbmp, bitmap);
    EXPECT_EQ(BitmapPixel(canvas, 1, 1), kGreen);

    CanvasClass unloaded(window.hwnd, 0, 0, 8, 8);
    unloaded.LoadFromFile("Z:\\no\\such\\picture.bmp");
    ExpectOneBox("ERROR: LoadImage() failed !");
    EXPECT_FALSE(unloaded.EnableRefresh);
    EXPECT_EQ(unloaded.Mhdc, nullptr);
}

TEST_F(CanvasLifecycle, LoadReleasesTheContextAndBitmapItReplaces) {
    GdiLedger ledger;
    CanvasClass canvas(window.hwnd, 0, 0, 8, 8, 0);
    HDC oldDC = canvas.Mhdc;
    HBITMAP oldBitmap = canvas.Mhbmp;
    canvas.LoadFromFile(picture.c_str());
    EXPECT_EQ(boxes.count(), 0u);
    EXPECT_EQ(GetObjectType(oldDC), 0u);
    EXPECT_EQ(GetObjectType(oldBitmap), 0u);
    EXPECT_EQ(ledger.live, (std::set<HGDIOBJ>{canvas.Mhdc, canvas.Mhbmp}));
    EXPECT_EQ(ledger.windowDCsHeld, 0);
}

// Every way a load can fail leaves the canvas as it was, gives the window's
// context back and deletes whatever the attempt had made.
TEST_F(CanvasLifecycle, FailedLoadLeavesNothingBehind) {
    struct Case {
        GdiCall failing;
        const char* text;
    };
    for (const Case& c :
         {Case{GdiCall::GetDC, "ERROR: GetDC() failed !"},
          Case{GdiCall::LoadImageA, "ERROR: LoadImage() failed !"},
          Case{GdiCall::CreateCompatibleDC, "ERROR: CreateCompatibleDC() failed !"}}) {
        SCOPED_TRACE(c.text);
        GdiLedger ledger;
        CanvasClass canvas(window.hwnd, 0, 0, 8, 8, 0);
        HDC dc = canvas.Mhdc;
        HBITMAP bitmap = canvas.Mhbmp;
        ledger.FailNext(c.failing);
        canvas.LoadFromFile(picture.c_str());
        ExpectOneBox(c.text);
        EXPECT_EQ(canvas.Mhdc, dc);
        EXPECT_EQ(canvas.Mhbmp, bitmap);
        EXPECT_EQ(ledger.live, (std::set<HGDIOBJ>{dc, bitmap}));
        EXPECT_EQ(ledger.windowDCsHeld, 0);
    }
}

TEST_F(CanvasLifecycle, ConstructorReportsEachFailedStepAndGoesOn) {
    GdiLedger ledger;
    ledger.FailNext(GdiCall::GetDC);
    ledger.FailNext(GdiCall::CreateCompatibleDC);
    ledger.FailNext(GdiCall::CreateCompatibleBitmap);
    {
        CanvasClass canvas(window.hwnd, 0, 0, 8, 8, 0);
        EXPECT_EQ(boxes.boxes(), (Boxes{BitmapError("ERROR: GetDC() failed !"),
                                        BitmapError("ERROR: CreateCompatibleDC() failed !"),
                                        BitmapError("ERROR: CreateCompatibleBitmap() failed !")}));
        canvas.SetPix(kWhite, 0, 0);
        canvas.FillRect(RECT{0, 0, 4, 4});
        canvas.LineTo(4, 4);
    }
    EXPECT_EQ(ledger.foreignReleases, 0);
    EXPECT_TRUE(ledger.live.empty());
}

TEST_F(CanvasLifecycle, UnloadedCanvasReleasesNothingWhenDestroyed) {
    GdiLedger ledger;
    delete new CanvasClass(window.hwnd, 0, 0, 8, 8);
    EXPECT_EQ(ledger.releases, 0);
}

TEST_F(CanvasLifecycle, ManyCyclesLeaveNoObjectOrContextBehind) {
    GdiLedger ledger;
    for (int cycle = 0; cycle < 100; ++cycle) {
        {
            CanvasClass created(window.hwnd, 16, 16);
            created.FillRect(RECT{0, 0, 8, 8});
            created.MoveTo(0, 0);
            created.LineTo(15, 15);
            created.Update();
            created.LoadFromFile(picture.c_str());
            CanvasClass loaded(window.hwnd, 0, 0, 8, 8);
            loaded.LoadFromFile(picture.c_str());
            loaded.LoadFromFile(picture.c_str());
            CanvasClass unloaded(window.hwnd, 0, 0, 8, 8);
        }
        ASSERT_TRUE(ledger.live.empty()) << "cycle " << cycle;
        ASSERT_EQ(ledger.windowDCsHeld, 0) << "cycle " << cycle;
    }
    EXPECT_EQ(ledger.foreignReleases, 0);
    EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace

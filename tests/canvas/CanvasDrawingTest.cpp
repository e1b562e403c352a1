// Drawing into the canvas bitmap and showing it in the owner window.
#include <gtest/gtest.h>

#include <memory>

#include "CanvasTestWindow.h"
#include "MessageBoxCapture.h"

namespace {

constexpr int kX = 20, kY = 60, kWidth = 650, kHeight = 512;

class CanvasDrawing : public testing::Test {
protected:
    void SetUp() override {
        canvas = std::make_unique<CanvasClass>(window.hwnd, kX, kY, kWidth, kHeight, 'x');
        window.canvas = canvas.get();
        InvalidateRect(window.hwnd, nullptr, TRUE);
        window.Pump();
    }
    void TearDown() override {
        window.canvas = nullptr;
        EXPECT_EQ(boxes.count(), 0u) << boxes[0].text;
    }
    COLORREF Pix(int x, int y) { return BitmapPixel(*canvas, x, y); }

    MessageBoxCapture boxes;
    CanvasTestWindow window;
    std::unique_ptr<CanvasClass> canvas;
};

TEST_F(CanvasDrawing, NewBitmapIsBlackAndShownInItsRectangle) {
    for (int y = 0; y < kHeight; y += 7)
        for (int x = 0; x < kWidth; x += 7)
            ASSERT_EQ(Pix(x, y), 0u) << x << "," << y;
    EXPECT_EQ(window.ScreenPixel(kX, kY), 0u);
    EXPECT_EQ(window.ScreenPixel(kX + kWidth - 1, kY + kHeight - 1), 0u);
    EXPECT_EQ(window.ScreenPixel(kX - 1, kY), kBackground);
    EXPECT_EQ(window.ScreenPixel(kX + kWidth, kY + kHeight), kBackground);

    CanvasClass atOrigin(window.hwnd, 40, 30);
    EXPECT_EQ(atOrigin.STX, 0);
    EXPECT_EQ(atOrigin.GetPix(39, 29), 0);
    EXPECT_EQ(BitmapPixel(atOrigin, 40, 29), kInvalid);
}

// A top byte of 0x01 would make the platform read the colour as a palette
// index, so it must never reach it.
TEST_F(CanvasDrawing, SetPixDropsTheTopByteAndGetPixAnswersInvalidOutside) {
    canvas->SetPix(0x01345678, 3, 4);
    EXPECT_EQ(Pix(3, 4), 0x00345678u);
    canvas->SetPix(kWhite, kWidth, 0);
    canvas->SetPix(kWhite, -1, 0);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {kWidth, 0}, {0, kHeight}})
        EXPECT_EQ(Pix(x, y), kInvalid) << x << "," << y;
}

TEST_F(CanvasDrawing, PixelWriteReachesTheScreenOnlyOnUpdate) {
    canvas->Pixels[5][7] = kBlue;
    canvas->Pixels[kWidth - 1][kHeight - 1] = kRed;
    EXPECT_EQ(Pix(5, 7), kBlue);
    EXPECT_EQ(window.ScreenPixel(kX + 5, kY + 7), 0u);
    EXPECT_EQ(window.ScreenPixel(kX + kWidth - 1, kY + kHeight - 1), 0u);

    canvas->Update();  // the whole canvas, up to its far corner
    EXPECT_EQ(window.ScreenPixel(kX + 5, kY + 7), kBlue);
    EXPECT_EQ(window.ScreenPixel(kX + kWidth - 1, kY + kHeight - 1), kRed);

    int read = canvas->Pixels[5][7];
    EXPECT_EQ(read, static_cast<int>(kBlue));
    EXPECT_EQ(canvas->Pixels.PixRow.PixelDot, static_cast<int>(kBlue));
}

TEST_F(CanvasDrawing, PixelAssignmentYieldsTheColourAsGivenButStoresItsLowBits) {
    int result = (canvas->Pixels[2][9] = 0x0100FF00);
    EXPECT_EQ(result, 0x0100FF00);
    EXPECT_EQ(canvas->Pixels.PixRow.PixelDot, 0x0100FF00);
    EXPECT_EQ(Pix(2, 9), 0x0000FF00u);

    canvas->Pixels[kWidth][3] = kWhite;
    EXPECT_EQ(static_cast<COLORREF>(static_cast<int>(canvas->Pixels[kWidth][3])), kInvalid);
    EXPECT_EQ(static_cast<COLORREF>(static_cast<int>(canvas->Pixels[-1][-1])), kInvalid);
}

TEST_F(CanvasDrawing, ColumnIndexHoldsUntilTheNextColumnIsIndexed) {
    PixelDataRow& column = canvas->Pixels[3];
    column[11] = kWhite;
    column[12] = kRed;
    EXPECT_EQ(canvas->Pixels.PixRow.xIndex, 3);
    EXPECT_EQ(Pix(3, 11), kWhite);
    EXPECT_EQ(Pix(3, 12), kRed);
}

TEST_F(CanvasDrawing, LinesFanOutFromTheMoveToPointWithoutTheirEndPoints) {
    canvas->Pen->Color = 0x01FFFFFF;
    const HGDIOBJ stockPen = GetCurrentObject(canvas->Mhdc, OBJ_PEN);
    ASSERT_EQ(stockPen, GetStockObject(BLACK_PEN));
    canvas->MoveTo(10, 10);
    canvas->LineTo(100, 10);
    // Its own pen must be deselected before it is deleted: Windows refuses to
    // delete a selected pen, so every line would leak one.
    EXPECT_EQ(GetCurrentObject(canvas->Mhdc, OBJ_PEN), stockPen);
    canvas->LineTo(10, 100);
    EXPECT_EQ(canvas->CurX, 10);
    EXPECT_EQ(canvas->CurY, 10);
    for (int i = 10; i < 100; ++i) {
        ASSERT_EQ(Pix(i, 10), kWhite) << i;
        ASSERT_EQ(Pix(10, i), kWhite) << i;
    }
    EXPECT_EQ(Pix(100, 10), 0u);
    EXPECT_EQ(Pix(10, 100), 0u);
    EXPECT_EQ(Pix(55, 55), 0u);  // where a polyline's second stroke would pass
    EXPECT_EQ(canvas->hPen, nullptr);
}

TEST_F(CanvasDrawing, FillRectUsesTheBrushColourAndLeavesRightAndBottomEdges) {
    canvas->FillRect(RECT{2, 3, 6, 8});
    EXPECT_EQ(Pix(2, 3), kWhite);
    EXPECT_EQ(Pix(5, 7), kWhite);
    EXPECT_EQ(Pix(6, 7), 0u);
    EXPECT_EQ(Pix(5, 8), 0u);

    canvas->Brush->Color = 0x010000FF;
    canvas->FillRect(RECT{20, 20, 30, 25});
    EXPECT_EQ(Pix(20, 20), kRed);
    EXPECT_EQ(Pix(29, 24), kRed);
    EXPECT_EQ(Pix(30, 24), 0u);
    EXPECT_EQ(Pix(29, 25), 0u);
    EXPECT_EQ(canvas->hBrush, nullptr);
}

}  // namespace

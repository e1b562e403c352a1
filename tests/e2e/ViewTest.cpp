// The waveform view as the user sees it: what the canvas shows on screen and
// where the scroll bar's thumb stands, after start-up and arrow keys.
#include "MessagePump.h"
#include "ProgramTest.h"

namespace {

class ViewTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start(ToneSample());
    }

    // The bar as the screen shows it once the program's drawing has got
    // there: the program paints into a copy of its window that Wine puts on
    // the screen a little later, so the picture is taken when two captures
    // some time apart agree.
    static std::vector<COLORREF> SettledPicture(const RECT& area) {
        std::vector<COLORREF> shown = ScreenPixels(area);
        WaitFor(
            [&] {
                const std::vector<COLORREF> before = shown;
                Sleep(100);
                shown = ScreenPixels(area);
                return shown == before;
            },
            5000);
        return shown;
    }

    // Has the program repaint `window` and takes `area` of the screen once
    // the repaint is there. The update region empties as the repaint begins;
    // a message to the window is answered once its thread has finished it.
    std::vector<COLORREF> RepaintedPicture(HWND window, const RECT& area) {
        EXPECT_TRUE(InvalidateRect(window, nullptr, TRUE));
        EXPECT_TRUE(WaitFor([&] { return !GetUpdateRect(window, nullptr, FALSE); }, 5000));
        EXPECT_TRUE(program->Send(window, WM_NULL, 0, 0));
        return SettledPicture(area);
    }

    // The bar on screen must look as a repaint from its stored position
    // draws it: a thumb moved without being redrawn shows where it was.
    void ExpectThumbShownWhereItStands() {
        HWND bar = program->scrollBar();
        RECT area;
        ASSERT_TRUE(GetWindowRect(bar, &area));
        const std::vector<COLORREF> shown = SettledPicture(area);
        EXPECT_TRUE(RepaintedPicture(bar, area) == shown) << "repainting the scroll bar changed it";
    }
};

RECT ClientRectOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(const RECT& rect, LONG x, LONG y, LONG width, LONG height) {
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

TEST_F(ViewTest, OpensWithItsControlsInPlace) {
    RECT window;
    GetWindowRect(program->form(), &window);
    ExpectRect(window, -1, -1, 700, 650);

    HWND start = program->button("START");
    HWND stop = program->button("STOP");
    ASSERT_NE(start, nullptr);
    ASSERT_NE(stop, nullptr);
    ASSERT_NE(program->scrollBar(), nullptr);
    ExpectRect(ClientRectOf(start), 20, 20, 50, 27);
    ExpectRect(ClientRectOf(stop), 80, 20, 50, 27);
    ExpectRect(ClientRectOf(program->scrollBar()), 20, 580, 650, 20);
    EXPECT_EQ(GetDlgCtrlID(start), 1);
    EXPECT_EQ(GetDlgCtrlID(stop), 2);
    int low = -1, high = -1;
    GetScrollRange(program->scrollBar(), SB_CTL, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);

    CloseNormally();
}

TEST_F(ViewTest, ScrollsRightToTheEndAndBack) {
    ExpectView(0);
    EXPECT_EQ(program->ThumbPosition(), 0);

    // Keys other than Left and Right change nothing.
    ASSERT_TRUE(program->PressKey(program->form(), VK_UP));
    ExpectView(0);
    EXPECT_EQ(program->ThumbPosition(), 0);

    ASSERT_TRUE(program->PressKey(program->form(), VK_RIGHT));
    ExpectView(50);  // samples 25 to 674
    EXPECT_EQ(program->ThumbPosition(), 0);

    ASSERT_TRUE(program->PressKeys(program->form(), VK_RIGHT, 136));
    ExpectView(6850);
    EXPECT_EQ(program->ThumbPosition(), 99);
    ExpectThumbShownWhereItStands();

    // Past the end the position parks at 6842 without drawing...
    ASSERT_TRUE(program->PressKey(program->form(), VK_RIGHT));
    ExpectView(6850);
    EXPECT_EQ(program->ThumbPosition(), 99);

    // ...and the next press shows the very end, the last processed dot green:
    // the shifter ends on a sample 0, drawn on row 128 of the lower band.
    ASSERT_TRUE(program->PressKey(program->form(), VK_RIGHT));
    ExpectView(6892);
    EXPECT_EQ(program->ThumbPosition(), 100);
    EXPECT_EQ(CaptureCanvas(program->form()).at(649, 384), 0x0000FF00u);

    ASSERT_TRUE(program->PressKey(program->form(), VK_LEFT));
    ExpectView(6842);
    EXPECT_EQ(program->ThumbPosition(), 90);

    CloseNormally();
}

// After the silent park at 6842 the positions run 6792, 6742, ... 42; the
// next Left press must stop at the start of the sample, not step before it.
TEST_F(ViewTest, LeftStopsAtTheStartOfTheSample) {
    ASSERT_TRUE(program->PressKeys(program->form(), VK_RIGHT, 138));
    ASSERT_TRUE(program->PressKeys(program->form(), VK_LEFT, 136));
    ExpectView(42);
    EXPECT_EQ(program->ThumbPosition(), 0);

    ASSERT_TRUE(program->PressKey(program->form(), VK_LEFT));
    ExpectView(0);
    EXPECT_EQ(program->ThumbPosition(), 0);

    ASSERT_TRUE(program->PressKeys(program->form(), VK_LEFT, 3));
    ExpectView(0);
    ASSERT_TRUE(program->PressKey(program->form(), VK_RIGHT));
    ExpectView(50);

    CloseNormally();
}

// A click leaves the keyboard focus on the button; the keys it receives
// still scroll the view.
TEST_F(ViewTest, ArrowKeysScrollWhileAButtonHasTheFocus) {
    ASSERT_TRUE(program->Click("STOP"));
    GUITHREADINFO focus{};
    focus.cbSize = sizeof focus;
    ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(program->form(), nullptr), &focus));
    ASSERT_EQ(focus.hwndFocus, program->button("STOP"));

    ASSERT_TRUE(program->PressKeys(focus.hwndFocus, VK_RIGHT, 3));
    ExpectView(150);
    ASSERT_TRUE(program->PressKey(focus.hwndFocus, VK_LEFT));
    ExpectView(100);
    EXPECT_EQ(program->ThumbPosition(), 1);  // Left keys divide by 7542

    CloseNormally();
}

// The same through the keyboard itself: the keys go to whichever window of
// the foreground program has the focus, here the button just clicked.
TEST_F(ViewTest, TypedArrowKeysScrollTheView) {
    ASSERT_TRUE(program->Click("START"));
    SetForegroundWindow(program->form());
    std::vector<INPUT> keys;
    for (int i = 0; i < 3; ++i) {
        for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT key{};
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_RIGHT;
            key.ki.dwFlags = flags;
            keys.push_back(key);
        }
    }
    ASSERT_EQ(SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT)), keys.size());
    ExpectView(150);

    CloseNormally();
}

TEST_F(ViewTest, ArrowKeysScrollWhileTheScrollBarHasTheFocus) {
    ASSERT_TRUE(program->PressKeys(program->scrollBar(), VK_RIGHT, 2));
    ExpectView(100);
    EXPECT_EQ(program->ThumbPosition(), 1);  // Right keys divide by 6892

    CloseNormally();
}

// Painting copies the canvas as the last draw left it, whatever covered it.
TEST_F(ViewTest, RepaintsUnchangedWhenUncoveredOrInvalidated) {
    ASSERT_TRUE(program->PressKeys(program->form(), VK_RIGHT, 5));
    ExpectView(250);

    RECT canvas = {20, 60, 20 + 650, 60 + 512};
    MapWindowPoints(program->form(), nullptr, reinterpret_cast<POINT*>(&canvas), 2);
    HWND cover = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "",
                                 WS_POPUP | WS_VISIBLE | SS_WHITERECT, canvas.left + 100,
                                 canvas.top + 100, 300, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    // The cover reaches the screen once this thread has painted it.
    const bool shown = WaitFor(
        [&] {
            DrainQueue();
            return CaptureCanvas(program->form()).at(250, 250) == 0x00FFFFFF;
        },
        5000);
    EXPECT_TRUE(shown) << "the cover did not show";
    DestroyWindow(cover);
    ExpectView(250);

    EXPECT_TRUE(RepaintedPicture(program->form(), canvas) == ExpectedCanvas(sample, 250).pixels)
        << "repainting the window changed the canvas";
    ExpectView(250);
    EXPECT_EQ(program->ThumbPosition(), 3);

    CloseNormally();
}

}  // namespace

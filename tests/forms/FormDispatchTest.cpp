// Each window message reaching its handler with decoded arguments, and the
// form operations that act on the window.
#include <gtest/gtest.h>

#include <string>

#include "RecordingForm.h"
#include "hinstance.h"

namespace {

class FormDispatch : public ::testing::Test {
protected:
    void SetUp() override {
        form.Create("Form dispatch test", 320, 240);
        ASSERT_NE(form.hwnd, nullptr);
        log.clear();
    }
    void TearDown() override {
        if (IsWindow(form.hwnd)) {
            DestroyWindow(form.hwnd);
        }
        DrainQueue();
        UnregisterClassA("Form dispatch test", hInst);
    }

    // The handler calls that one sent message caused, and its result.
    CallLog Send(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr) {
        log.clear();
        LRESULT r = SendMessageA(form.hwnd, message, wParam, lParam);
        if (result != nullptr) {
            *result = r;
        }
        return log;
    }

    CallLog log;
    RecordingForm form{log};
};

TEST_F(FormDispatch, MousePositionsArriveAsUnsigned16BitHalves) {
    const struct {
        UINT message;
        const char* handler;
    } rows[] = {
        {WM_MOUSEMOVE, "OnMouseMove"},       {WM_LBUTTONDOWN, "OnMouseButton"},
        {WM_LBUTTONUP, "OnMouseButtonUp"},   {WM_LBUTTONDBLCLK, "OnMouseDbClick"},
        {WM_RBUTTONDOWN, "OnMouseRightBtn"}, {WM_RBUTTONUP, "OnMouseRightBtnUp"},
    };
    for (const auto& row : rows) {
        LRESULT result = -1;
        EXPECT_EQ(Send(row.message, 0, MAKELPARAM(12, 345), &result),
                  CallLog{Call(row.handler, {12, 345})});
        EXPECT_EQ(result, 0);
        // Left of and above the client area, with the mouse captured.
        EXPECT_EQ(Send(row.message, MK_LBUTTON, MAKELPARAM(-1, -2)),
                  CallLog{Call(row.handler, {65535, 65534})});
    }
}

TEST_F(FormDispatch, KeysCharactersAndCommands) {
    LRESULT result = -1;
    EXPECT_EQ(Send(WM_KEYDOWN, VK_RIGHT, 0, &result), CallLog{Call("OnKeyDown", {VK_RIGHT})});
    EXPECT_EQ(result, 0);

    EXPECT_EQ(Send(WM_CHAR, 'a', 0, &result), CallLog{Call("OnChar", {'a'})});
    EXPECT_EQ(result, 0);
    // Codes above 127 arrive as a negative char; only the low byte counts.
    EXPECT_EQ(Send(WM_CHAR, 0xE9, 0), CallLog{Call("OnChar", {-23})});
    EXPECT_EQ(Send(WM_CHAR, 0x1FF, 0), CallLog{Call("OnChar", {-1})});

    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0, &result),
              CallLog{Call("OnCommand", {7})});
    EXPECT_EQ(result, 0);

    // System keys are left to the default procedure in a window form.
    EXPECT_TRUE(Send(WM_SYSKEYDOWN, 'A', 0).empty());
}

TEST_F(FormDispatch, TimerUserAndWaveInputMessages) {
    LRESULT result = -1;
    EXPECT_EQ(Send(WM_TIMER, 42, 0, &result), CallLog{Call("OnTimer", {42})});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Send(WM_USER, 7, -3, &result), CallLog{Call("OnUserMessage", {7, -3})});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Send(MM_WIM_DATA, 1, 2, &result), CallLog{Call("OnAudioRecData")});
    EXPECT_EQ(result, 0);

    // Only WM_USER itself is a form message; the numbers above it are not.
    EXPECT_TRUE(Send(WM_USER + 1, 7, -3).empty());
    EXPECT_TRUE(Send(WM_USER + 100, 7, -3).empty());
}

TEST_F(FormDispatch, ActivationStatesMapToHandlerCodes) {
    LRESULT result = -1;
    EXPECT_EQ(Send(WM_ACTIVATE, WA_ACTIVE, 0, &result), CallLog{Call("Activate", {1})});
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Send(WM_ACTIVATE, WA_CLICKACTIVE, 0), CallLog{Call("Activate", {2})});
    EXPECT_EQ(Send(WM_ACTIVATE, WA_INACTIVE, 0), CallLog{Call("Activate", {3})});
    // A minimized window sets the high word: no call.
    EXPECT_TRUE(Send(WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0).empty());
    EXPECT_TRUE(Send(WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0).empty());
}

TEST_F(FormDispatch, PaintRequestsReachOnPaintAndAreValidated) {
    form.Update();
    RECT pending;
    EXPECT_TRUE(GetUpdateRect(form.hwnd, &pending, FALSE));
    log.clear();
    UpdateWindow(form.hwnd);
    EXPECT_EQ(log, CallLog{Call("OnPaint")});
    // The default processing validated what the handler did not paint.
    EXPECT_FALSE(GetUpdateRect(form.hwnd, &pending, FALSE));
}

TEST_F(FormDispatch, ClosingAMainFormDestroysItAndPostsQuitWithZero) {
    EXPECT_TRUE(Significant(Send(WM_CLOSE, 0, 0)).empty());
    EXPECT_FALSE(IsWindow(form.hwnd));
    EXPECT_EQ(DrainQueue(), std::vector<WPARAM>{0});
}

TEST(FormSecondary, ClosingHidesTheWindowAndShowBringsItBack) {
    CallLog log;
    RecordingForm form(log);
    form.CreateHidden("Form secondary test", 300, 200);
    ASSERT_NE(form.hwnd, nullptr);

    log.clear();
    form.Show();
    EXPECT_EQ(Significant(log), CallLog{Call("OnShow")});
    EXPECT_TRUE(form.Visible);
    EXPECT_TRUE(IsWindowVisible(form.hwnd));

    log.clear();
    EXPECT_EQ(SendMessageA(form.hwnd, WM_CLOSE, 0, 0), 0);
    ASSERT_TRUE(IsWindow(form.hwnd));
    EXPECT_FALSE(IsWindowVisible(form.hwnd));
    EXPECT_FALSE(form.Visible);
    EXPECT_TRUE(Significant(log).empty());
    EXPECT_TRUE(DrainQueue().empty());

    form.Show();
    EXPECT_EQ(Significant(log), CallLog{Call("OnShow")});
    EXPECT_TRUE(IsWindowVisible(form.hwnd));

    log.clear();
    form.Hide();
    EXPECT_FALSE(IsWindowVisible(form.hwnd));
    EXPECT_FALSE(form.Visible);
    EXPECT_TRUE(Significant(log).empty());

    // A secondary form's window posts the quit message too when destroyed.
    DestroyWindow(form.hwnd);
    EXPECT_EQ(DrainQueue(), std::vector<WPARAM>{0});
}

}  // namespace

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

// The handler call each message causes, if any, with its decoded arguments;
// a message a handler took returns 0.
TEST_F(FormDispatch, MessagesReachTheirHandlers) {
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        CallLog calls;
    } rows[] = {
        {WM_KEYDOWN, VK_RIGHT, 0, {Call("OnKeyDown", {VK_RIGHT})}},
        {WM_CHAR, 'a', 0, {Call("OnChar", {'a'})}},
        // Codes above 127 arrive as a negative char; only the low byte counts.
        {WM_CHAR, 0xE9, 0, {Call("OnChar", {-23})}},
        {WM_CHAR, 0x1FF, 0, {Call("OnChar", {-1})}},
        {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0, {Call("OnCommand", {7})}},
        // System keys are left to the default procedure in a window form.
        {WM_SYSKEYDOWN, 'A', 0, {}},
        {WM_TIMER, 42, 0, {Call("OnTimer", {42})}},
        {WM_USER, 7, -3, {Call("OnUserMessage", {7, -3})}},
        {MM_WIM_DATA, 1, 2, {Call("OnAudioRecData")}},
        // Only WM_USER itself is a form message; the numbers above it are not.
        {WM_USER + 1, 7, -3, {}},
        {WM_USER + 100, 7, -3, {}},
        {WM_ACTIVATE, WA_ACTIVE, 0, {Call("Activate", {1})}},
        {WM_ACTIVATE, WA_CLICKACTIVE, 0, {Call("Activate", {2})}},
        {WM_ACTIVATE, WA_INACTIVE, 0, {Call("Activate", {3})}},
        // A minimized window sets the high word: no call.
        {WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0, {}},
        {WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 1), 0, {}},
    };
    // The focus stays on the control that has it: on switching back to the
    // form, the platform's own handling of WM_ACTIVATE would give it to the form.
    const HWND control = CreateWindowA("BUTTON", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, form.hwnd,
                                       nullptr, hInst, nullptr);
    SetFocus(control);
    ASSERT_EQ(GetFocus(), control);
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "message 0x" << std::hex << row.message << ", wParam 0x" << row.wParam);
        LRESULT result = -1;
        EXPECT_EQ(Send(row.message, row.wParam, row.lParam, &result), row.calls);
        EXPECT_EQ(GetFocus(), control);
        if (!row.calls.empty()) {
            EXPECT_EQ(result, 0);
        }
    }
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

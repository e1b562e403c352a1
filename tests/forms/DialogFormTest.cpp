// A form run as a modal dialog from the test resources' template. The tests
// act from inside the dialog's modal loop: BuildForm posts a command, and
// the form's command handler runs the test's steps.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "RecordingForm.h"
#include "form_resources.h"
#include "hinstance.h"

namespace {

// A private command that starts the test's steps once the dialog runs.
constexpr WORD kRunSteps = 900;
// The handlers a run calls that ends straight after the test's steps.
const CallLog kOneRun{Call("BuildForm"), Call("OnCommand", {kRunSteps}), Call("DestroyForm")};

class DialogForm : public ::testing::Test {
protected:
    void SetUp() override {
        form.CreateDialogBox(nullptr, TEST_DIALOG);
        form.onBuild = [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, kRunSteps, 0); };
        form.onCommand = [this](WORD command) {
            if (command == kRunSteps && steps) {
                steps(form.DialogHWND);
            } else if (command != kRunSteps && onOtherCommand) {
                onOtherCommand(command);
            }
        };
    }
    void TearDown() override { EXPECT_TRUE(DrainQueue().empty()); }

    // What the dialog does once it runs; it ends the dialog itself.
    std::function<void(HWND)> steps;
    std::function<void(WORD)> onOtherCommand;
    CallLog log;
    RecordingForm form{log};
};

TEST_F(DialogForm, RunsTheTemplateAndReturnsTheModalResult) {
    HWND running = nullptr;
    steps = [&](HWND dialog) {
        running = dialog;
        EXPECT_EQ(WindowText(dialog), "Dialog form");
        EXPECT_NE(GetDlgItem(dialog, IDOK), nullptr);
        // The platform gave the first focus to the template's first tab stop.
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&form));
        form.ModalResult(7);
    };
    EXPECT_EQ(form.ShowModal(), 7);

    // BuildForm ran at WM_INITDIALOG with the dialog, DestroyForm when the
    // dialog window went away.
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(form.builtWindow, running);
    EXPECT_EQ(form.builtInstance, hInst);
    EXPECT_EQ(form.DialogHWND, running);
    EXPECT_FALSE(IsWindow(running));
    EXPECT_EQ(Significant(log), kOneRun);
}

TEST_F(DialogForm, OnlyTheLowSixteenBitsOfTheResourceNameTheTemplate) {
    form.CreateDialogBox(nullptr, 0x50000 | TEST_DIALOG);
    steps = [&](HWND) { form.ModalResult(4); };
    EXPECT_EQ(form.ShowModal(), 4);
}

TEST_F(DialogForm, EscapeReachesOnCommandAndTheHandlerDecides) {
    int escapes = 0;
    steps = [&](HWND dialog) {
        // The dialog manager turns Escape into IDCANCEL.
        PostMessageA(GetFocus() != nullptr ? GetFocus() : dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    onOtherCommand = [&](WORD command) {
        if (command == IDCANCEL && ++escapes == 1) {
            // The first Escape is refused: the dialog goes on.
            PostMessageA(form.DialogHWND, WM_KEYDOWN, VK_ESCAPE, 0);
        } else if (command == IDCANCEL) {
            form.ModalResult(11);
        }
    };
    EXPECT_EQ(form.ShowModal(), 11);
    EXPECT_EQ(escapes, 2);
}

TEST_F(DialogForm, TheCloseBoxEndsWithCancel) {
    steps = [&](HWND dialog) { PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); };
    EXPECT_EQ(form.ShowModal(), IDCANCEL);
    // Closing went straight to the result; no command was sent for it.
    EXPECT_EQ(Significant(log), kOneRun);
}

TEST_F(DialogForm, MessagesReachTheHandlersWithDecodedArguments) {
    CallLog calls;
    CallLog paintCalls;
    BOOL paintStillPending = TRUE;
    steps = [&](HWND dialog) {
        log.clear();
        SendMessageA(dialog, WM_MOUSEMOVE, 0, MAKELPARAM(-1, 3));
        SendMessageA(dialog, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 2));
        SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
        SendMessageA(dialog, WM_LBUTTONDBLCLK, 0, MAKELPARAM(5, 6));
        SendMessageA(dialog, WM_RBUTTONDOWN, 0, MAKELPARAM(7, 8));
        SendMessageA(dialog, WM_RBUTTONUP, 0, MAKELPARAM(9, -2));
        SendMessageA(dialog, WM_KEYDOWN, VK_LEFT, 0);
        // Alt key combinations reach OnKeyDown in a dialog form.
        SendMessageA(dialog, WM_SYSKEYDOWN, 'X', 1 << 29);
        SendMessageA(dialog, WM_CHAR, 0xC4, 0);
        SendMessageA(dialog, WM_TIMER, 17, 0);
        SendMessageA(dialog, WM_ACTIVATE, WA_CLICKACTIVE, 0);
        SendMessageA(dialog, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 1), 0);
        // Not in the dialog table.
        SendMessageA(dialog, WM_USER, 1, 2);
        SendMessageA(dialog, MM_WIM_DATA, 1, 2);
        calls = log;

        // A paint request reaches OnPaint and is validated, so that it does
        // not come again and again. (The modal loop has not shown the dialog
        // yet, and a hidden window is not painted.)
        log.clear();
        ShowWindow(dialog, SW_SHOWNA);
        InvalidateRect(dialog, nullptr, FALSE);
        UpdateWindow(dialog);
        RECT pending;
        paintStillPending = GetUpdateRect(dialog, &pending, FALSE);
        paintCalls = log;
        form.ModalResult(1);
    };
    EXPECT_EQ(form.ShowModal(), 1);
    EXPECT_EQ(calls,
              (CallLog{Call("OnMouseMove", {65535, 3}), Call("OnMouseButton", {1, 2}),
                       Call("OnMouseButtonUp", {3, 4}), Call("OnMouseDbClick", {5, 6}),
                       Call("OnMouseRightBtn", {7, 8}), Call("OnMouseRightBtnUp", {9, 65534}),
                       Call("OnKeyDown", {VK_LEFT}), Call("OnKeyDown", {'X'}),
                       Call("OnChar", {-60}), Call("OnTimer", {17}), Call("Activate", {2})}));
    EXPECT_EQ(paintCalls, CallLog{Call("OnPaint")});
    EXPECT_FALSE(paintStillPending);
}

TEST_F(DialogForm, GeometryLeftUnsetComesFromTheDialogAndCallerValuesStay) {
    form.STX = 30;
    form.STY = 40;
    RECT afterResize = {};
    RECT afterSizing = {};
    RECT minimized = {};
    RECT restored = {};
    steps = [&](HWND dialog) {
        // A resize is undone: back to the caller's corner and the dialog's
        // own size.
        SetWindowPos(dialog, nullptr, 200, 210, 500, 400, SWP_NOZORDER);
        GetWindowRect(dialog, &afterResize);
        // So is the dragging of a border, already while it goes on. A move
        // alone sends no size message, so only the WM_SIZING brings the
        // dialog back.
        SetWindowPos(dialog, nullptr, 200, 210, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        RECT dragged;
        GetWindowRect(dialog, &dragged);
        EXPECT_EQ(dragged.left, 200);
        dragged.right += 50;
        SendMessageA(dialog, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&dragged));
        GetWindowRect(dialog, &afterSizing);
        // Minimized, it stays where the platform keeps minimized windows, not
        // at the caller's corner; restored, it is back.
        ShowWindow(dialog, SW_MINIMIZE);
        DrainQueue();
        GetWindowRect(dialog, &minimized);
        ShowWindow(dialog, SW_RESTORE);
        GetWindowRect(dialog, &restored);
        form.ModalResult(1);
    };
    ASSERT_EQ(form.ShowModal(), 1);
    EXPECT_EQ(form.STX, 30);
    EXPECT_EQ(form.STY, 40);
    EXPECT_GT(form.WID, 0);
    EXPECT_GT(form.HEI, 0);
    EXPECT_EQ(afterResize.left, 30);
    EXPECT_EQ(afterResize.top, 40);
    EXPECT_EQ(afterResize.right - afterResize.left, form.WID);
    EXPECT_EQ(afterResize.bottom - afterResize.top, form.HEI);
    EXPECT_TRUE(EqualRect(&afterSizing, &afterResize));
    EXPECT_FALSE(minimized.left == 30 && minimized.top == 40);
    EXPECT_TRUE(EqualRect(&restored, &afterResize));

    // A second run keeps the geometry of the first.
    const int wid = form.WID;
    const int hei = form.HEI;
    steps = [&](HWND) { form.ModalResult(2); };
    ASSERT_EQ(form.ShowModal(), 2);
    EXPECT_EQ(form.WID, wid);
    EXPECT_EQ(form.HEI, hei);

    // A corner left unset is where the platform put the dialog, and a
    // resize brings it back there.
    form.STX = form.STY = -1;
    RECT placed = {};
    steps = [&](HWND dialog) {
        GetWindowRect(dialog, &placed);
        SetWindowPos(dialog, nullptr, 200, 210, 500, 400, SWP_NOZORDER);
        GetWindowRect(dialog, &afterResize);
        form.ModalResult(3);
    };
    ASSERT_EQ(form.ShowModal(), 3);
    ASSERT_NE(placed.left, placed.top);
    EXPECT_EQ(form.STX, placed.left);
    EXPECT_EQ(form.STY, placed.top);
    EXPECT_TRUE(EqualRect(&afterResize, &placed));
}

TEST_F(DialogForm, TheRunningDialogCarriesIcon101AsItsSmallIcon) {
    LRESULT smallIcon = 0;
    steps = [&](HWND dialog) {
        smallIcon = SendMessageA(dialog, WM_GETICON, ICON_SMALL, 0);
        form.ModalResult(1);
    };
    ASSERT_EQ(form.ShowModal(), 1);
    HICON expected = LoadIconA(hInst, MAKEINTRESOURCEA(101));
    ASSERT_NE(expected, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(smallIcon), expected);
}

TEST_F(DialogForm, TheOwnerIsDisabledOnlyWhileTheDialogRuns) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                 nullptr, hInst, nullptr);
    ASSERT_NE(owner, nullptr);
    form.CreateDialogBox(owner, TEST_DIALOG);
    BOOL enabledWhileRunning = TRUE;
    steps = [&](HWND dialog) {
        enabledWhileRunning = IsWindowEnabled(owner);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
        form.ModalResult(1);
    };
    ASSERT_EQ(form.ShowModal(), 1);
    EXPECT_FALSE(enabledWhileRunning);
    EXPECT_TRUE(IsWindowEnabled(owner));
    DestroyWindow(owner);
}

TEST_F(DialogForm, AMissingTemplateFailsWithoutCallingAnyHandler) {
    form.CreateDialogBox(nullptr, MISSING_DIALOG);
    EXPECT_EQ(form.ShowModal(), -1);
    EXPECT_TRUE(log.empty());
}

TEST_F(DialogForm, ModalResultWithoutARunningDialogDoesNothing) {
    form.ModalResult(5);
    steps = [&](HWND) { form.ModalResult(6); };
    EXPECT_EQ(form.ShowModal(), 6);
    form.ModalResult(5);
    EXPECT_EQ(Significant(log), kOneRun);
}

}  // namespace

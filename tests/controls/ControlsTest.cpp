// Buttons and scroll bars on a live form: clicks, keys passed on to the form,
// caption, enabled state, thumb position and fonts.
#include <gtest/gtest.h>

#include <memory>

#include "ButtonClass.h"
#include "ControlsTestSupport.h"
#include "TScrollBar.h"
#include "hinstance.h"

namespace {

int ButtonParam[4] = {20, 20, 80, 24};
int OtherButtonParam[4] = {110, 20, 80, 24};
int ScrollBarParam[4] = {20, 60, 300, 18};

using ButtonSpy = ClassProcSpy<&ButtonProcAddr>;
using ScrollBarSpy = ClassProcSpy<&ScrollBarProcAddr>;

class Controls : public testing::Test {
protected:
    ControlHostForm form;

    void SetUp() override {
        trace.clear();
        form.Open();
        ASSERT_NE(form.hwnd, nullptr);
    }

    std::unique_ptr<Button> MakeButton(const char* caption, int* size = ButtonParam) {
        return std::make_unique<Button>(form.hwnd, hInst, caption, size);
    }
    std::unique_ptr<TScrollBar> MakeScrollBar() {
        return std::make_unique<TScrollBar>(form.hwnd, hInst, "", ScrollBarParam);
    }

    // Types a key and a character into `control` with the focus on it, as
    // the message loop would deliver them: the form must see each one before
    // the control's own procedure does.
    static void ExpectKeysReachTheFormFirst(HWND control, WPARAM key, WPARAM ch) {
        SetFocus(control);
        ASSERT_EQ(GetFocus(), control);
        trace.clear();
        SendMessageA(control, WM_KEYDOWN, key, 1);
        SendMessageA(control, WM_CHAR, ch, 1);
        EXPECT_EQ(trace, (std::vector<Seen>{{Seen::Form, WM_KEYDOWN, key},
                                            {Seen::Control, WM_KEYDOWN, key},
                                            {Seen::Form, WM_CHAR, ch},
                                            {Seen::Control, WM_CHAR, ch}}));
    }
};

TEST_F(Controls, ButtonIsCreatedWithItsGeometryCaptionAndEnabled) {
    auto button = MakeButton("START");

    ASSERT_NE(button->ButtonHwnd, nullptr);
    EXPECT_EQ(GetParent(button->ButtonHwnd), form.hwnd);
    EXPECT_EQ(GetDlgCtrlID(button->ButtonHwnd), button->ID);
    EXPECT_EQ(WindowText(button->ButtonHwnd), "START");
    EXPECT_STREQ(button->CaptionText.c_str(), "START");
    EXPECT_TRUE(button->Enabled);
    EXPECT_TRUE(IsWindowEnabled(button->ButtonHwnd));
    EXPECT_EQ(button->hFont, nullptr);

    RECT r;
    GetWindowRect(button->ButtonHwnd, &r);
    MapWindowPoints(nullptr, form.hwnd, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, 20);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(r.right - r.left, 80);
    EXPECT_EQ(r.bottom - r.top, 24);
}

TEST_F(Controls, ClickReachesTheFormWithTheClickedButtonsId) {
    auto start = MakeButton("START");
    auto stop = MakeButton("STOP", OtherButtonParam);

    SendMessageA(stop->ButtonHwnd, BM_CLICK, 0, 0);
    DrainQueue();

    EXPECT_EQ(form.commands, std::vector<WORD>{static_cast<WORD>(stop->ID)});
}

TEST_F(Controls, KeysOnAFocusedButtonReachTheFormFirstThenTheButton) {
    auto button = MakeButton("START");
    ButtonSpy spy;
    ExpectKeysReachTheFormFirst(button->ButtonHwnd, VK_RIGHT, 'x');
}

TEST_F(Controls, TypedSpaceOnAFocusedButtonReachesTheFormAndStillPressesTheButton) {
    auto button = MakeButton("START");
    SetForegroundWindow(form.hwnd);
    SetFocus(button->ButtonHwnd);
    ASSERT_EQ(GetFocus(), button->ButtonHwnd);

    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = VK_SPACE;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);

    ASSERT_TRUE(PumpUntil([&] { return !form.commands.empty(); }));
    EXPECT_EQ(form.commands, std::vector<WORD>{static_cast<WORD>(button->ID)});
    EXPECT_EQ(trace,
              (std::vector<Seen>{{Seen::Form, WM_KEYDOWN, VK_SPACE}, {Seen::Form, WM_CHAR, ' '}}));
}

TEST_F(Controls, KeysOnAFocusedScrollBarReachTheFormFirstThenTheScrollBar) {
    auto bar = MakeScrollBar();
    bar->SetPos(50);
    ScrollBarSpy spy;
    ExpectKeysReachTheFormFirst(bar->ScrollBarHwnd, VK_LEFT, 'q');
    // The bar only reports the key to its parent; the program moves the thumb.
    EXPECT_EQ(bar->GetPos(), 50);
}

TEST_F(Controls, ScrollBarPassesEnterTabAndEscapeOnWhenAskedForItsDialogCode) {
    auto bar = MakeScrollBar();
    auto button = MakeButton("START");
    ScrollBarSpy spy;

    for (WPARAM key : {VK_RETURN, VK_TAB, VK_ESCAPE}) {
        trace.clear();
        LRESULT code = SendMessageA(bar->ScrollBarHwnd, WM_GETDLGCODE, key, 0);
        EXPECT_EQ(trace, (std::vector<Seen>{{Seen::Form, WM_KEYDOWN, key},
                                            {Seen::Control, WM_GETDLGCODE, key}}))
            << "key " << key;
        EXPECT_TRUE(code & DLGC_WANTARROWS) << "the class procedure's answer is returned";
    }

    // Other keys, and any key asked of a button, are not passed on.
    trace.clear();
    SendMessageA(bar->ScrollBarHwnd, WM_GETDLGCODE, VK_LEFT, 0);
    SendMessageA(bar->ScrollBarHwnd, WM_GETDLGCODE, 'A', 0);
    SendMessageA(button->ButtonHwnd, WM_GETDLGCODE, VK_RETURN, 0);
    EXPECT_EQ(trace, (std::vector<Seen>{{Seen::Control, WM_GETDLGCODE, VK_LEFT},
                                        {Seen::Control, WM_GETDLGCODE, 'A'}}));
}

TEST_F(Controls, CaptionAssignmentUpdatesTextAndWindowAndReadingAsksNoWindow) {
    auto button = MakeButton("START");

    AnsiString& stored = (button->Caption = "PLAY");
    EXPECT_EQ(&stored, &button->CaptionText);
    EXPECT_STREQ(button->CaptionText.c_str(), "PLAY");
    EXPECT_EQ(WindowText(button->ButtonHwnd), "PLAY");

    // Reading gives the caption as last set, whatever the window shows now.
    SetWindowTextA(button->ButtonHwnd, "changed elsewhere");
    AnsiString read = button->Caption;
    EXPECT_STREQ(read.c_str(), "PLAY");
}

TEST_F(Controls, EnabledAssignmentSwitchesTheWindow) {
    auto button = MakeButton("START");

    button->Enabled = false;
    EXPECT_FALSE(button->Enabled);
    EXPECT_FALSE(IsWindowEnabled(button->ButtonHwnd));

    bool& stored = (button->Enabled = true);
    EXPECT_EQ(&stored, &button->EnabledState);
    EXPECT_TRUE(IsWindowEnabled(button->ButtonHwnd));
}

TEST_F(Controls, ScrollBarRunsFromZeroToHundred) {
    auto bar = MakeScrollBar();
    ASSERT_NE(bar->ScrollBarHwnd, nullptr);

    int low = -1, high = -1;
    GetScrollRange(bar->ScrollBarHwnd, SB_CTL, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 100);

    EXPECT_EQ(bar->GetPos(), 0);
    bar->SetPos(37);
    EXPECT_EQ(bar->GetPos(), 37);
    bar->SetPos(100);
    EXPECT_EQ(bar->GetPos(), 100);
    bar->SetPos(250);  // the platform keeps the thumb inside the range
    EXPECT_EQ(bar->GetPos(), 100);
}

TEST_F(Controls, DefaultFontIsBoldTahomaAndEachReplacedFontIsReleased) {
    auto button = MakeButton("START");

    button->SetDefFont();
    HFONT first = button->hFont;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button->ButtonHwnd, WM_GETFONT, 0, 0)), first);
    LOGFONTA lf = {};
    ASSERT_NE(GetObjectA(first, sizeof lf, &lf), 0);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfHeight, -11);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);

    button->SetDefFont();
    HFONT second = button->hFont;
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(button->ButtonHwnd, WM_GETFONT, 0, 0)), second);
    EXPECT_EQ(GetObjectType(first), 0u) << "the replaced font was released";

    // The wrapper may go before its window does (as in a dialog form): the
    // window is given the default font back rather than keep a deleted one.
    HWND window = button->ButtonHwnd;
    button.reset();
    EXPECT_EQ(GetObjectType(second), 0u) << "the button's font went with it";
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(SendMessageA(window, WM_GETFONT, 0, 0), 0);
}

// A control whose window could not be made (here: a child without a parent)
// still uses up its number, and must not spoil the saved class procedure that
// the working controls hand their messages to.
TEST_F(Controls, FailedCreationLeavesEarlierControlsWorking) {
    auto button = MakeButton("START");
    auto bar = MakeScrollBar();

    Button orphanButton(nullptr, hInst, "ORPHAN", OtherButtonParam);
    TScrollBar orphanBar(nullptr, hInst, "", ScrollBarParam);
    EXPECT_EQ(orphanButton.ButtonHwnd, nullptr);
    EXPECT_EQ(orphanBar.ScrollBarHwnd, nullptr);
    EXPECT_EQ(orphanButton.ID, bar->ID + 1);
    EXPECT_EQ(orphanBar.ID, bar->ID + 2);

    SendMessageA(button->ButtonHwnd, BM_CLICK, 0, 0);
    DrainQueue();
    EXPECT_EQ(form.commands, std::vector<WORD>{static_cast<WORD>(button->ID)});

    bar->SetPos(64);
    EXPECT_EQ(bar->GetPos(), 64);
    EXPECT_TRUE(SendMessageA(bar->ScrollBarHwnd, WM_GETDLGCODE, VK_RETURN, 0) & DLGC_WANTARROWS);
    EXPECT_EQ(trace, (std::vector<Seen>{{Seen::Form, WM_KEYDOWN, VK_RETURN}}));
}

}  // namespace

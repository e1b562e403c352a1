// Registering a form's class, creating its window, attaching the form, and
// what becomes of the window when the form goes away first.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "MessageBoxCapture.h"
#include "RecordingForm.h"
#include "form_resources.h"
#include "hinstance.h"

namespace {

// The size rule's period, and a pause longer than it, so that the next step
// starts a new one.
constexpr DWORD kPeriodMs = 1000;
constexpr DWORD kFreshPeriodMs = 1100;
// Longer than a move after the rule restored a maximized window is taken for
// the window manager's answer to that restore.
constexpr DWORD kRestoreAnsweredMs = 2100;

HICON ResourceIcon() {
    return LoadIconA(hInst, MAKEINTRESOURCEA(101));
}

::testing::AssertionResult HasRect(HWND window, int x, int y, int wid, int hei) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.left == x && rect.top == y && rect.right - rect.left == wid &&
        rect.bottom - rect.top == hei) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "window at (" << rect.left << ", " << rect.top << ") size " << rect.right - rect.left
           << " x " << rect.bottom - rect.top << ", expected (" << x << ", " << y << ") size "
           << wid << " x " << hei;
}

// Destroys the form's window (which posts the quit message) and empties the
// queue again.
void DestroyWindowOf(FormClass& form) {
    if (form.hwnd != nullptr) {
        DestroyWindow(form.hwnd);
    }
    DrainQueue();
}

TEST(FormClassState, ConstructorLeavesEveryFieldDefined) {
    CallLog log;
    RecordingForm form(log);
    EXPECT_EQ(form.ChildOfMainForm, 0);
    EXPECT_EQ(form.STX, -1);
    EXPECT_EQ(form.STY, -1);
    EXPECT_EQ(form.WID, -1);
    EXPECT_EQ(form.HEI, -1);
    EXPECT_EQ(form.hwnd, nullptr);
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(form.DialogHWND, nullptr);
    EXPECT_EQ(form.DialogOwner, nullptr);
    EXPECT_EQ(form.DialogResource, 0);
    EXPECT_TRUE(log.empty());
}

TEST(FormCreation, CreateRegistersTheClassAndShowsAMainForm) {
    CallLog log;
    RecordingForm form(log);
    form.Create("Form create test", 320, 240);
    ASSERT_NE(form.hwnd, nullptr);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(hInst, "Form create test", &wc));
    EXPECT_EQ(wc.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(wc.lpfnWndProc, &FormClass::InitialWndProc);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.hInstance, hInst);
    EXPECT_EQ(wc.hIcon, LoadIconA(nullptr, IDI_APPLICATION));
    EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5)));
    EXPECT_EQ(wc.lpszMenuName, nullptr);
    EXPECT_EQ(GetMenu(form.hwnd), nullptr);

    // Attached at creation: the form in the user data, messages through
    // the attached procedure.
    EXPECT_EQ(GetWindowLongPtrA(form.hwnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&form));
    EXPECT_EQ(GetWindowLongPtrA(form.hwnd, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(&FormClass::StaticWndProc));

    // BuildForm ran inside creation with the new window, before hwnd was set.
    EXPECT_EQ(Significant(log), CallLog{Call("BuildForm")});
    EXPECT_EQ(form.builtWindow, form.hwnd);
    EXPECT_EQ(form.builtInstance, hInst);
    EXPECT_EQ(form.hwndDuringBuild, nullptr);

    EXPECT_EQ(WindowText(form.hwnd), "Form create test");
    form.Title("Another title");
    EXPECT_EQ(WindowText(form.hwnd), "Another title");
    EXPECT_EQ(GetWindowLongA(form.hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_TRUE(IsWindowVisible(form.hwnd));
    EXPECT_TRUE(form.Visible);
    EXPECT_EQ(form.ChildOfMainForm, 0);

    // The first size message put it at (-1, -1), not where the system chose.
    EXPECT_EQ(form.STX, -1);
    EXPECT_EQ(form.STY, -1);
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));

    DestroyWindowOf(form);
}

TEST(FormCreation, CreateHiddenMakesAHiddenSecondaryForm) {
    CallLog log;
    RecordingForm form(log);
    form.CreateHidden("Form hidden test", 300, 200);
    ASSERT_NE(form.hwnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(form.hwnd));
    EXPECT_FALSE(form.Visible);
    EXPECT_EQ(form.ChildOfMainForm, 1);
    EXPECT_EQ(Significant(log), CallLog{Call("BuildForm")});
    // Its first size message comes with its first showing.
    form.Show();
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 300, 200));
    DestroyWindowOf(form);
}

TEST(FormCreation, EveryLaterSizeChangeIsUndone) {
    CallLog log;
    RecordingForm form(log);
    form.Create("Form geometry test", 320, 240);
    ASSERT_NE(form.hwnd, nullptr);

    MoveWindow(form.hwnd, 100, 120, 500, 400, TRUE);
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));

    // Moving without resizing sends no size message, so it stays until the
    // next one.
    SetWindowPos(form.hwnd, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(HasRect(form.hwnd, 50, 60, 320, 240));
    SendMessageA(form.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));

    // A minimized window stays where the platform keeps minimized windows,
    // not at the form's corner: neither its own size messages nor the second
    // step of one that came before it move it. Its restore brings it back.
    Sleep(kFreshPeriodMs);  // so that this size message's second step is queued
    SendMessageA(form.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(10, 10));
    ShowWindow(form.hwnd, SW_MINIMIZE);
    RECT minimized;
    GetWindowRect(form.hwnd, &minimized);
    EXPECT_FALSE(minimized.left == -1 && minimized.top == -1);
    SendMessageA(form.hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    DrainQueue();
    EXPECT_TRUE(IsIconic(form.hwnd));
    EXPECT_TRUE(HasRect(form.hwnd, minimized.left, minimized.top, minimized.right - minimized.left,
                        minimized.bottom - minimized.top));
    ShowWindow(form.hwnd, SW_RESTORE);
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));

    // A maximized window gets its rectangle at once, and from the queue it
    // is restored, so that it is no longer marked maximized either.
    ShowWindow(form.hwnd, SW_MAXIMIZE);
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));
    DrainQueue();
    EXPECT_FALSE(IsZoomed(form.hwnd));
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));
    // A window manager's answer to that restore, a place of its own, may come
    // after the rule's move: a move without a size change right after the
    // restore is undone. Later, a move is kept again.
    SetWindowPos(form.hwnd, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DrainQueue();
    EXPECT_TRUE(HasRect(form.hwnd, -1, -1, 320, 240));
    Sleep(kRestoreAnsweredMs);
    SetWindowPos(form.hwnd, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DrainQueue();
    EXPECT_TRUE(HasRect(form.hwnd, 50, 60, 320, 240));

    // The restore from the queue leaves other windows alone: a window in
    // front keeps the activation and the focus, and a form hidden meanwhile
    // stays hidden.
    Sleep(kFreshPeriodMs);
    HWND front = CreateWindowExA(0, "STATIC", "in front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 400,
                                 300, 200, 100, nullptr, nullptr, hInst, nullptr);
    ShowWindow(form.hwnd, SW_MAXIMIZE);
    SetForegroundWindow(front);
    SetFocus(front);
    DrainQueue();
    EXPECT_FALSE(IsZoomed(form.hwnd));
    EXPECT_EQ(GetForegroundWindow(), front);
    EXPECT_EQ(GetActiveWindow(), front);
    EXPECT_EQ(GetFocus(), front);
    ShowWindow(form.hwnd, SW_MAXIMIZE);
    form.Hide();
    DrainQueue();
    EXPECT_FALSE(IsWindowVisible(form.hwnd));
    DestroyWindow(front);
    form.Show();
    ShowWindow(form.hwnd, SW_RESTORE);

    // Over time: the second step applies at most 8 times a period (1000 ms).
    // Each period here starts with size messages of one step each (a
    // minimized window takes none, its restore one) before the window is
    // maximized, so that the restore from the queue would be step `steps` + 1
    // of the period, even half a period later. After a period in which it
    // gave way, it applies again. A period is what the form's clock saw: a
    // row whose steps took a whole period (this thread held back on a busy
    // machine) proves nothing and is run again.
    const struct {
        bool minimized;
        int steps;
        DWORD pauseMs;  // before the window is maximized
        bool restored;
    } periods[] = {{true, 7, 0, true}, {false, 8, kPeriodMs / 2, false}, {false, 0, 0, true}};
    for (const auto& period : periods) {
        SCOPED_TRACE(period.steps);
        BOOL restored = FALSE;
        for (DWORD start = 0, attempt = 0; attempt == 0 || GetTickCount() - start >= kPeriodMs;) {
            ASSERT_LT(attempt++, 5u) << "every attempt took a whole period";
            Sleep(kFreshPeriodMs);
            start = GetTickCount();
            if (period.minimized) {
                ShowWindow(form.hwnd, SW_MINIMIZE);
                ShowWindow(form.hwnd, SW_RESTORE);
            }
            for (int i = period.minimized ? 1 : 0; i < period.steps; ++i) {
                SendMessageA(form.hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 240));
            }
            DrainQueue();  // their own second steps, before there is anything to restore
            Sleep(period.pauseMs);
            ShowWindow(form.hwnd, SW_MAXIMIZE);
            DrainQueue();
            restored = !IsZoomed(form.hwnd);
            ShowWindow(form.hwnd, SW_RESTORE);
            DrainQueue();
        }
        EXPECT_EQ(restored != FALSE, period.restored);
    }
    DestroyWindowOf(form);
}

struct SpecialMode {
    int mode;
    bool withMenu;
    bool mainForm;
};

class CreateSpecialModes : public ::testing::TestWithParam<SpecialMode> {};

TEST_P(CreateSpecialModes, IconMenuAndVisibilityFollowTheMode) {
    const SpecialMode expected = GetParam();
    const std::string name = "Form special mode " + std::to_string(expected.mode);
    CallLog log;
    RecordingForm form(log);
    form.CreateSpecial(name.c_str(), 40, 50, 330, 260, expected.mode);
    ASSERT_NE(form.hwnd, nullptr);

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    ASSERT_TRUE(GetClassInfoExA(hInst, name.c_str(), &wc));
    ASSERT_NE(ResourceIcon(), nullptr);
    EXPECT_EQ(wc.hIcon, ResourceIcon());

    HMENU menu = GetMenu(form.hwnd);
    if (expected.withMenu) {
        ASSERT_NE(menu, nullptr);
        char caption[32] = {};
        GetMenuStringA(menu, 0, caption, sizeof(caption), MF_BYPOSITION);
        EXPECT_STREQ(caption, "&Test");  // menu 100, not "ATOM"
    } else {
        EXPECT_EQ(menu, nullptr);
    }

    EXPECT_EQ(form.Visible, expected.mainForm);
    EXPECT_EQ(IsWindowVisible(form.hwnd) != FALSE, expected.mainForm);
    EXPECT_EQ(form.ChildOfMainForm, expected.mainForm ? 0 : 1);
    EXPECT_EQ(Significant(log), CallLog{Call("BuildForm")});
    EXPECT_EQ(form.STX, 40);
    EXPECT_EQ(form.STY, 50);
    EXPECT_TRUE(HasRect(form.hwnd, 40, 50, 330, 260));
    DestroyWindowOf(form);
}

INSTANTIATE_TEST_SUITE_P(FormCreation, CreateSpecialModes,
                         ::testing::Values(SpecialMode{1, true, true}, SpecialMode{2, false, true},
                                           SpecialMode{3, true, false},
                                           SpecialMode{4, false, false}));

TEST(FormCreation, CreateSpecialWithAnyOtherModeMakesNoClassAndNoWindow) {
    for (int mode : {0, 5, -1}) {
        const std::string name = "Form special unknown " + std::to_string(mode);
        CallLog log;
        RecordingForm form(log);
        form.CreateSpecial(name.c_str(), 10, 20, 200, 100, mode);
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        EXPECT_FALSE(GetClassInfoExA(hInst, name.c_str(), &wc)) << "mode " << mode;
        EXPECT_EQ(form.hwnd, nullptr);
        EXPECT_FALSE(form.Visible);
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(form.STX, 10);
        EXPECT_EQ(form.HEI, 100);
    }
}

TEST(FormCreation, ASecondFormWithTheSameNameReportsAndHasNoWindow) {
    CallLog firstLog;
    RecordingForm first(firstLog);
    first.CreateHidden("Form duplicate test", 200, 100);
    ASSERT_NE(first.hwnd, nullptr);

    const std::function<void(FormClass&)> attempts[] = {
        [](FormClass& f) { f.Create("Form duplicate test", 200, 100); },
        [](FormClass& f) { f.CreateHidden("Form duplicate test", 200, 100); },
        [](FormClass& f) { f.CreateSpecial("Form duplicate test", 0, 0, 200, 100, 1); }};
    for (int attempt = 0; attempt < 3; ++attempt) {
        CallLog log;
        RecordingForm second(log);
        MessageBoxCapture boxes;
        attempts[attempt](second);
        const CapturedBox reported{"ERROR", "Error registering class", {IDOK}, MB_ICONWARNING};
        EXPECT_EQ(boxes.boxes(), std::vector<CapturedBox>{reported}) << "attempt " << attempt;
        EXPECT_EQ(second.hwnd, nullptr);
        EXPECT_TRUE(log.empty());
    }
    DestroyWindowOf(first);
}

// A window that no form handles: linked to nothing, no resize is undone,
// and closing it lets the default procedure destroy it without a quit
// message.
void ExpectDefaultWindowHandling(HWND window) {
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 0);
    SendMessageA(window, WM_COMMAND, 5, 0);
    MoveWindow(window, 60, 70, 250, 180, TRUE);
    EXPECT_TRUE(HasRect(window, 60, 70, 250, 180));
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(DrainQueue().empty());
}

TEST(FormLifetime, ADeletedFormLeavesItsWindowToTheDefaultProcedure) {
    CallLog log;
    auto form = std::make_unique<RecordingForm>(log);
    form->CreateSpecial("Form deleted test", 30, 30, 200, 150, 4);
    HWND window = form->hwnd;
    ASSERT_NE(window, nullptr);
    form.reset();
    log.clear();

    // The window lives on, and its messages no longer reach the deleted
    // form: no handler runs.
    ASSERT_TRUE(IsWindow(window));
    SendMessageA(window, WM_USER, 1, 2);
    ExpectDefaultWindowHandling(window);
    EXPECT_TRUE(log.empty());
}

TEST(FormLifetime, AWindowOrDialogMadeWithoutAFormGetsTheDefaultHandling) {
    CallLog log;
    RecordingForm form(log);
    form.CreateHidden("Form formless test", 200, 100);
    ASSERT_NE(form.hwnd, nullptr);
    log.clear();

    // A window of the form's class, created without a form: a plain window.
    HWND plain = CreateWindowExA(0, "Form formless test", "plain", WS_OVERLAPPEDWINDOW, 10, 20, 200,
                                 150, nullptr, nullptr, hInst, nullptr);
    ASSERT_NE(plain, nullptr);
    ExpectDefaultWindowHandling(plain);

    // A dialog run on the forms' dialog procedure without a form.
    HWND dialog = CreateDialogParamA(hInst, MAKEINTRESOURCEA(TEST_DIALOG), nullptr,
                                     &FormClass::InitialDialogFunc, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(dialog, GWLP_USERDATA), 0);
    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    SendMessageA(dialog, WM_CLOSE, 0, 0);
    DrainQueue();
    EXPECT_TRUE(DestroyWindow(dialog));

    EXPECT_TRUE(log.empty());
    DestroyWindowOf(form);
}

}  // namespace

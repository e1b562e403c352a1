// The capture every suite uses to see reported failures: what it records of
// a box, and that it answers with the button asked for.
#include <gtest/gtest.h>

#include <cstddef>

#include "MessageBoxCapture.h"

namespace {

// Closes its dialog by itself a moment after it appears.
INT_PTR CALLBACK SelfClosingDialog(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) {
        SetTimer(dialog, 1, 200, nullptr);
        return TRUE;
    }
    if (message == WM_TIMER) {
        EndDialog(dialog, 42);
        return TRUE;
    }
    return FALSE;
}

TEST(MessageBoxCapture, RecordsCaptionTextButtonsAndIcon) {
    MessageBoxCapture boxes;
    MessageBoxA(nullptr, "Something failed", "Unit error", MB_ICONERROR);
    MessageBoxA(nullptr, "Go on?", "Question", MB_YESNOCANCEL | MB_ICONQUESTION);
    MessageBoxA(nullptr, "Careful", "Warning", MB_OKCANCEL | MB_ICONWARNING);
    MessageBoxA(nullptr, "Note", "Info", MB_ICONINFORMATION);
    MessageBoxA(nullptr, "Plain", "Message", MB_OK);

    EXPECT_EQ(boxes.boxes(), (std::vector<CapturedBox>{
                                 {"Unit error", "Something failed", {IDOK}, MB_ICONERROR},
                                 {"Question", "Go on?", {IDYES, IDNO, IDCANCEL}, MB_ICONQUESTION},
                                 {"Warning", "Careful", {IDOK, IDCANCEL}, MB_ICONWARNING},
                                 {"Info", "Note", {IDOK}, MB_ICONINFORMATION},
                                 {"Message", "Plain", {IDOK}, 0},
                             }));

    boxes.clear();
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(MessageBoxCapture, RecordsTheOwnerWindow) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    {
        MessageBoxCapture boxes;
        MessageBoxA(owner, "owned", "Message", MB_OK);
        ASSERT_EQ(boxes.count(), 1u);
        EXPECT_EQ(boxes[0].owner, owner);
    }
    DestroyWindow(owner);
}

TEST(MessageBoxCapture, PressesTheDefaultButtonUnlessToldOtherwise) {
    MessageBoxCapture boxes;
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL);

    boxes.answerWith(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_YESNOCANCEL), IDNO);

    // A button the box lacks cannot be pressed; its default is taken instead.
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_OKCANCEL), IDOK);
    EXPECT_EQ(boxes.count(), 6u);
}

TEST(MessageBoxCapture, ConstructorAnswerApplies) {
    MessageBoxCapture boxes(IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "q", "Question", MB_OKCANCEL), IDCANCEL);
}

TEST(MessageBoxCapture, InnermostCaptureRecordsAndAnswers) {
    MessageBoxCapture outer(IDYES);
    {
        MessageBoxCapture inner(IDNO);
        EXPECT_EQ(MessageBoxA(nullptr, "inner", "Question", MB_YESNO), IDNO);
        EXPECT_EQ(inner.count(), 1u);
    }
    EXPECT_EQ(outer.count(), 0u);
    EXPECT_EQ(MessageBoxA(nullptr, "outer", "Question", MB_YESNO), IDYES);
    ASSERT_EQ(outer.count(), 1u);
    EXPECT_EQ(outer[0].text, "outer");
}

TEST(MessageBoxCapture, LeavesDialogsOfTheProgramAlone) {
    // A dialog from the executable's own template, with a label whose id is
    // 0xFFFF as in most templates, closed by the dialog itself after the
    // capture has had every chance to touch it.
    struct alignas(4) Template {  // every part must start on a DWORD boundary
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
        DLGITEMTEMPLATE label;
        WORD labelClass[2], labelTitle[3], creationData;
    } resource = {};
    static_assert(offsetof(Template, label) % 4 == 0, "item template misaligned");
    resource.dialog.style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    resource.dialog.cdit = 1;
    resource.dialog.cx = 100;
    resource.dialog.cy = 50;
    resource.label.style = WS_CHILD | WS_VISIBLE | SS_LEFT;
    resource.label.cx = 80;
    resource.label.cy = 10;
    resource.label.id = 0xFFFF;
    resource.labelClass[0] = 0xFFFF;
    resource.labelClass[1] = 0x0082;  // the Static class
    resource.labelTitle[0] = L'h';
    resource.labelTitle[1] = L'i';

    MessageBoxCapture boxes;
    const INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &resource.dialog,
                                                   nullptr, SelfClosingDialog, 0);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace

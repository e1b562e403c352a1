#pragma once
// Sees the modal message boxes shown on the current thread while an object
// of this class lives, records each one and dismisses it, so that tests can
// assert on reported failures without anyone clicking.
//
// How it works (checked under Wine 8.0): a thread-local WH_CBT hook sees
// HCBT_ACTIVATE of every dialog of class "#32770" created on this thread.
// At that moment the box is fully set up but its modal loop has not run
// yet; the hook reads it and posts WM_COMMAND/BN_CLICKED of the chosen
// button, which the box's own loop then handles as a click.
//   - text:    the static control 0xFFFF;
//   - buttons: the visible push buttons, left to right as shown;
//   - icon:    the handle of the box's SS_ICON static (STM_GETICON) equals the
//              shared handle LoadIcon(NULL, IDI_...) returns for that icon;
//   - owner:   GetWindow(box, GW_OWNER).
// Boxes shown by other threads are not seen. Captures may nest; a box is
// recorded by the innermost one only. Dialogs of class "#32770" that are
// not message boxes (DialogBox templates) are left alone: only dialogs
// that hold the 0xFFFF text static and at least one push button count.
//
//   MessageBoxCapture boxes;            // answers every box with its default
//   DoSomethingThatFails();
//   ASSERT_EQ(boxes.count(), 1u);
//   EXPECT_EQ(boxes[0].caption, "Bitmap error");
//   EXPECT_EQ(boxes.boxes(), std::vector<CapturedBox>{ErrorBox("Bitmap error", "...")});
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

struct CapturedBox {
    std::string caption;
    std::string text;
    std::vector<int> buttons;  // control ids of the push buttons present (IDOK, IDYES, ...)
    UINT icon = 0;             // MB_ICONERROR, MB_ICONWARNING, MB_ICONINFORMATION,
                               // MB_ICONQUESTION, or 0 for none
    HWND owner = nullptr;      // the box's owner window
};

// Boxes compare whole, and a failed comparison prints each box whole.
inline bool operator==(const CapturedBox& a, const CapturedBox& b) {
    return a.caption == b.caption && a.text == b.text && a.buttons == b.buttons &&
           a.icon == b.icon && a.owner == b.owner;
}

inline void PrintTo(const CapturedBox& box, std::ostream* out) {
    *out << "{caption \"" << box.caption << "\", text \"" << box.text << "\", buttons";
    for (int button : box.buttons) {
        *out << ' ' << button;
    }
    *out << ", icon 0x" << std::hex << box.icon << std::dec << ", owner " << box.owner << '}';
}

// The box in which the framework reports a failure: OK alone, the error icon.
inline CapturedBox ErrorBox(const std::string& caption, const std::string& text,
                            HWND owner = nullptr) {
    return {caption, text, {IDOK}, MB_ICONERROR, owner};
}

class MessageBoxCapture {
public:
    // `answer` is the button id pressed on each box (IDOK, IDCANCEL, IDYES,
    // IDNO, ...); 0 presses the box's default button.
    explicit MessageBoxCapture(int answer = 0);
    ~MessageBoxCapture();
    MessageBoxCapture(const MessageBoxCapture&) = delete;
    MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

    void answerWith(int answer);
    size_t count() const;
    const CapturedBox& operator[](size_t i) const;
    const std::vector<CapturedBox>& boxes() const;
    void clear();

private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    void capture(HWND box);

    int answer_;
    std::vector<CapturedBox> boxes_;
    HHOOK hook_ = nullptr;
    MessageBoxCapture* enclosing_ = nullptr;  // the capture active before this one
};

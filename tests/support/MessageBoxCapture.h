#pragma once
// Sees the modal message boxes shown on the current thread while an object
// of this class lives, records each one and dismisses it, so that tests can
// assert on reported failures without anyone clicking.
//
//   MessageBoxCapture boxes;            // answers every box with its default
//   DoSomethingThatFails();
//   ASSERT_EQ(boxes.count(), 1u);
//   EXPECT_EQ(boxes[0].caption, "Bitmap error");
#include <windows.h>

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
};

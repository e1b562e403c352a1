#include "MessageBoxCapture.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "DriverBasics.h"

namespace {

// The capture that records boxes shown on this thread, the innermost first.
thread_local MessageBoxCapture* activeCapture = nullptr;

// Boxes read at activation and waiting for their click. A box chooses its
// default button only once its modal loop runs, so the click is decided
// from a zero-delay thread timer that fires inside that loop.
struct PendingClick {
    HWND box;
    int answer;  // 0: the default button
};
thread_local std::vector<PendingClick> pendingClicks;

// Marks a box as seen, so that the hooks of enclosing captures and a second
// activation of the same box leave it alone. The mark dies with the box.
const char* const SeenProperty = "MessageBoxCapture.seen";

constexpr int TextControlId = 0xFFFF;

bool HasClass(HWND window, const char* name) {
    char className[64] = {};
    GetClassNameA(window, className, sizeof(className));
    return lstrcmpiA(className, name) == 0;
}

// Dialogs made from the program's own templates also have the class
// "#32770" (and often a static with the id 0xFFFF), but come from the
// executable's module; a message box does not.
bool IsMessageBox(HWND window) {
    if (!HasClass(window, "#32770")) {
        return false;
    }
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    return instance != GetModuleHandleA(nullptr) && GetDlgItem(window, TextControlId) != nullptr;
}

bool IsPushButton(HWND control) {
    if (!HasClass(control, "Button")) {
        return false;
    }
    // The box is still hidden when it activates, so the child's own style
    // tells whether it is shown, not IsWindowVisible.
    const LONG_PTR style = GetWindowLongPtrA(control, GWL_STYLE);
    const LONG_PTR type = style & BS_TYPEMASK;
    return (style & WS_VISIBLE) && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON);
}

std::vector<HWND> PushButtons(HWND box) {
    std::vector<HWND> buttons;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsPushButton(child)) {
            buttons.push_back(child);
        }
    }
    std::stable_sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra, rb;
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return buttons;
}

UINT IconShown(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrA(child, GWL_STYLE);
        if (!HasClass(child, "Static") || (style & SS_TYPEMASK) != SS_ICON) {
            continue;
        }
        const auto icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        if (!icon || !(style & WS_VISIBLE)) {
            return 0;
        }
        const std::pair<LPCSTR, UINT> known[] = {
            {IDI_HAND, MB_ICONERROR},
            {IDI_EXCLAMATION, MB_ICONWARNING},
            {IDI_ASTERISK, MB_ICONINFORMATION},
            {IDI_QUESTION, MB_ICONQUESTION},
        };
        for (const auto& [resource, flag] : known) {
            if (LoadIconA(nullptr, resource) == icon) {
                return flag;
            }
        }
        return 0;
    }
    return 0;
}

// The button to press: the requested one when the box has it, otherwise
// the box's default button (marked BS_DEFPUSHBUTTON once its loop runs, or
// holding the focus), otherwise its first button.
HWND ButtonToPress(HWND box, int answer) {
    const std::vector<HWND> buttons = PushButtons(box);
    if (buttons.empty()) {
        return nullptr;
    }
    for (HWND button : buttons) {
        if (answer != 0 && GetDlgCtrlID(button) == answer) {
            return button;
        }
    }
    for (HWND button : buttons) {
        if ((GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return button;
        }
    }
    const HWND focus = GetFocus();
    if (std::find(buttons.begin(), buttons.end(), focus) != buttons.end()) {
        return focus;
    }
    return buttons.front();
}

void Press(HWND box, int answer) {
    if (!IsWindow(box)) {
        return;
    }
    if (const HWND button = ButtonToPress(box, answer)) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }
}

void CALLBACK PressPendingButtons(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    std::vector<PendingClick> clicks;
    clicks.swap(pendingClicks);
    for (const PendingClick& click : clicks) {
        Press(click.box, click.answer);
    }
}

}  // namespace

MessageBoxCapture::MessageBoxCapture(int answer) : answer_(answer) {
    hook_ = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    if (!hook_) {
        throw std::runtime_error("MessageBoxCapture: SetWindowsHookEx failed");
    }
    enclosing_ = activeCapture;
    activeCapture = this;
}

MessageBoxCapture::~MessageBoxCapture() {
    UnhookWindowsHookEx(hook_);
    activeCapture = enclosing_;
}

void MessageBoxCapture::answerWith(int answer) {
    answer_ = answer;
}

size_t MessageBoxCapture::count() const {
    return boxes_.size();
}

const CapturedBox& MessageBoxCapture::operator[](size_t i) const {
    return boxes_.at(i);
}

const std::vector<CapturedBox>& MessageBoxCapture::boxes() const {
    return boxes_;
}

void MessageBoxCapture::clear() {
    boxes_.clear();
}

LRESULT CALLBACK MessageBoxCapture::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && activeCapture) {
        const HWND window = reinterpret_cast<HWND>(wParam);
        if (!GetPropA(window, SeenProperty) && IsMessageBox(window)) {
            SetPropA(window, SeenProperty, reinterpret_cast<HANDLE>(1));
            activeCapture->capture(window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxCapture::capture(HWND box) {
    CapturedBox seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(GetDlgItem(box, TextControlId));
    for (HWND button : PushButtons(box)) {
        seen.buttons.push_back(GetDlgCtrlID(button));
    }
    seen.icon = IconShown(box);
    seen.owner = GetWindow(box, GW_OWNER);
    boxes_.push_back(std::move(seen));

    pendingClicks.push_back({box, answer_});
    if (!SetTimer(nullptr, 0, 0, PressPendingButtons)) {
        // Without a timer the default button cannot be told yet; pressing
        // now still closes the box rather than leaving the test hanging.
        pendingClicks.pop_back();
        Press(box, answer_);
    }
}

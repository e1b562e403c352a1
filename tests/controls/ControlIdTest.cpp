// Control identifiers come from one process-wide counter that is never
// reset, so this runs alone in its own executable, starting from a fresh
// count.
#include <gtest/gtest.h>

#include <memory>

#include "ButtonClass.h"
#include "ControlsTestSupport.h"
#include "TScrollBar.h"
#include "hinstance.h"

namespace {

int FirstButtonParam[4] = {20, 20, 80, 24};
int SecondButtonParam[4] = {110, 20, 80, 24};
int ScrollBarParam[4] = {20, 60, 300, 18};
int LateButtonParam[4] = {200, 20, 80, 24};

// Lays out its controls while its window is being created, as an
// application's form does.
class PanelForm : public ControlHostForm {
public:
    std::unique_ptr<Button> first, second, late;
    std::unique_ptr<TScrollBar> bar;

    PanelForm() { Open(); }

    void BuildForm(HWND Bhwnd, HINSTANCE BhInst) override {
        first = std::make_unique<Button>(Bhwnd, BhInst, "START", FirstButtonParam);
        second = std::make_unique<Button>(Bhwnd, BhInst, "STOP", SecondButtonParam);
        bar = std::make_unique<TScrollBar>(Bhwnd, BhInst, "", ScrollBarParam);
    }
};

TEST(ControlIdentifiers, NumberedInCreationOrderAcrossButtonsAndScrollBars) {
    ASSERT_EQ(IDord, 1);
    PanelForm form;
    ASSERT_NE(form.hwnd, nullptr);

    EXPECT_EQ(form.first->ID, 1);
    EXPECT_EQ(form.second->ID, 2);
    EXPECT_EQ(form.bar->ID, 3);
    EXPECT_EQ(GetDlgCtrlID(form.first->ButtonHwnd), 1);
    EXPECT_EQ(GetDlgCtrlID(form.second->ButtonHwnd), 2);
    EXPECT_EQ(GetDlgCtrlID(form.bar->ScrollBarHwnd), 0);  // the number is the wrapper's only

    // The number after the scroll bar's goes to the next button.
    form.late = std::make_unique<Button>(form.hwnd, hInst, "LATE", LateButtonParam);
    EXPECT_EQ(form.late->ID, 4);
    EXPECT_EQ(IDord, 5);

    // The form tells its buttons apart by the identifier in WM_COMMAND.
    SendMessageA(form.first->ButtonHwnd, BM_CLICK, 0, 0);
    SendMessageA(form.late->ButtonHwnd, BM_CLICK, 0, 0);
    DrainQueue();
    EXPECT_EQ(form.commands, (std::vector<WORD>{1, 4}));
}

}  // namespace

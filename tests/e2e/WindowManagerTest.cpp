// The program on a Linux desktop, where a window manager (openbox) manages
// Wine's windows: whatever the window manager does to the window's size, the
// window comes back to its rectangle, and keys still scroll the view. The
// script under-window-manager provides the desktop on a display of its own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramTest.h"
#include "WinePath.h"

namespace {

constexpr DWORD kHostCommandMs = 30000;
constexpr DWORD kWindowManagerMs = 15000;
// Longer than the period in which the program's size rule applies itself
// again at most 8 times.
constexpr DWORD kFreshPeriodMs = 1100;
// Longer than the program takes a move for the window manager's answer to
// its restore of a maximized window.
constexpr DWORD kRestoreAnsweredMs = 2500;

// Runs a shell command on the host, outside Wine; tells whether it
// succeeded in time, and gives what it printed. Wine starts a Unix program
// without waiting for it or passing its output on, so the command reports
// through files in the folder that under-window-manager gives.
bool RunOnHost(const std::string& command, std::string* output = nullptr) {
    const char* folder = std::getenv("WARBLE_HOST_FOLDER");
    if (folder == nullptr) {
        return false;
    }
    // A script of its own each time: the shell may still be reading the
    // last one after reporting its status.
    static int commands = 0;
    const std::string base = std::string(folder) + "/host-command-" + std::to_string(++commands);
    const std::string status = base + ".status";
    std::remove(WindowsPath(status).c_str());
    FILE* script = std::fopen(WindowsPath(base + ".sh").c_str(), "wb");
    if (script == nullptr) {
        return false;
    }
    // The status file appears whole, and only once the output is written.
    std::fprintf(script, "{ %s ; } >'%s.out' 2>&1\necho $? >'%s.part'\nmv '%s.part' '%s'\n",
                 command.c_str(), base.c_str(), status.c_str(), status.c_str(), status.c_str());
    std::fclose(script);

    std::string commandLine = "/bin/sh \"" + base + ".sh\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(WindowsPath("/bin/sh").c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!WaitFor([&] { return !ReadFileBytes(WindowsPath(status)).empty(); }, kHostCommandMs)) {
        return false;
    }
    if (output != nullptr) {
        const std::vector<unsigned char> printed = ReadFileBytes(WindowsPath(base + ".out"));
        output->assign(printed.begin(), printed.end());
    }
    const std::vector<unsigned char> code = ReadFileBytes(WindowsPath(status));
    return std::string(code.begin(), code.end()) == "0\n";
}

// Where the window manager shows the program's window and how large, as X
// sees it: what Wine tells the program may differ from it.
std::string ScreenGeometry() {
    std::string geometry;
    RunOnHost(std::string("xdotool search --name '^") + kProgramTitle + "$' getwindowgeometry",
              &geometry);
    return geometry;
}

// Keeps the program's window thread from running while it lives, so that
// the window manager's change is on screen before the program can answer it.
class HeldStill {
public:
    explicit HeldStill(HWND window)
        : thread_(
              OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr))) {
        if (thread_ != nullptr) {
            SuspendThread(thread_);
        }
    }
    ~HeldStill() {
        if (thread_ != nullptr) {
            ResumeThread(thread_);
            CloseHandle(thread_);
        }
    }
    bool held() const { return thread_ != nullptr; }

    HeldStill(const HeldStill&) = delete;
    HeldStill& operator=(const HeldStill&) = delete;

private:
    HANDLE thread_;
};

class WindowManagerTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start(ToneSample());
    }
};

TEST_F(WindowManagerTest, WindowKeepsItsRectangleAndKeysScroll) {
    // The window manager takes the window on a little after Wine shows it.
    std::string managed;
    ASSERT_TRUE(WaitFor(
        [&] {
            return RunOnHost("wmctrl -l", &managed) &&
                   managed.find(kProgramTitle) != std::string::npos;
        },
        kWindowManagerMs))
        << "the window manager does not manage the program's window: " << managed;
    const std::string original = ScreenGeometry();
    ASSERT_FALSE(original.empty());
    const std::string toWindow = std::string("wmctrl -r '") + kProgramTitle + "' ";
    const std::string xWindow = std::string("xdotool search --name '^") + kProgramTitle + "$' ";

    RECT window;
    const auto rectangleBack = [&] {
        GetWindowRect(program->form(), &window);
        return window.left == -1 && window.top == -1 && window.right - window.left == 700 &&
               window.bottom - window.top == 650;
    };
    // Wine learns what X shows a little later, on the program's thread.
    const auto expectRectangleBack = [&] {
        EXPECT_TRUE(WaitFor([&] { return ScreenGeometry() == original && rectangleBack(); },
                            kWindowManagerMs))
            << "now: " << ScreenGeometry() << "before: " << original;
        EXPECT_FALSE(IsZoomed(program->form()));
        EXPECT_FALSE(IsIconic(program->form()));
        EXPECT_EQ(window.left, -1);
        EXPECT_EQ(window.top, -1);
        EXPECT_EQ(window.right - window.left, 700);
        EXPECT_EQ(window.bottom - window.top, 650);
    };
    // Has the window manager make `change` while the program's thread is
    // held still, so that the change is on screen before the program can
    // answer it.
    const auto changeHeldStill = [&](const std::string& change) {
        SCOPED_TRACE(change);
        const std::string before = ScreenGeometry();
        HeldStill programThread(program->form());
        ASSERT_TRUE(programThread.held());
        ASSERT_TRUE(RunOnHost(toWindow + change));
        ASSERT_TRUE(WaitFor([&] { return ScreenGeometry() != before; }, kWindowManagerMs))
            << "the window manager did not change the window";
    };

    const struct {
        const char* what;
        const char* change;
        // The window manager's answer to the program's restore of the
        // maximized window, made to reach the program after the program's
        // own move: a place of its own, without a size change.
        const char* lateAnswer;
    } changes[] = {
        {"maximized as by the title bar's button", "-b add,maximized_vert,maximized_horz", nullptr},
        {"maximized, the answer to the restore late", "-b add,maximized_vert,maximized_horz",
         "-e 0,2,40,-1,-1"},
        {"resized by the window manager", "-e 0,-1,-1,1000,900", nullptr},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        // The rule gives way after 8 steps a second (a maximize and its
        // restore take about 5 under Wine 10): each change has a period of
        // its own.
        Sleep(kFreshPeriodMs);
        changeHeldStill(c.change);
        if (c.lateAnswer != nullptr) {
            ASSERT_TRUE(WaitFor(
                [&] {
                    return rectangleBack() && !IsZoomed(program->form()) &&
                           ScreenGeometry() == original;
                },
                kWindowManagerMs))
                << "the program did not restore the window";
            changeHeldStill(c.lateAnswer);
        }
        expectRectangleBack();
    }

    // Moved by the title bar, the window stays where it was put.
    Sleep(kRestoreAnsweredMs);
    changeHeldStill("-e 0,100,100,-1,-1");
    Sleep(500);
    EXPECT_FALSE(rectangleBack());
    EXPECT_NE(ScreenGeometry(), original);

    // Minimized through the window manager, the window is hidden; restored,
    // it is back at its rectangle, not where it was moved.
    const std::string shown =
        std::string("xdotool search --onlyvisible --name '^") + kProgramTitle + "$'";
    EXPECT_TRUE(RunOnHost(shown)) << "the window is not on screen before it is minimized";
    ASSERT_TRUE(RunOnHost(xWindow + "windowminimize"));
    EXPECT_TRUE(WaitFor([&] { return IsIconic(program->form()) != FALSE; }, kWindowManagerMs));
    EXPECT_TRUE(WaitFor([&] { return !RunOnHost(shown); }, kWindowManagerMs))
        << "the minimized window is still on screen";
    ASSERT_TRUE(RunOnHost(std::string("wmctrl -a '") + kProgramTitle + "'"));
    expectRectangleBack();

    // Real key presses, through X and the window manager's focus.
    ASSERT_TRUE(RunOnHost(xWindow + "windowactivate --sync key Right Right"));
    ExpectView(100);

    CloseNormally();
}

}  // namespace

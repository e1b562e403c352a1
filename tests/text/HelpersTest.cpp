// The message-box helpers, the file-name helpers and the clock number.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "AnsiString.h"
#include "MessageBoxCapture.h"

namespace {

TEST(MessageHelpers, ShowMessageAndShowMessageT) {
    MessageBoxCapture boxes;
    ShowMessage("plain");
    ShowMessage(AnsiString("from text"));
    ShowMessageT("body", "Title");
    ShowMessageT("body2", AnsiString("Title2"));

    ASSERT_EQ(boxes.count(), 4u);
    EXPECT_EQ(boxes[0].caption, "Message");
    EXPECT_EQ(boxes[0].text, "plain");
    EXPECT_EQ(boxes[1].text, "from text");
    EXPECT_EQ(boxes[2].caption, "Title");
    EXPECT_EQ(boxes[2].text, "body");
    EXPECT_EQ(boxes[3].caption, "Title2");
    for (const CapturedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.buttons, std::vector<int>({IDOK}));
        EXPECT_EQ(box.icon, 0u);
        EXPECT_EQ(box.owner, Owner);
    }
}

TEST(MessageHelpers, ShowError) {
    MessageBoxCapture boxes;
    ShowError("ERROR: device gone", "Device error");
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes[0].text, "ERROR: device gone");
    EXPECT_EQ(boxes[0].caption, "Device error");
    EXPECT_EQ(boxes[0].icon, UINT(MB_ICONERROR));
    EXPECT_EQ(boxes[0].buttons, std::vector<int>({IDOK}));
}

TEST(MessageHelpers, OverlongTextsAreReportedThenShownEmpty) {
    MessageBoxCapture boxes;
    const std::string tooLong(256, 'm');
    ShowError(tooLong.c_str(), "Caption");
    ASSERT_EQ(boxes.count(), 2u);
    EXPECT_EQ(boxes[0].text, "ERROR: AnsiString too long!");
    EXPECT_EQ(boxes[0].caption, "AnsiString::operator=");
    EXPECT_EQ(boxes[1].caption, "Caption");
    EXPECT_EQ(boxes[1].text, "");
}

TEST(MessageHelpers, YesNoWithBothAnswers) {
    MessageBoxCapture boxes(IDYES);
    EXPECT_TRUE(YesNo("Proceed?"));
    boxes.answerWith(IDNO);
    EXPECT_FALSE(YesNo(AnsiString("Proceed?")));

    ASSERT_EQ(boxes.count(), 2u);
    for (const CapturedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.caption, "Question");
        EXPECT_EQ(box.text, "Proceed?");
        EXPECT_EQ(box.buttons, std::vector<int>({IDYES, IDNO}));
        EXPECT_EQ(box.icon, 0u);
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST(MessageHelpers, OkCancelWithBothAnswers) {
    MessageBoxCapture boxes(IDOK);
    EXPECT_TRUE(OkCancel("Continue?"));
    boxes.answerWith(IDCANCEL);
    EXPECT_FALSE(OkCancel(AnsiString("Continue?")));

    ASSERT_EQ(boxes.count(), 2u);
    for (const CapturedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.caption, "Question");
        EXPECT_EQ(box.text, "Continue?");
        EXPECT_EQ(box.buttons, std::vector<int>({IDOK, IDCANCEL}));
        EXPECT_EQ(box.icon, UINT(MB_ICONINFORMATION));
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST(MessageHelpers, WindowHandleConstructionSetsTheOwnerOfAllButQuestions) {
    HWND window = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    {
        MessageBoxCapture boxes;
        const AnsiString owner(window);
        EXPECT_EQ(Owner, window);
        EXPECT_TRUE(owner.IsEmpty());
        AnsiString s;
        s = std::string(256, 'x').c_str();
        ShowMessage("owned");
        YesNo("q");
        OkCancel("q");
        ASSERT_EQ(boxes.count(), 4u);
        EXPECT_EQ(boxes[0].owner, window);
        EXPECT_EQ(boxes[1].owner, window);
        EXPECT_EQ(boxes[2].owner, nullptr);
        EXPECT_EQ(boxes[3].owner, nullptr);
    }
    const AnsiString noOwner(static_cast<HWND>(nullptr));
    EXPECT_EQ(Owner, nullptr);
    DestroyWindow(window);
}

struct PathCase {
    const char* path;
    const char* directory;
    const char* name;
};

TEST(FileNameHelpers, ExtractFilePathAndName) {
    for (const PathCase& c : {
             PathCase{"D:\\dir\\name.txt", "D:\\dir\\", "name.txt"},
             {"D:/dir/", "D:/dir/", ""},
             {"name.txt", "", "name.txt"},
             {"a/b\\c", "a/b\\", "c"},
             {"", "", ""},
             {"\\", "\\", ""},
         }) {
        const AnsiString path(c.path);
        EXPECT_STREQ(ExtractFilePath(path).c_str(), c.directory) << c.path;
        EXPECT_STREQ(ExtractFileName(path).c_str(), c.name) << c.path;
        EXPECT_STREQ(path.c_str(), c.path);
    }
}

TEST(FileNameHelpers, ChangeFileExt) {
    struct Case {
        const char* path;
        const char* ext;
        const char* result;
    };
    MessageBoxCapture boxes;
    for (const Case& c : {
             Case{"D:\\dir\\name.txt", "bak", "D:\\dir\\name.bak"},
             {"name", "txt", "name.txt"},
             {"name.", "txt", "name.txt"},
             {"archive.tar.gz", "zip", "archive.tar.zip"},
             {"a.b", "", "a."},
             {"D:\\my.dir\\name", "txt", "D:\\my.dir\\name.txt"},
             {"D:/my.dir/name", "txt", "D:/my.dir/name.txt"},
         }) {
        const AnsiString path(c.path);
        EXPECT_STREQ(ChangeFileExt(path, c.ext).c_str(), c.result) << c.path;
        const AnsiString ext(c.ext);
        EXPECT_STREQ(ChangeFileExt(path, ext).c_str(), c.result) << c.path;
        EXPECT_STREQ(path.c_str(), c.path);
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(FileNameHelpers, ChangeFileExtBeyondCapacity) {
    MessageBoxCapture boxes;
    const AnsiString ext(std::string(10, 'e').c_str());

    // With a dot: kept part and extension together would pass 255.
    const AnsiString dotted((std::string(250, 'd') + ".x").c_str());
    EXPECT_TRUE(ChangeFileExt(dotted, ext).IsEmpty());
    // Exactly 255 still fits.
    const AnsiString fits((std::string(244, 'd') + ".x").c_str());
    EXPECT_EQ(ChangeFileExt(fits, ext).Length(), 255);

    // Without a dot the extension no longer fits after the dot is added.
    const AnsiString plain(std::string(250, 'p').c_str());
    EXPECT_TRUE(ChangeFileExt(plain, ext).IsEmpty());
    // Without a dot and full: even the dot does not fit, so the extension alone remains.
    const AnsiString full(std::string(255, 'f').c_str());
    EXPECT_STREQ(ChangeFileExt(full, ext).c_str(), ext.c_str());

    ASSERT_EQ(boxes.count(), 3u);
    for (const CapturedBox& box : boxes.boxes()) {
        EXPECT_EQ(box.text, "ERROR: Resulting AnsiString is too long!");
        EXPECT_EQ(box.caption, "AnsiString::operator+");
    }
}

int ClockNumber(const SYSTEMTIME& t) {
    return t.wYear + t.wMonth + t.wDay + t.wHour + t.wMinute + t.wSecond;
}

TEST(ClockNumber, IsTheSumOfTheLocalDateAndTimeFields) {
    // The clock cannot be set here; read it around the call and retry in the
    // rare case a second turned over in between.
    for (int attempt = 0; attempt < 5; ++attempt) {
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        int ignored = 12345;
        const int value = time(&ignored);
        GetLocalTime(&after);
        if (ClockNumber(before) == ClockNumber(after)) {
            EXPECT_EQ(value, ClockNumber(before));
            EXPECT_EQ(ignored, 12345);  // the argument is never written
            EXPECT_EQ(time(static_cast<int*>(nullptr)) >= 2000, true);
            return;
        }
    }
    FAIL() << "the clock kept turning over";
}

TEST(ClockNumber, LivesBesideTheLibraryClock) {
    // Both clocks in one unit: the framework's by its own name, the C
    // library's always qualified.
    const int small = time(static_cast<int*>(nullptr));
    const std::time_t seconds = std::time(nullptr);
    EXPECT_GT(small, 0);
    EXPECT_GT(seconds, std::time_t(small));  // seconds since 1970 dwarf the field sum
}

}  // namespace

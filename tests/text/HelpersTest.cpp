// The message-box helpers, the file-name helpers and the clock number.
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "AnsiString.h"
#include "MessageBoxCapture.h"

namespace {

using Boxes = std::vector<CapturedBox>;

TEST(MessageHelpers, ShowMessageAndShowMessageT) {
    MessageBoxCapture boxes;
    ShowMessage("plain");
    ShowMessage(AnsiString("from text"));
    ShowMessageT("body", "Title");
    ShowMessageT("body2", AnsiString("Title2"));

    EXPECT_EQ(boxes.boxes(), (Boxes{{"Message", "plain", {IDOK}, 0, Owner},
                                    {"Message", "from text", {IDOK}, 0, Owner},
                                    {"Title", "body", {IDOK}, 0, Owner},
                                    {"Title2", "body2", {IDOK}, 0, Owner}}));
}

TEST(MessageHelpers, ShowError) {
    MessageBoxCapture boxes;
    ShowError("ERROR: device gone", "Device error");
    EXPECT_EQ(boxes.boxes(), Boxes{ErrorBox("Device error", "ERROR: device gone")});
}

TEST(MessageHelpers, OverlongTextsAreReportedThenShownEmpty) {
    MessageBoxCapture boxes;
    const std::string tooLong(256, 'm');
    ShowError(tooLong.c_str(), "Caption");
    EXPECT_EQ(boxes.boxes(),
              (Boxes{ErrorBox("AnsiString::operator=", "ERROR: AnsiString too long!"),
                     ErrorBox("Caption", "")}));
}

// Each question, asked with a character string and then with a text, is
// answered first with its yes and then with its no.
TEST(MessageHelpers, QuestionsWithBothAnswers) {
    struct Question {
        bool (*askChars)(const char*);
        bool (*askText)(AnsiString);
        int yes, no;
        CapturedBox box;
    };
    for (const Question& q : {
             Question{YesNo, YesNo, IDYES, IDNO, {"Question", "Proceed?", {IDYES, IDNO}, 0}},
             Question{OkCancel,
                      OkCancel,
                      IDOK,
                      IDCANCEL,
                      {"Question", "Continue?", {IDOK, IDCANCEL}, MB_ICONINFORMATION}},
         }) {
        MessageBoxCapture boxes(q.yes);
        EXPECT_TRUE(q.askChars(q.box.text.c_str())) << q.box.text;
        boxes.answerWith(q.no);
        EXPECT_FALSE(q.askText(AnsiString(q.box.text.c_str()))) << q.box.text;
        EXPECT_EQ(boxes.boxes(), (Boxes{q.box, q.box}));
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
        EXPECT_EQ(boxes.boxes(),
                  (Boxes{ErrorBox("AnsiString::operator=", "ERROR: AnsiString too long!", window),
                         {"Message", "owned", {IDOK}, 0, window},
                         {"Question", "q", {IDYES, IDNO}, 0, nullptr},
                         {"Question", "q", {IDOK, IDCANCEL}, MB_ICONINFORMATION, nullptr}}));
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

    EXPECT_EQ(boxes.boxes(), Boxes(3, ErrorBox("AnsiString::operator+",
                                               "ERROR: Resulting AnsiString is too long!")));
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

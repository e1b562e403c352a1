// Inspection, search, editing, extraction and formatting, including
// positions and counts outside the text: whatever the arguments, nothing
// outside the object's buffer is read or written.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "AnsiString.h"
#include "MessageBoxCapture.h"

namespace {

// An AnsiString followed by a guard area: any write past the buffer shows
// up there.
struct Guarded {
    AnsiString s;
    char guard[64];
    explicit Guarded(const char* text) : s(text) { memset(guard, 0x5A, sizeof(guard)); }
    bool guardIntact() const {
        for (char c : guard) {
            if (c != 0x5A) {
                return false;
            }
        }
        return true;
    }
};

TEST(AnsiStringInspection, LengthEmptinessAndCharacters) {
    AnsiString empty;
    EXPECT_EQ(empty.Length(), 0);
    EXPECT_EQ(empty.IsEmpty(), 1);
    AnsiString abc("abc");
    EXPECT_EQ(abc.IsEmpty(), 0);
    EXPECT_EQ(abc[1], 'a');
    EXPECT_EQ(abc[3], 'c');
    abc[2] = 'X';
    EXPECT_STREQ(abc.c_str(), "aXc");
}

TEST(AnsiStringInspection, PositionsOutsideTheBufferTouchNothing) {
    Guarded g("abc");
    EXPECT_EQ(g.s[0], '\0');
    EXPECT_EQ(g.s[257], '\0');
    EXPECT_EQ(g.s[0xFFFFFFFFu], '\0');
    g.s[0] = 'Q';
    g.s[257] = 'Q';
    g.s[100000] = 'Q';
    EXPECT_EQ(g.s[0], '\0');  // a stray write is not read back either
    EXPECT_STREQ(g.s.c_str(), "abc");
    EXPECT_TRUE(g.guardIntact());
}

TEST(AnsiStringInspection, TheLastSlotIsWritableYetTheTextStaysBounded) {
    // Position 256 is the buffer's last slot. Filling every slot leaves no
    // terminator, yet the text still ends inside the object.
    Guarded g(std::string(255, 'a').c_str());
    g.s[256] = 'Z';
    EXPECT_EQ(g.s[256], 'Z');
    EXPECT_EQ(g.s.Length(), 255);
    EXPECT_EQ(g.s.Pos("Z"), 0);
    const AnsiString copy = g.s + "";
    EXPECT_EQ(copy.Length(), 255);
    EXPECT_EQ(g.s.AnsiCompare(std::string(255, 'a').c_str()), 0);
    const AnsiString& readOnly = g.s;
    EXPECT_EQ(strlen(readOnly.c_str()), 255u);  // both views are terminated again
    g.s[256] = 'Z';
    EXPECT_EQ(strlen(g.s.c_str()), 255u);
    EXPECT_TRUE(g.guardIntact());
}

TEST(AnsiStringInspection, CompareIsBytewise) {
    const AnsiString abc("abc");
    EXPECT_EQ(abc.AnsiCompare("abc"), 0);
    EXPECT_LT(abc.AnsiCompare("abd"), 0);
    EXPECT_GT(abc.AnsiCompare("ab"), 0);
    EXPECT_LT(abc.AnsiCompare(AnsiString("abcd")), 0);
    EXPECT_LT(abc.AnsiCompare("\xE4"), 0);           // bytes compare unsigned, as strcmp does
    EXPECT_LT(AnsiString("B").AnsiCompare("a"), 0);  // no locale folding
}

TEST(AnsiStringSearch, PosAndAnsiPos) {
    const AnsiString hello("hello");
    EXPECT_EQ(hello.Pos("lo"), 4);
    EXPECT_EQ(hello.Pos("x"), 0);
    EXPECT_EQ(hello.Pos("hello"), 1);
    EXPECT_EQ(hello.Pos("hellos"), 0);
    EXPECT_EQ(hello.Pos("l"), 3);
    EXPECT_EQ(hello.Pos(AnsiString("ell")), 2);
    EXPECT_EQ(hello.AnsiPos("lo"), 4);
    EXPECT_EQ(hello.AnsiPos(AnsiString("o")), 5);
    EXPECT_EQ(hello.Pos(""), 1);

    const AnsiString empty;
    EXPECT_EQ(empty.Pos(""), 1);
    EXPECT_EQ(empty.Pos("a"), 0);
}

TEST(AnsiStringSearch, AnOverlongSearchedTextIsReportedAndNotFound) {
    MessageBoxCapture boxes;
    const AnsiString hello("hello");
    EXPECT_EQ(hello.Pos(std::string(300, 'h').c_str()), 0);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes[0].text, "ERROR: AnsiString too long!");
}

TEST(AnsiStringEditing, Delete) {
    AnsiString s("abcdef");
    const AnsiString returned = s.Delete(2, 3);
    EXPECT_STREQ(s.c_str(), "aef");
    EXPECT_STREQ(returned.c_str(), "aef");

    AnsiString first("abcdef");
    first.Delete(1, 1);
    EXPECT_STREQ(first.c_str(), "bcdef");

    // A range running past the end deletes to the end.
    AnsiString tail("abcdef");
    tail.Delete(4, 1000);
    EXPECT_STREQ(tail.c_str(), "abc");
}

TEST(AnsiStringEditing, DeleteOutsideTheTextChangesNothing) {
    Guarded g("abcdef");
    for (const auto& [index, count] :
         {std::pair{0, 2}, std::pair{-5, 2}, std::pair{7, 1}, std::pair{300, 1}, std::pair{2, 0},
          std::pair{2, -3}, std::pair{-1000000, 2000000}}) {
        EXPECT_STREQ(g.s.Delete(index, count).c_str(), "abcdef") << index << "," << count;
    }
    EXPECT_TRUE(g.guardIntact());
}

TEST(AnsiStringEditing, Insert) {
    AnsiString s("abcd");
    EXPECT_STREQ(s.Insert("XY", 3).c_str(), "abXYcd");
    AnsiString append("abcd");
    append.Insert("Z", 5);
    EXPECT_STREQ(append.c_str(), "abcdZ");
    AnsiString front("abcd");
    front.Insert(AnsiString("<"), 1);
    EXPECT_STREQ(front.c_str(), "<abcd");
    AnsiString self("ab");
    self.Insert(self, 2);
    EXPECT_STREQ(self.c_str(), "aabb");
}

TEST(AnsiStringEditing, InsertBeyondCapacityIsReported) {
    MessageBoxCapture boxes;
    AnsiString s(std::string(250, 'a').c_str());
    EXPECT_EQ(s.Insert("12345", 1).Length(), 255);
    const AnsiString returned = s.Insert("x", 1);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes[0].text, "ERROR: Resulting AnsiString is too long!");
    EXPECT_EQ(boxes[0].caption, "AnsiString::Insert");
    EXPECT_EQ(boxes[0].icon, UINT(MB_ICONERROR));
    EXPECT_EQ(s.Length(), 255);
    EXPECT_EQ(returned.AnsiCompare(s), 0);
}

TEST(AnsiStringEditing, InsertOutsideTheTextChangesNothing) {
    MessageBoxCapture boxes;
    Guarded g("abcd");
    for (int index : {0, -1, 6, 256, 100000}) {
        EXPECT_STREQ(g.s.Insert("XY", index).c_str(), "abcd") << index;
    }
    EXPECT_TRUE(g.guardIntact());
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(AnsiStringEditing, UpperCaseTouchesOnlyAsciiLetters) {
    AnsiString s("abc-XYZ 9");
    s.UpperCase();
    EXPECT_STREQ(s.c_str(), "ABC-XYZ 9");
    AnsiString high("\xE4\xFF\x80z");
    high.UpperCase();
    EXPECT_STREQ(high.c_str(), "\xE4\xFF\x80Z");
}

TEST(AnsiStringExtraction, SubString) {
    const AnsiString s("abcdef");
    EXPECT_STREQ(s.SubString(2, 3).c_str(), "bcd");
    EXPECT_STREQ(s.SubString(5, 10).c_str(), "ef");
    EXPECT_STREQ(s.SubString(1, 6).c_str(), "abcdef");
    EXPECT_STREQ(s.SubString(7, 3).c_str(), "");
    EXPECT_STREQ(s.c_str(), "abcdef");
}

TEST(AnsiStringExtraction, SubStringOutsideTheTextIsEmpty) {
    const AnsiString s("abcdef");
    EXPECT_TRUE(s.SubString(0, 3).IsEmpty());
    EXPECT_TRUE(s.SubString(-4, 3).IsEmpty());
    EXPECT_TRUE(s.SubString(8, 3).IsEmpty());
    EXPECT_TRUE(s.SubString(2, -1).IsEmpty());
    EXPECT_STREQ(s.SubString(2, 100000).c_str(), "bcdef");
}

TEST(AnsiStringFormatting, NumbersAndSprintf) {
    AnsiString s("old");
    s.IntToStr(-7);
    EXPECT_STREQ(s.c_str(), "-7");
    s.FloatToStr(2.5);
    EXPECT_STREQ(s.c_str(), "2.500000");
    s.Sprintf("[%04d]", 42);
    EXPECT_STREQ(s.c_str(), "[0042]");
    s.Sprintf("%.2f", 1.25f);
    EXPECT_STREQ(s.c_str(), "1.25");
    s.Sprintf("%g", 0.5);
    EXPECT_STREQ(s.c_str(), "0.5");
    s.Sprintf("<%s>", "in");
    EXPECT_STREQ(s.c_str(), "<in>");
    s.Sprintf("<%s>", static_cast<const char*>(nullptr));  // no string is the empty one
    EXPECT_STREQ(s.c_str(), "<>");
    s.Sprintf("%s!", AnsiString("name"));
    EXPECT_STREQ(s.c_str(), "name!");
    s.Sprintf("<%s>", s);  // formatting from its own text
    EXPECT_STREQ(s.c_str(), "<name!>");
    s = "n=%d";
    s.Sprintf(s.c_str(), 5);  // its own text as the format
    EXPECT_STREQ(s.c_str(), "n=5");
}

TEST(AnsiStringFormatting, LongResultsAreCutTo255Characters) {
    Guarded g("");
    g.s.FloatToStr(1e300);
    EXPECT_EQ(g.s.Length(), 255);
    EXPECT_EQ(g.s[1], '1');
    g.s.Sprintf("%300d", 5);
    EXPECT_EQ(g.s.Length(), 255);
    g.s.Sprintf("%s and then some", std::string(250, 'x').c_str());
    EXPECT_EQ(g.s.Length(), 255);
    const AnsiString full(std::string(255, 'y').c_str());
    g.s.Sprintf("%s and a tail", full);
    EXPECT_EQ(g.s.Length(), 255);
    EXPECT_TRUE(g.guardIntact());
}

}  // namespace

// Inspection, search, editing, extraction and formatting, including
// positions and counts outside the text: whatever the arguments, nothing
// outside the object's buffer is read or written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
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
        return std::all_of(std::begin(guard), std::end(guard), [](char c) { return c == 0x5A; });
    }
};

// A position and a count in "abcdef", and the text that results.
struct Span {
    int index, count;
    const char* result;
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
    EXPECT_EQ(boxes.boxes(), std::vector<CapturedBox>{
                                 ErrorBox("AnsiString::operator=", "ERROR: AnsiString too long!")});
}

// Positions and counts in the text and outside it; a range running past the
// end deletes to the end, anything else outside the text deletes nothing.
TEST(AnsiStringEditing, Delete) {
    for (const Span& r : {Span{2, 3, "aef"},
                          {1, 1, "bcdef"},
                          {4, 1000, "abc"},
                          {0, 2, "abcdef"},
                          {-5, 2, "abcdef"},
                          {7, 1, "abcdef"},
                          {300, 1, "abcdef"},
                          {2, 0, "abcdef"},
                          {2, -3, "abcdef"},
                          {-1000000, 2000000, "abcdef"}}) {
        Guarded g("abcdef");
        EXPECT_STREQ(g.s.Delete(r.index, r.count).c_str(), r.result) << r.index << "," << r.count;
        EXPECT_STREQ(g.s.c_str(), r.result) << r.index << "," << r.count;
        EXPECT_TRUE(g.guardIntact());
    }
}

// Each row through both forms of the inserted text; outside the text
// nothing is inserted, and nothing is reported either.
TEST(AnsiStringEditing, Insert) {
    MessageBoxCapture boxes;
    struct Row {
        const char* text;
        int index;
        const char* result;
    };
    for (const Row& r : {Row{"XY", 3, "abXYcd"},
                         {"Z", 5, "abcdZ"},
                         {"<", 1, "<abcd"},
                         {"XY", 0, "abcd"},
                         {"XY", -1, "abcd"},
                         {"XY", 6, "abcd"},
                         {"XY", 256, "abcd"},
                         {"XY", 100000, "abcd"}}) {
        Guarded chars("abcd"), text("abcd");
        EXPECT_STREQ(chars.s.Insert(r.text, r.index).c_str(), r.result) << r.index;
        EXPECT_STREQ(text.s.Insert(AnsiString(r.text), r.index).c_str(), r.result) << r.index;
        for (const Guarded* g : {&chars, &text}) {
            EXPECT_STREQ(g->s.c_str(), r.result) << r.index;
            EXPECT_TRUE(g->guardIntact());
        }
    }
    AnsiString self("ab");
    self.Insert(self, 2);
    EXPECT_STREQ(self.c_str(), "aabb");
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(AnsiStringEditing, InsertBeyondCapacityIsReported) {
    MessageBoxCapture boxes;
    AnsiString s(std::string(250, 'a').c_str());
    EXPECT_EQ(s.Insert("12345", 1).Length(), 255);
    const AnsiString returned = s.Insert("x", 1);
    EXPECT_EQ(boxes.boxes(),
              std::vector<CapturedBox>{
                  ErrorBox("AnsiString::Insert", "ERROR: Resulting AnsiString is too long!")});
    EXPECT_EQ(s.Length(), 255);
    EXPECT_EQ(returned.AnsiCompare(s), 0);
}

TEST(AnsiStringEditing, UpperCaseTouchesOnlyAsciiLetters) {
    AnsiString s("abc-XYZ 9");
    s.UpperCase();
    EXPECT_STREQ(s.c_str(), "ABC-XYZ 9");
    AnsiString high("\xE4\xFF\x80z");
    high.UpperCase();
    EXPECT_STREQ(high.c_str(), "\xE4\xFF\x80Z");
}

// Counts running past the end stop there; anything else outside the text
// gives the empty text.
TEST(AnsiStringExtraction, SubString) {
    const AnsiString s("abcdef");
    for (const Span& r : {Span{2, 3, "bcd"},
                          {5, 10, "ef"},
                          {1, 6, "abcdef"},
                          {7, 3, ""},
                          {2, 100000, "bcdef"},
                          {0, 3, ""},
                          {-4, 3, ""},
                          {8, 3, ""},
                          {2, -1, ""}}) {
        EXPECT_STREQ(s.SubString(r.index, r.count).c_str(), r.result) << r.index << "," << r.count;
    }
    EXPECT_STREQ(s.c_str(), "abcdef");
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
    g.s.FloatToStr(1e300);  // the first 255 of the 301 digits of the double nearest 1e300
    EXPECT_EQ(std::string(g.s.c_str()),
              "1000000000000000052504760255204420248704468581108159154915854115511802457988908195"
              "7863713750804478640437044438328838781769425232353604305756447921847867069828483872"
              "0092657580373783023379478809005936895323497079994508111903896764088007465274278014"
              "249457925");
    g.s.Sprintf("%300d", 5);
    EXPECT_EQ(std::string(g.s.c_str()), std::string(255, ' '));
    g.s.Sprintf("%s and then some", std::string(250, 'x').c_str());
    EXPECT_EQ(std::string(g.s.c_str()), std::string(250, 'x') + " and ");
    const AnsiString full(std::string(255, 'y').c_str());
    g.s.Sprintf("%s and a tail", full);
    EXPECT_EQ(std::string(g.s.c_str()), std::string(255, 'y'));
    EXPECT_TRUE(g.guardIntact());
}

}  // namespace

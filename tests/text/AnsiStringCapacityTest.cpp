// Construction, assignment and concatenation around the 255-character
// capacity, and who owns the boxes that report overlong texts.
#include <gtest/gtest.h>

#include <string>

#include "AnsiString.h"
#include "MessageBoxCapture.h"

namespace {

const std::string Chars255(255, 'a');
const std::string Chars256(256, 'b');

using Boxes = std::vector<CapturedBox>;
const CapturedBox TooLong = ErrorBox("AnsiString::operator=", "ERROR: AnsiString too long!");
const CapturedBox ConcatTooLong =
    ErrorBox("AnsiString::operator+", "ERROR: Resulting AnsiString is too long!");

TEST(AnsiStringCapacity, AcceptsUpTo255CharactersEverywhere) {
    MessageBoxCapture boxes;
    AnsiString constructed(Chars255.c_str());
    AnsiString assigned;
    assigned = Chars255.c_str();
    AnsiString loaded;
    loaded.LoadStr(Chars255.c_str());
    AnsiString copiedText;
    copiedText = constructed;

    for (const AnsiString* s : {&constructed, &assigned, &loaded, &copiedText}) {
        EXPECT_EQ(s->Length(), 255);
        EXPECT_EQ(std::string(s->c_str()), Chars255);
    }
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(AnsiStringCapacity, Refuses256CharactersWithTheTooLongBox) {
    MessageBoxCapture boxes;

    // A refused construction leaves the empty text.
    AnsiString constructed(Chars256.c_str());
    EXPECT_EQ(boxes.boxes(), Boxes(1, TooLong));
    EXPECT_EQ(constructed.Length(), 0);

    // A refused assignment leaves the old text.
    AnsiString assigned("kept");
    assigned = Chars256.c_str();
    EXPECT_EQ(boxes.boxes(), Boxes(2, TooLong));
    EXPECT_STREQ(assigned.c_str(), "kept");

    AnsiString loaded("kept too");
    loaded.LoadStr(Chars256.c_str());
    EXPECT_EQ(boxes.boxes(), Boxes(3, TooLong));
    EXPECT_STREQ(loaded.c_str(), "kept too");
}

TEST(AnsiStringCapacity, ConcatenationAt255AndAbove) {
    MessageBoxCapture boxes;
    const AnsiString left(std::string(200, 'l').c_str());
    const AnsiString right55(std::string(55, 'r').c_str());
    const AnsiString right56(std::string(56, 'r').c_str());

    const AnsiString fits = left + right55;
    EXPECT_EQ(fits.Length(), 255);
    EXPECT_EQ(std::string(fits.c_str()), std::string(200, 'l') + std::string(55, 'r'));
    EXPECT_EQ((left + std::string(55, 'c').c_str()).Length(), 255);
    EXPECT_EQ(boxes.count(), 0u);

    const AnsiString tooLong = left + right56;
    EXPECT_EQ(boxes.boxes(), Boxes(1, ConcatTooLong));
    EXPECT_TRUE(tooLong.IsEmpty());
    const AnsiString tooLongChars = left + std::string(56, 'c').c_str();
    EXPECT_EQ(boxes.boxes(), Boxes(2, ConcatTooLong));
    EXPECT_TRUE(tooLongChars.IsEmpty());
    // A character string too long for any AnsiString is reported once.
    EXPECT_TRUE((AnsiString() + Chars256.c_str()).IsEmpty());
    EXPECT_EQ(boxes.boxes(), Boxes(3, ConcatTooLong));

    // Neither operand changes.
    EXPECT_EQ(left.Length(), 200);
    EXPECT_EQ(right56.Length(), 56);
}

TEST(AnsiStringCapacity, EveryConstructorStartsWithoutConversionError) {
    const AnsiString empty;
    const AnsiString text("12");
    const AnsiString fromWindow(static_cast<HWND>(nullptr));
    EXPECT_EQ(empty.NumberConvError, 0);
    EXPECT_EQ(text.NumberConvError, 0);
    EXPECT_EQ(fromWindow.NumberConvError, 0);
    EXPECT_TRUE(fromWindow.IsEmpty());

    MessageBoxCapture boxes;
    const AnsiString refused(Chars256.c_str());
    EXPECT_EQ(refused.NumberConvError, 0);
}

TEST(AnsiStringCapacity, CopyTakesTheFlagAssignmentOnlyTheText) {
    AnsiString failed("x");
    failed.ConvertToInt();
    ASSERT_EQ(failed.NumberConvError, 1);

    const AnsiString copy(failed);
    EXPECT_EQ(copy.NumberConvError, 1);
    EXPECT_STREQ(copy.c_str(), "x");

    AnsiString target("7");
    target.ConvertToInt();
    target = failed;
    EXPECT_EQ(target.NumberConvError, 0);
    EXPECT_STREQ(target.c_str(), "x");

    target = target;  // self-assignment keeps the text
    EXPECT_STREQ(target.c_str(), "x");
}

TEST(AnsiStringCapacity, NullCharacterStringsCountAsEmpty) {
    MessageBoxCapture boxes;
    AnsiString s(static_cast<const char*>(nullptr));
    EXPECT_TRUE(s.IsEmpty());
    s = "abc";
    s = static_cast<const char*>(nullptr);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(AnsiString("abc").AnsiCompare(static_cast<const char*>(nullptr)) > 0, true);
    EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace

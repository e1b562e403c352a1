// Number parsing: what it accepts, what it refuses, and its 32-bit bound.
#include <gtest/gtest.h>

#include "AnsiString.h"

namespace {

struct IntCase {
    const char* text;
    int value;
    int error;
};

void ExpectInt(const IntCase& c) {
    AnsiString s(c.text);
    EXPECT_EQ(s.ConvertToInt(), c.value) << "'" << c.text << "'";
    EXPECT_EQ(s.NumberConvError, c.error) << "'" << c.text << "'";
    EXPECT_STREQ(s.c_str(), c.text);  // the parse works on a copy
}

TEST(AnsiStringNumbers, ConvertToIntForms) {
    for (const IntCase& c : {
             IntCase{"123", 123, 0},
             {"-45", -45, 0},
             {"007", 7, 0},
             {"0x1F", 31, 0},
             {"-x10", 0, 1},  // the '-' must not turn into a hexadecimal prefix
             {"-x", 0, 1},
             {"-0x10", 0, 1},
             {"0x", 0, 0},
             {"", 0, 0},
             {"-", 0, 0},
             {"0", 0, 0},
             {"-0", 0, 0},
             {"0xABCDEF", 0xABCDEF, 0},
         }) {
        ExpectInt(c);
    }
}

TEST(AnsiStringNumbers, ConvertToIntRefusals) {
    for (const char* text : {"0x1f", "0X1F", "12a", " 5", "5 ", "+5", "1-", "0xG", "--1", "\xB1"}) {
        ExpectInt({text, 0, 1});
    }
}

TEST(AnsiStringNumbers, ConvertToIntRefusesEveryValueBeyond32Bits) {
    for (const IntCase& c : {
             IntCase{"2147483647", 2147483647, 0},
             {"-2147483647", -2147483647, 0},
             {"2147483648", 0, 1},
             {"-2147483648", 0, 1},
             {"0x7FFFFFFF", 0x7FFFFFFF, 0},
             {"0x80000000", 0, 1},
             {"0xFFFFFFFF", 0, 1},
             // Values whose 32-bit wrap would look small and valid.
             {"4294967296", 0, 1},
             {"4294967306", 0, 1},
             {"99999999999", 0, 1},
             {"-4294967297", 0, 1},
             {"0x100000000", 0, 1},
             {"0x100000001", 0, 1},
             {"00000000000000002147483647", 2147483647, 0},
             {"0x00000000000000007FFFFFFF", 0x7FFFFFFF, 0},
         }) {
        ExpectInt(c);
    }
}

TEST(AnsiStringNumbers, ConvertToDouble) {
    struct Case {
        const char* text;
        double value;
        int error;
    };
    for (const Case& c : {
             Case{"3.25", 3.25, 0},
             {"-3.25", -3.25, 0},
             {"-0.25", -0.25, 0},
             {"-.5", -0.5, 0},
             {"2.", 2.0, 0},
             {".5", 0.5, 0},
             {".", 0.0, 0},
             {"", 0.0, 0},
             {"42", 42.0, 0},
             {"0x10", 16.0, 0},
             {"0.001", 0.001, 0},
             {"1.5.2", 0.0, 1},
             {"abc", 0.0, 1},
             // A fraction is decimal digits only: no sign, no hexadecimal prefix.
             {"1.x", 0.0, 1},
             {"1.-", 0.0, 1},
             {"1.+", 0.0, 1},
             {"1.0x", 0.0, 1},
             {"1.2e3", 0.0, 1},
             {"1.-5", 0.0, 1},
             {"1.0x1F", 0.0, 1},
             {"-x1.5", 0.0, 1},
             {"0.2147483647", 0.2147483647, 0},
             {"0.4294967296", 0.0, 1},
             {"4294967296.5", 0.0, 1},
         }) {
        AnsiString s(c.text);
        EXPECT_DOUBLE_EQ(s.ConvertToDouble(), c.value) << "'" << c.text << "'";
        EXPECT_EQ(s.NumberConvError, c.error) << "'" << c.text << "'";
        EXPECT_STREQ(s.c_str(), c.text);
    }
}

TEST(AnsiStringNumbers, SuccessClearsAnEarlierFailure) {
    AnsiString s("x");
    s.ConvertToDouble();
    ASSERT_EQ(s.NumberConvError, 1);
    s = "1";
    EXPECT_EQ(s.ConvertToInt(), 1);
    EXPECT_EQ(s.NumberConvError, 0);
}

TEST(AnsiStringNumbers, ToIntAndToDoubleThrowTen) {
    AnsiString bad("12a");
    try {
        bad.ToInt();
        FAIL() << "ToInt accepted '12a'";
    } catch (int e) {
        EXPECT_EQ(e, 10);
    }
    try {
        bad.ToDouble();
        FAIL() << "ToDouble accepted '12a'";
    } catch (int e) {
        EXPECT_EQ(e, 10);
    }
    EXPECT_EQ(bad.NumberConvError, 1);
    AnsiString beyond("4294967296");
    EXPECT_THROW(beyond.ToInt(), int);
    EXPECT_THROW(beyond.ToDouble(), int);

    AnsiString good("12");
    EXPECT_EQ(good.ToInt(), 12);
    AnsiString fraction("-1.5");
    EXPECT_DOUBLE_EQ(fraction.ToDouble(), -1.5);
}

}  // namespace

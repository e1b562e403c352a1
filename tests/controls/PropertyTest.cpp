// The field-like property: what assignment, reading and copying call on the
// owner, checked with a small owner whose setter stores something other than
// what it is given.
#include <gtest/gtest.h>

#include "properties.h"

namespace {

// Keeps a level clamped to 0..100 and counts every accessor call.
class Gauge {
public:
    int stored = 0;
    int getCalls = 0;
    int setCalls = 0;
    int refCalls = 0;

    property<Gauge, int, const int&> Level;

    Gauge() : Level(this, &Gauge::GetLevel, &Gauge::SetLevel, &Gauge::GetRefLevel) {}

    const int& GetLevel() const {
        ++const_cast<Gauge*>(this)->getCalls;
        return stored;
    }
    void SetLevel(const int& v) {
        ++setCalls;
        stored = v < 0 ? 0 : (v > 100 ? 100 : v);
    }
    int& GetRefLevel() {
        ++refCalls;
        return stored;
    }
};

// Holds a copy of another object's property.
struct Borrower {
    property<Gauge, int, const int&> Level;
};

TEST(Property, AssignmentYieldsTheStoredValueFromTheOwner) {
    Gauge g;
    int& result = (g.Level = 150);

    EXPECT_EQ(result, 100);
    EXPECT_EQ(&result, &g.stored);  // the owner's own storage, not a temporary
    EXPECT_EQ(g.setCalls, 1);
    EXPECT_EQ(g.refCalls, 1);
    EXPECT_EQ(g.getCalls, 0);  // assignment never asks the getter
}

TEST(Property, ChainedAssignmentPassesTheStoredValueOn) {
    Gauge a, b;
    int plain = a.Level = b.Level = -20;

    EXPECT_EQ(b.stored, 0);
    EXPECT_EQ(a.stored, 0);
    EXPECT_EQ(plain, 0);
    EXPECT_EQ(a.setCalls, 1);
    EXPECT_EQ(b.setCalls, 1);
}

TEST(Property, ReadingCallsTheGetterEveryTime) {
    Gauge g;
    g.stored = 42;
    int first = g.Level;
    g.stored = 43;  // changed behind the property's back
    int second = g.Level;

    EXPECT_EQ(first, 42);
    EXPECT_EQ(second, 43);
    EXPECT_EQ(g.getCalls, 2);
    EXPECT_EQ(g.setCalls, 0);
}

TEST(Property, CopyStillActsOnTheSourcesOwner) {
    Gauge source;
    Borrower borrower{source.Level};

    borrower.Level = 70;
    EXPECT_EQ(source.stored, 70);
    EXPECT_EQ(source.setCalls, 1);

    source.stored = 12;
    EXPECT_EQ(static_cast<int>(borrower.Level), 12);
    EXPECT_EQ(source.getCalls, 1);

    // An owner copied member by member keeps properties bound to the original.
    Gauge copy = source;
    copy.Level = 5;
    EXPECT_EQ(source.stored, 5);
    EXPECT_EQ(copy.stored, 12);
}

TEST(Property, PropertyToPropertyAssignmentRebindsWithoutCallingTheSetter) {
    Gauge a, b;
    a.stored = 30;
    b.stored = 60;

    b.Level = a.Level;
    EXPECT_EQ(a.setCalls + b.setCalls, 0);
    EXPECT_EQ(a.getCalls + b.getCalls, 0);
    EXPECT_EQ(b.stored, 60);  // nothing was copied between the owners

    // From now on b's property speaks for a.
    b.Level = 80;
    EXPECT_EQ(a.stored, 80);
    EXPECT_EQ(b.stored, 60);
    EXPECT_EQ(static_cast<int>(b.Level), 80);
}

}  // namespace

#pragma once
// Where the line drawing of the envelope pass puts its values, stated as
// plain geometry instead of the error-term steps Effects::Line takes: one
// point per step along the line's longer axis, the other coordinate the
// exact one rounded to the nearest, a half rounded on in the direction of
// travel. The points are written from the start to the end, so where a
// steep line has several at one position the last one stays.
#include <algorithm>
#include <cstdlib>

#include "Samples.h"

inline void LineByTheRules(int x1, int y1, int x2, int y2, unsigned char* DAT) {
    const int dx = std::abs(x2 - x1);
    const int dy = std::abs(y2 - y1);
    const int inx = x2 > x1 ? 1 : -1;
    const int iny = y2 > y1 ? 1 : -1;
    const int steps = std::max(dx, dy);
    // After `i` of the steps, the way gone along the shorter axis.
    auto along = [&](int i, int shorter) { return (2 * i * shorter + steps) / (2 * steps); };
    WriteSample(DAT, x1, y1);
    for (int i = 1; i <= steps; ++i) {
        if (dx >= dy) {
            WriteSample(DAT, x1 + inx * i, y1 + iny * along(i, dy));
        } else {
            WriteSample(DAT, x1 + inx * along(i, dx), y1 + iny * i);
        }
    }
}

#pragma once
// The line drawing of the envelope pass, one step at a time exactly as its
// rules read: the oracle against which Effects::Line, which skips the values
// a steep line overwrites at once, is checked.
#include <cstdlib>

#include "Samples.h"

inline void LineByTheRules(int x1, int y1, int x2, int y2, unsigned char* DAT) {
    int dx = x2 - x1;
    int dy = y2 - y1;
    const int inx = dx > 0 ? 1 : -1;
    const int iny = dy > 0 ? 1 : -1;
    dx = std::abs(dx);
    dy = std::abs(dy);
    if (dx >= dy) {
        dy = 2 * dy;
        int e = dy - dx;
        dx = 2 * dx;
        while (x1 != x2) {
            WriteSample(DAT, x1, y1);
            if (e >= 0) {
                y1 += iny;
                e -= dx;
            }
            e += dy;
            x1 += inx;
        }
    } else {
        dx = 2 * dx;
        int e = dx - dy;
        dy = 2 * dy;
        while (y1 != y2) {
            WriteSample(DAT, x1, y1);
            if (e >= 0) {
                x1 += inx;
                e -= dy;
            }
            e += dx;
            y1 += iny;
        }
    }
    WriteSample(DAT, x1, y1);
}

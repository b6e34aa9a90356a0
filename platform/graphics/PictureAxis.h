#pragma once

namespace platform {

// How one axis of a picture maps onto a destination span. The picture's
// coordinates x0 <= x1 <= x2 <= x3 split it into a first border (x0..x1), a
// middle (x1..x2) and a last border (x2..x3); the borders keep their size and
// the middle is stretched or repeated over whatever space is left.
struct PictureAxis {
    int x0 { 0 };
    int x1 { 0 };
    int x2 { 0 };
    int x3 { 0 };
    bool stretch { true };

    // Puts the coordinates in order (x0 <= x1 <= x2 <= x3) by raising each
    // one that lies before its predecessor.
    PictureAxis normalized() const;

    // The source coordinate for destination position p of the span [b, c),
    // or -1 when p lies outside the span. Positions are checked in order:
    // first border, last border, middle, so a span shorter than both
    // borders shows the first border whole.
    int source(int p, int b, int c) const
    {
        if (p < b || p >= c)
            return -1;
        int offset = p - b;
        int first = x1 - x0;
        int last = x3 - x2;
        if (offset < first)
            return x0 + offset;
        if (offset >= (c - b) - last)
            return x3 - (c - p);
        if (x2 == x1)
            return 0;
        int middle_offset = offset - first;
        if (stretch) {
            long long middle_length = (long long)(c - b) - first - last;
            return x1 + int((long long)middle_offset * (x2 - x1) / middle_length);
        }
        return x1 + middle_offset % (x2 - x1);
    }

    int minimum() const { return (x1 - x0) + (x3 - x2); }
    int natural() const { return x3 - x0; }
};

} // namespace platform

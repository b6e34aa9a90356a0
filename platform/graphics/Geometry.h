#pragma once

#include <algorithm>

namespace platform {

struct Point {
    int x { 0 };
    int y { 0 };
    bool operator==(const Point&) const = default;
};

struct Size {
    int width { 0 };
    int height { 0 };
    bool operator==(const Size&) const = default;
};

// A rectangle from (left, top) inclusive to (right, bottom) exclusive.
struct Rect {
    int left { 0 };
    int top { 0 };
    int right { 0 };
    int bottom { 0 };

    bool operator==(const Rect&) const = default;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool is_empty() const { return right <= left || bottom <= top; }
    bool contains(Point point) const
    {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    Rect translated(int dx, int dy) const
    {
        return { left + dx, top + dy, right + dx, bottom + dy };
    }
    Rect intersected(const Rect& other) const
    {
        Rect result { std::max(left, other.left), std::max(top, other.top),
            std::min(right, other.right), std::min(bottom, other.bottom) };
        if (result.is_empty())
            return {};
        return result;
    }
};

} // namespace platform

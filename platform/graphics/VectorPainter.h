#pragma once

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Geometry.h"

#include <memory>

namespace platform {

// Anti-aliased shapes on a bitmap, for what the shell draws itself (menu
// bars, popup menus, toolbar images): rounded rectangles, circles and
// paths filled or stroked in one colour, alpha included. Coordinates are
// the bitmap's, in pixels, as floating-point numbers; drawing is cut to
// `clip`. The bitmap keeps its straight (not premultiplied) colours: the
// painter converts while it lives. User-interface thread only.
class VectorPainter {
public:
    VectorPainter(Bitmap& bitmap, Rect clip);
    ~VectorPainter();
    VectorPainter(const VectorPainter&) = delete;
    VectorPainter& operator=(const VectorPainter&) = delete;

    void fill_rounded_rect(
        double x, double y, double width, double height, double radius, Color color);
    void stroke_rounded_rect(double x, double y, double width, double height, double radius,
        double line_width, Color color);
    void fill_circle(double cx, double cy, double radius, Color color);
    // An arc from angle `from` to `to` (radians, clockwise from the x axis).
    void stroke_arc(double cx, double cy, double radius, double from, double to, double line_width,
        Color color);

    // A path of straight segments, then filled or stroked (round ends).
    void move_to(double x, double y);
    void line_to(double x, double y);
    void close_path();
    void fill(Color color);
    void stroke(double line_width, Color color);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform

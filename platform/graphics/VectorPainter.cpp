#include "platform/graphics/VectorPainter.h"

#include <cairo.h>

#include <cmath>

namespace platform {

namespace {

void premultiply(Bitmap& bitmap, Rect area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        Color* row = bitmap.row(y);
        for (int x = area.left; x < area.right; ++x) {
            int a = alpha_of(row[x]);
            if (a != 255)
                row[x] = make_color(red_of(row[x]) * a / 255, green_of(row[x]) * a / 255,
                    blue_of(row[x]) * a / 255, a);
        }
    }
}

void unpremultiply(Bitmap& bitmap, Rect area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        Color* row = bitmap.row(y);
        for (int x = area.left; x < area.right; ++x) {
            int a = alpha_of(row[x]);
            if (a == 255)
                continue;
            row[x] = a == 0 ? 0
                            : make_color(red_of(row[x]) * 255 / a, green_of(row[x]) * 255 / a,
                                blue_of(row[x]) * 255 / a, a);
        }
    }
}

void set_source(cairo_t* cr, Color color)
{
    cairo_set_source_rgba(cr, red_of(color) / 255.0, green_of(color) / 255.0,
        blue_of(color) / 255.0, alpha_of(color) / 255.0);
}

void rounded_path(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    radius = std::max(0.0, std::min({ radius, width / 2, height / 2 }));
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

} // namespace

struct VectorPainter::State {
    Bitmap& bitmap;
    Rect area;
    cairo_surface_t* surface { nullptr };
    cairo_t* cr { nullptr };
};

VectorPainter::VectorPainter(Bitmap& bitmap, Rect clip)
    : state_(std::make_unique<State>(
        State { bitmap, clip.intersected({ 0, 0, bitmap.width(), bitmap.height() }) }))
{
    if (state_->area.is_empty())
        return;
    premultiply(bitmap, state_->area);
    state_->surface
        = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.data()),
            CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.width() * 4);
    state_->cr = cairo_create(state_->surface);
    cairo_rectangle(state_->cr, state_->area.left, state_->area.top, state_->area.width(),
        state_->area.height());
    cairo_clip(state_->cr);
    cairo_set_line_cap(state_->cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(state_->cr, CAIRO_LINE_JOIN_ROUND);
}

VectorPainter::~VectorPainter()
{
    if (!state_->cr)
        return;
    cairo_destroy(state_->cr);
    cairo_surface_flush(state_->surface);
    cairo_surface_destroy(state_->surface);
    unpremultiply(state_->bitmap, state_->area);
}

void VectorPainter::fill_rounded_rect(
    double x, double y, double width, double height, double radius, Color color)
{
    if (!state_->cr)
        return;
    rounded_path(state_->cr, x, y, width, height, radius);
    fill(color);
}

void VectorPainter::stroke_rounded_rect(
    double x, double y, double width, double height, double radius, double line_width, Color color)
{
    if (!state_->cr)
        return;
    rounded_path(state_->cr, x, y, width, height, radius);
    stroke(line_width, color);
}

void VectorPainter::fill_circle(double cx, double cy, double radius, Color color)
{
    if (!state_->cr)
        return;
    cairo_new_sub_path(state_->cr);
    cairo_arc(state_->cr, cx, cy, radius, 0, 2 * M_PI);
    fill(color);
}

void VectorPainter::stroke_arc(
    double cx, double cy, double radius, double from, double to, double line_width, Color color)
{
    if (!state_->cr)
        return;
    cairo_new_sub_path(state_->cr);
    cairo_arc(state_->cr, cx, cy, radius, from, to);
    stroke(line_width, color);
}

void VectorPainter::move_to(double x, double y)
{
    if (state_->cr)
        cairo_move_to(state_->cr, x, y);
}

void VectorPainter::line_to(double x, double y)
{
    if (state_->cr)
        cairo_line_to(state_->cr, x, y);
}

void VectorPainter::close_path()
{
    if (state_->cr)
        cairo_close_path(state_->cr);
}

void VectorPainter::fill(Color color)
{
    if (!state_->cr)
        return;
    set_source(state_->cr, color);
    cairo_fill(state_->cr);
}

void VectorPainter::stroke(double line_width, Color color)
{
    if (!state_->cr)
        return;
    set_source(state_->cr, color);
    cairo_set_line_width(state_->cr, line_width);
    cairo_stroke(state_->cr);
}

} // namespace platform

#include "platform/graphics/TextRenderer.h"

#include "platform/Convert.h"
#include "platform/graphics/PangoSupport.h"

#include <memory>

namespace platform {

namespace {

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using LayoutHandle = std::unique_ptr<PangoLayout, ObjectDeleter>;

const FontImpl* font_or_system(const Font& font)
{
    if (!font.is_empty())
        return font.impl();
    static Font system = Font::create({ u"Tahoma", -DEFAULT_FONT_PIXELS, 400, false, false });
    return system.impl();
}

LayoutHandle make_layout(const FontImpl& font, std::u16string_view text)
{
    LayoutHandle layout(pango_layout_new(font_context()));
    pango_layout_set_font_description(layout.get(), font.description);
    // A fixed left-to-right base direction keeps "left" on the left for
    // right-to-left scripts too.
    pango_layout_set_auto_dir(layout.get(), FALSE);
    std::string utf8 = to_utf8(text);
    pango_layout_set_text(layout.get(), utf8.data(), int(utf8.size()));
    if (font.underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout.get(), attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

// Cairo works on premultiplied pixels, our bitmaps are not.
void premultiply(Bitmap& bitmap, Rect area)
{
    for (int y = area.top; y < area.bottom; ++y) {
        Color* row = bitmap.row(y);
        for (int x = area.left; x < area.right; ++x) {
            int a = alpha_of(row[x]);
            if (a == 255)
                continue;
            row[x] = make_color(
                red_of(row[x]) * a / 255, green_of(row[x]) * a / 255, blue_of(row[x]) * a / 255, a);
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
            if (a == 0) {
                row[x] = 0;
                continue;
            }
            row[x] = make_color(
                red_of(row[x]) * 255 / a, green_of(row[x]) * 255 / a, blue_of(row[x]) * 255 / a, a);
        }
    }
}

} // namespace

Size measure_text(const Font& font, std::u16string_view text, int wrap_width)
{
    const FontImpl* impl = font_or_system(font);
    if (!impl)
        return {};
    LayoutHandle layout = make_layout(*impl, text);
    if (wrap_width > 0) {
        pango_layout_set_width(layout.get(), wrap_width * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
    } else {
        pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    }
    PangoRectangle logical {};
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    return { logical.width, logical.height };
}

void draw_text(Canvas& canvas, const Font& font, std::u16string_view text, Rect rectangle,
    unsigned format, Color color)
{
    const FontImpl* impl = font_or_system(font);
    if (!impl || text.empty())
        return;
    Rect target_rect = rectangle.translated(canvas.origin().x, canvas.origin().y);
    Rect area = (format & TEXT_NOCLIP) ? canvas.clip() : target_rect.intersected(canvas.clip());
    if (area.is_empty())
        return;

    LayoutHandle layout = make_layout(*impl, text);
    bool wrapping = (format & TEXT_WORDBREAK) && !(format & TEXT_SINGLELINE);
    if (format & TEXT_SINGLELINE)
        pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
    if (wrapping) {
        pango_layout_set_width(layout.get(), std::max(1, rectangle.width()) * PANGO_SCALE);
        pango_layout_set_wrap(layout.get(), PANGO_WRAP_WORD_CHAR);
        pango_layout_set_alignment(layout.get(),
            (format & TEXT_RIGHT)        ? PANGO_ALIGN_RIGHT
                : (format & TEXT_CENTER) ? PANGO_ALIGN_CENTER
                                         : PANGO_ALIGN_LEFT);
    } else if (format & TEXT_END_ELLIPSIS) {
        pango_layout_set_width(layout.get(), std::max(1, rectangle.width()) * PANGO_SCALE);
        pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
    }

    PangoRectangle logical {};
    pango_layout_get_pixel_extents(layout.get(), nullptr, &logical);
    int x = target_rect.left - logical.x;
    if (!wrapping) {
        if (format & TEXT_RIGHT)
            x = target_rect.right - logical.width - logical.x;
        else if (format & TEXT_CENTER)
            x = target_rect.left + (rectangle.width() - logical.width) / 2 - logical.x;
    }
    int y = target_rect.top - logical.y;
    if (format & TEXT_BOTTOM)
        y = target_rect.bottom - logical.height - logical.y;
    else if (format & TEXT_VCENTER)
        y = target_rect.top + (rectangle.height() - logical.height) / 2 - logical.y;

    Bitmap& bitmap = canvas.target();
    premultiply(bitmap, area);
    cairo_surface_t* surface
        = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.data()),
            CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height(), bitmap.width() * 4);
    cairo_t* cr = cairo_create(surface);
    cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
    cairo_clip(cr);
    cairo_set_source_rgb(
        cr, red_of(color) / 255.0, green_of(color) / 255.0, blue_of(color) / 255.0);
    cairo_move_to(cr, x, y);
    pango_cairo_update_context(cr, font_context());
    pango_layout_context_changed(layout.get());
    pango_cairo_show_layout(cr, layout.get());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    unpremultiply(bitmap, area);
}

} // namespace platform

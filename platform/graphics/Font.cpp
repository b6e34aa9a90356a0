#include "platform/graphics/Font.h"

#include "platform/Convert.h"
#include "platform/graphics/PangoSupport.h"
#include "platform/graphics/TextRenderer.h"

#include <fontconfig/fontconfig.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace platform {

namespace {

// Debian's compatible Tahoma lives outside fontconfig's search path.
constexpr const char* EXTRA_FONT_FOLDER = "/usr/share/wine/fonts";

bool is_directory(const char* path)
{
    struct stat info { };
    return stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

struct ObjectDeleter {
    void operator()(gpointer object) const { g_object_unref(object); }
};

PangoFont* load_font(PangoFontDescription* description)
{
    return pango_font_map_load_font(font_map(), font_context(), description);
}

} // namespace

PangoFontMap* font_map()
{
    static PangoFontMap* map = [] {
        FcInit();
        if (is_directory(EXTRA_FONT_FOLDER))
            FcConfigAppFontAddDir(nullptr, reinterpret_cast<const FcChar8*>(EXTRA_FONT_FOLDER));
        return pango_cairo_font_map_new();
    }();
    return map;
}

PangoContext* font_context()
{
    static PangoContext* context = [] {
        PangoContext* created = pango_font_map_create_context(font_map());
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(created, options);
        cairo_font_options_destroy(options);
        return created;
    }();
    return context;
}

Font Font::create(const FontSpec& spec)
{
    auto impl = std::make_shared<FontImpl>();
    impl->description = pango_font_description_new();
    std::string face = to_utf8(spec.face);
    pango_font_description_set_family(impl->description, face.empty() ? "Sans" : face.c_str());
    int weight = std::clamp(spec.weight, 100, 1000);
    pango_font_description_set_weight(impl->description, PangoWeight(weight));
    pango_font_description_set_style(
        impl->description, spec.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    long long asked = spec.height;
    int pixels = asked == 0 ? DEFAULT_FONT_PIXELS
                            : int(std::min<long long>(std::llabs(asked), MAX_FONT_PIXELS));
    pango_font_description_set_absolute_size(impl->description, double(pixels) * PANGO_SCALE);

    std::unique_ptr<PangoFont, ObjectDeleter> font(load_font(impl->description));
    if (!font)
        return {};
    if (asked > 0) {
        // A positive height is the cell height: find the em height whose
        // ascent plus descent comes to it.
        PangoFontMetrics* metrics = pango_font_get_metrics(font.get(), nullptr);
        int cell = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
        pango_font_metrics_unref(metrics);
        if (cell > 0) {
            pixels = std::max(1, int((long long)pixels * pixels * PANGO_SCALE / cell));
            pango_font_description_set_absolute_size(
                impl->description, double(pixels) * PANGO_SCALE);
            font.reset(load_font(impl->description));
            if (!font)
                return {};
        }
    }

    PangoFontDescription* chosen = pango_font_describe(font.get());
    const char* family = pango_font_description_get_family(chosen);
    impl->family = family ? family : "";
    pango_font_description_free(chosen);
    impl->pixel_size = pixels;
    impl->weight = weight;
    impl->italic = spec.italic;
    impl->underline = spec.underline;

    Font result;
    result.impl_ = std::move(impl);
    return result;
}

std::string Font::family() const
{
    return impl_ ? impl_->family : std::string();
}
int Font::pixel_size() const
{
    return impl_ ? impl_->pixel_size : 0;
}
int Font::weight() const
{
    return impl_ ? impl_->weight : 0;
}
bool Font::italic() const
{
    return impl_ && impl_->italic;
}
bool Font::underline() const
{
    return impl_ && impl_->underline;
}

} // namespace platform

// Fontconfig and Pango keep their pattern caches for the life of the process
// and never free them; builds with LeakSanitizer are told so here, since
// every program that draws text links this file. Other libraries with such
// caches add their lines to this one list.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libpangoft2-1.0.so\n";
}

extern "C" const char* __lsan_default_options()
{
    return "print_suppressions=0";
}

// Shows the settings form of the compiled settings skin on the headless
// screen with a list of contacts, as the program fills it, and saves
// screenshots of browsing, filtering and recording.
//
//   settings-preview SKIN LANGUAGE PREFIX
//
// The screen and device come from RINGWISE_SCREEN and RINGWISE_PLATFORM.
// Writes PREFIX-browse.png, PREFIX-filter.png and PREFIX-record.png, then
// prints the layout (PreviewForm.h) and, for each button, how wide its text
// is in its font and how much room its insets leave: "fit ID TEXT ROOM". Exit status 1 when the
// skin does not pass the version check or lacks a control.
#include "tests/assets/PreviewForm.h"

#include "platform/graphics/TextRenderer.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlGridFilter.h"
#include "skinner/ControlPanel.h"
#include "skinner/ControlProgress.h"
#include "skinner/FontRep.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

namespace {

constexpr const char16_t* KIND = u"FormSettings";
const std::vector<std::u16string> CONTROL_IDS
    = { u"menuMain", u"progress", u"btnRecord", u"btnDelete", u"btnPlay", u"message", u"grid" };

struct Contact {
    std::u16string text;
    bool tagged;
};

const std::vector<Contact> CONTACTS = {
    { u"Adam Brown, +44 20 7946 0018", true },
    { u"Anna Schmidt, +49 30 901820", false },
    { u"Jana Nováková, +420 601 234 567", true },
    { u"Janek Dvořák, +420 777 123 456", false },
    { u"Marie Janssen, +31 20 555 0134", false },
    { u"Maximilian Alexander von Hohenstein-Lichtenberg, +49 89 2180 0", true },
    { u"Office, +1 555 0100", false },
    { u"Pavel Novak, +420 602 987 654", false },
    { u"Zoe Turner, +1 555 0199", true },
};

// The contact list as the settings form draws it: a contact icon, the name
// and number, and a microphone for a number with a voice tag.
class ContactGrid final : public skinner::ControlGridFilter {
public:
    ContactGrid(skinner::Container& container)
        : ControlGridFilter(container, u"grid")
        , contact_(properties().picture(u"IconContact", {}))
        , assigned_(properties().picture(u"IconAssigned", {}))
        , gap_(properties().scaled_integer(u"Gap", 4))
    {
        refresh();
    }

    int row_count() const override { return static_cast<int>(CONTACTS.size()); }
    int column_count() const override { return 3; }
    int column_width(int column) const override
    {
        if (column == 1)
            return -1;
        return (column == 0 ? contact_ : assigned_).natural_size().width + 2 * gap_;
    }
    std::u16string cell_text(int column, int row) const override
    {
        return column == 1 ? CONTACTS[std::size_t(row)].text : std::u16string();
    }
    void paint_cell(int column, int row, platform::Canvas& canvas, platform::Rect rect,
        bool selected, bool highlighted) override
    {
        if (column == 1) {
            ControlGridFilter::paint_cell(column, row, canvas, rect, selected, highlighted);
            return;
        }
        cell_look(selected, highlighted).picture.draw(canvas, rect);
        if (column == 2 && !CONTACTS[std::size_t(row)].tagged)
            return;
        const skinner::Picture& icon = column == 0 ? contact_ : assigned_;
        platform::Size size = icon.natural_size();
        int x = rect.left + (rect.width() - size.width) / 2;
        int y = rect.top + (rect.height() - size.height) / 2;
        icon.draw(canvas, { x, y, x + size.width, y + size.height });
    }

private:
    skinner::Picture contact_, assigned_;
    int gap_;
};

void print_fit(const skinner::ControlButton& button)
{
    if (button.rect().is_empty())
        return;
    skinner::ElementProperties props = button.properties();
    skinner::FontDescription font = props.font(u"Normal", props.default_font());
    int text = platform::measure_text(skinner::FontRep::find(font).font(), button.text()).width;
    int left = props.point(u"BorderMin", {}).x;
    int right = props.point(u"BorderMax", props.point(u"BorderMin", {})).x;
    std::printf("fit %s %d %d\n", platform::to_utf8(button.id()).c_str(), text,
        button.rect().width() - left - right);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: settings-preview SKIN LANGUAGE PREFIX\n", stderr);
        return 2;
    }
    std::string prefix = argv[3];
    skinner::PictureCache::install();
    skinner::set_form_window_class(u"SkinnerClass_RingwisePreview");
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(platform::from_utf8(argv[1]), { screen.width, screen.height });
    if (!skin.check_version(u"Ringwise_settings_1.0", { screen.width, screen.height })) {
        std::fprintf(stderr, "%s does not pass the version check on %dx%d\n", argv[1], screen.width,
            screen.height);
        return 1;
    }
    skin.set_language(platform::from_utf8(argv[2]));
    for (const std::u16string& id : CONTROL_IDS) {
        if (!skin.has_node(KIND, id)) {
            std::fprintf(stderr, "no control %s\n", platform::to_utf8(id).c_str());
            return 1;
        }
    }

    PreviewForm form(skin, KIND);
    skinner::Control menu(form, u"menuMain");
    skinner::ControlProgress progress(form, u"progress");
    skinner::ControlButton record(form, u"btnRecord");
    skinner::ControlButton remove(form, u"btnDelete");
    skinner::ControlButton play(form, u"btnPlay");
    skinner::ControlPanel message(form, u"message");
    ContactGrid grid(form);
    progress.set_visible(false);
    message.set_visible(false);
    grid.set_selection(2);

    auto shot = [&](const char* state) { return PreviewForm::shot(prefix, state); };
    auto then = [](std::function<void()> a, std::function<void()> b) {
        return [a, b] {
            a();
            b();
        };
    };
    form.run({
        shot("browse"),
        [&] {
            grid.set_filter_text(u"jan");
            grid.set_selection(3);
            remove.set_enabled(false);
            play.set_enabled(false);
        },
        then(shot("filter"),
            [&] {
                message.set_visible(true);
                progress.set_visible(true);
                progress.set_value(0.4);
                grid.set_enabled(false);
                record.set_enabled(false);
            }),
        then(shot("record"),
            [&] {
                form.print_layout(CONTROL_IDS);
                for (const skinner::ControlButton* button : { &record, &play, &remove })
                    print_fit(*button);
            }),
    });
    return 0;
}

// Shows the recognition form of a compiled skin on the headless screen, with
// the controls the program makes, through the states of one run, and saves a
// screenshot of each state.
//
//   recognition-preview SKIN LANGUAGE PREFIX
//
// The screen and device come from RINGWISE_SCREEN and RINGWISE_PLATFORM.
// Writes PREFIX-STATE.png for the states idle, listening, processing,
// finished, long and rejected, and prints one line per control,
// "control ID LEFT TOP RIGHT BOTTOM" in screen coordinates, then "form"
// with the form's rectangle, "workarea" with the screen's and "scale" with
// the skin's scale. Exit status 1
// when the skin does not pass the version check or lacks a control.
#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlProgress.h"
#include "skinner/Form.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char16_t* KIND = u"FormRecognizing";
constexpr const char16_t* CONTROL_IDS[] = { u"menuMain", u"frmName", u"frmPhone", u"frmAccuracy",
    u"chkListening", u"chkProcessing", u"chkFinished", u"progress", u"btnCorrect", u"btnWrong" };

// The form as the program places it: the skin's size, centred in the work
// area at its top.
class PreviewForm final : public skinner::Form {
public:
    explicit PreviewForm(skinner::Skin& skin)
        : Form(nullptr, skin, KIND, nullptr)
    {
        place_on_screen();
    }

    void place_on_screen(bool = false) override
    {
        if (!window())
            return;
        skinner::Point size = get_skin().form_point(KIND, u"Size", {});
        platform::Rect work = platform::work_area();
        int x = work.left + (work.width() - size.x) / 2;
        platform::move_window(window(), { x, work.top, x + size.x, work.top + size.y });
    }

    // Runs each step after the screen showed the previous one.
    void run(std::vector<std::function<void()>> steps)
    {
        steps_ = std::move(steps);
        timer_ = start_timer(0.05);
        do_modal();
    }

    void on_timer(unsigned id) override
    {
        Form::on_timer(id);
        if (id != timer_)
            return;
        kill_timer(timer_);
        if (steps_.empty()) {
            close();
            return;
        }
        auto step = std::move(steps_.front());
        steps_.erase(steps_.begin());
        step();
        timer_ = start_timer(0.05);
    }

private:
    std::vector<std::function<void()>> steps_;
    unsigned timer_ { 0 };
};

struct Controls {
    std::unique_ptr<skinner::Control> menu;
    std::unique_ptr<skinner::ControlFrame> name, phone, accuracy;
    std::unique_ptr<skinner::ControlCheckBox> listening, processing, finished;
    std::unique_ptr<skinner::ControlProgress> progress;
    std::unique_ptr<skinner::ControlButton> correct, wrong;

    explicit Controls(skinner::Form& form)
        : menu(std::make_unique<skinner::Control>(form, u"menuMain"))
        , name(std::make_unique<skinner::ControlFrame>(form, u"frmName"))
        , phone(std::make_unique<skinner::ControlFrame>(form, u"frmPhone"))
        , accuracy(std::make_unique<skinner::ControlFrame>(form, u"frmAccuracy"))
        , listening(std::make_unique<skinner::ControlCheckBox>(form, u"chkListening"))
        , processing(std::make_unique<skinner::ControlCheckBox>(form, u"chkProcessing"))
        , finished(std::make_unique<skinner::ControlCheckBox>(form, u"chkFinished"))
        , progress(std::make_unique<skinner::ControlProgress>(form, u"progress"))
        , correct(std::make_unique<skinner::ControlButton>(form, u"btnCorrect"))
        , wrong(std::make_unique<skinner::ControlButton>(form, u"btnWrong"))
    {
        // As the recognition form starts: indicators only display, the
        // buttons wait for a match.
        for (skinner::Control* display : { static_cast<skinner::Control*>(listening.get()),
                 static_cast<skinner::Control*>(processing.get()),
                 static_cast<skinner::Control*>(finished.get()),
                 static_cast<skinner::Control*>(progress.get()) })
            display->set_focusable(false);
        correct->set_enabled(false);
        wrong->set_enabled(false);
    }
};

void print_rect(const std::string& what, const platform::Rect& r)
{
    std::printf("%s %d %d %d %d\n", what.c_str(), r.left, r.top, r.right, r.bottom);
}

void print_layout(skinner::Form& form)
{
    platform::Rect origin = platform::window_rect(form.window()).value_or(platform::Rect {});
    for (const char16_t* id : CONTROL_IDS) {
        platform::Rect r = form.find_control(id)->rect();
        print_rect("control " + platform::to_utf8(id),
            { origin.left + r.left, origin.top + r.top, origin.left + r.right,
                origin.top + r.bottom });
    }
    print_rect("form", origin);
    print_rect("workarea", platform::work_area());
    std::printf("scale %d\n", form.get_skin().scale());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: recognition-preview SKIN LANGUAGE PREFIX\n", stderr);
        return 2;
    }
    std::string prefix = argv[3];
    skinner::PictureCache::install();
    skinner::set_form_window_class(u"SkinnerClass_RingwisePreview");
    platform::Size screen = platform::screen_size();
    skinner::Skin skin(platform::from_utf8(argv[1]), { screen.width, screen.height });
    if (!skin.check_version(u"Ringwise_1.0", { screen.width, screen.height })) {
        std::fprintf(stderr, "%s does not pass the version check on %dx%d\n", argv[1], screen.width,
            screen.height);
        return 1;
    }
    skin.set_language(platform::from_utf8(argv[2]));
    for (const char16_t* id : CONTROL_IDS) {
        if (!skin.has_node(KIND, id)) {
            std::fprintf(stderr, "no control %s\n", platform::to_utf8(id).c_str());
            return 1;
        }
    }

    PreviewForm form(skin);
    platform::set_window_text(form.window(), u"Ringwise");
    Controls c(form);
    auto shot = [&](const char* state) {
        return [&, state] {
            std::string path = prefix + "-" + state + ".png";
            if (!platform::write_png(platform::capture_screen(), path))
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
        };
    };
    auto then = [](std::function<void()> a, std::function<void()> b) {
        return [a, b] {
            a();
            b();
        };
    };
    form.run({
        shot("idle"),
        [&] {
            c.listening->set_checked(true);
            c.progress->set_value(0.5);
        },
        then(shot("listening"),
            [&] {
                c.listening->set_checked(false);
                c.processing->set_checked(true);
                c.progress->set_value(1.0);
            }),
        then(shot("processing"),
            [&] {
                c.processing->set_checked(false);
                c.finished->set_checked(true);
                c.name->set_text(u"Jana Nováková");
                c.phone->set_text(u"+420 601 234 567 Mobile");
                c.accuracy->set_text(skin.translate(u"Accuracy") + u" 87%");
                c.correct->set_enabled(true);
                c.wrong->set_enabled(true);
            }),
        then(shot("finished"),
            [&] {
                c.name->set_text(u"Maximilian Alexander von Hohenstein-Lichtenberg");
                c.phone->set_text(u"+49 30 1234 5678 90 Business fax");
            }),
        then(shot("long"),
            [&] {
                c.finished->set_checked(true);
                c.name->set_text(skin.translate(u"Not_recognized"));
                c.phone->set_text(u"");
                c.accuracy->set_text(u"");
                c.correct->set_enabled(false);
                c.wrong->set_enabled(false);
            }),
        then(shot("rejected"), [&] { print_layout(form); }),
    });

    return 0;
}

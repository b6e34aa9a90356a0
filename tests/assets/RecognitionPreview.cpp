// Shows the recognition form of a compiled skin on the headless screen, with
// the controls the program makes, through the states of one run, and saves a
// screenshot of each state.
//
//   recognition-preview SKIN LANGUAGE PREFIX
//
// The screen and device come from RINGWISE_SCREEN and RINGWISE_PLATFORM.
// Writes PREFIX-STATE.png for the states idle, listening, processing,
// finished, long and rejected, then prints the layout (PreviewForm.h).
// Exit status 1 when the skin does not pass the version check or lacks a
// control.
#include "tests/assets/PreviewForm.h"

#include "skinner/ControlButton.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlProgress.h"
#include "skinner/PictureCache.h"
#include "skinner/Skin.h"

#include <memory>

namespace {

constexpr const char16_t* KIND = u"FormRecognizing";
const std::vector<std::u16string> CONTROL_IDS
    = { u"menuMain", u"frmName", u"frmPhone", u"frmAccuracy", u"chkListening", u"chkProcessing",
          u"chkFinished", u"progress", u"btnCorrect", u"btnWrong" };

struct Controls {
    skinner::Control menu;
    skinner::ControlFrame name, phone, accuracy;
    skinner::ControlCheckBox listening, processing, finished;
    skinner::ControlProgress progress;
    skinner::ControlButton correct, wrong;

    explicit Controls(skinner::Form& form)
        : menu(form, u"menuMain")
        , name(form, u"frmName")
        , phone(form, u"frmPhone")
        , accuracy(form, u"frmAccuracy")
        , listening(form, u"chkListening")
        , processing(form, u"chkProcessing")
        , finished(form, u"chkFinished")
        , progress(form, u"progress")
        , correct(form, u"btnCorrect")
        , wrong(form, u"btnWrong")
    {
        // As the recognition form starts: the indicators only display, the
        // buttons wait for a match.
        for (skinner::Control* display : std::initializer_list<skinner::Control*> {
                 &listening, &processing, &finished, &progress })
            display->set_focusable(false);
        correct.set_enabled(false);
        wrong.set_enabled(false);
    }
};

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
    for (const std::u16string& id : CONTROL_IDS) {
        if (!skin.has_node(KIND, id)) {
            std::fprintf(stderr, "no control %s\n", platform::to_utf8(id).c_str());
            return 1;
        }
    }

    PreviewForm form(skin, KIND);
    Controls c(form);
    auto shot = [&](const char* state) { return PreviewForm::shot(prefix, state); };
    auto then = [](std::function<void()> a, std::function<void()> b) {
        return [a, b] {
            a();
            b();
        };
    };
    form.run({
        shot("idle"),
        [&] {
            c.listening.set_checked(true);
            c.progress.set_value(0.5);
        },
        then(shot("listening"),
            [&] {
                c.listening.set_checked(false);
                c.processing.set_checked(true);
                c.progress.set_value(1.0);
            }),
        then(shot("processing"),
            [&] {
                c.processing.set_checked(false);
                c.finished.set_checked(true);
                c.name.set_text(u"Jana Nováková");
                c.phone.set_text(u"+420 601 234 567 Mobile");
                c.accuracy.set_text(skin.translate(u"Accuracy") + u" 87%");
                c.correct.set_enabled(true);
                c.wrong.set_enabled(true);
            }),
        then(shot("finished"),
            [&] {
                c.name.set_text(u"Maximilian Alexander von Hohenstein-Lichtenberg");
                c.phone.set_text(u"+49 30 1234 5678 90 Business fax");
            }),
        then(shot("long"),
            [&] {
                c.name.set_text(skin.translate(u"Not_recognized"));
                c.phone.set_text(u"");
                c.accuracy.set_text(u"");
                c.correct.set_enabled(false);
                c.wrong.set_enabled(false);
            }),
        then(shot("rejected"), [&] { form.print_layout(CONTROL_IDS); }),
    });
    return 0;
}

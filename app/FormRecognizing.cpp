#include "app/FormRecognizing.h"

#include "app/Document.h"
#include "app/FormMessage.h"
#include "app/SkinSound.h"
#include "app/TagMatching.h"
#include "audio/AudioBuffer.h"
#include "platform/Screen.h"
#include "platform/Window.h"

#include <string>

namespace {

Document& document()
{
    return *Document::instance();
}

std::u16string decimal(int value)
{
    std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

} // namespace

FormRecognizing::FormRecognizing(skinner::Skin& skin)
    : Form(nullptr, skin, u"FormRecognizing", nullptr)
    , menu_(*this, u"menuMain")
    , cancel_item_(menu_, u"Cancel", skin.translate(u"Cancel", u":)"), u"#smartphone_ok#")
    , correct_item_(menu_, u"Correct", skin.translate(u"Correct", u":)"), u"#smartphone_ok#")
    , wrong_item_(menu_, u"Wrong", skin.translate(u"Wrong", u":)"), u"#smartphone_menu#")
    , name_(*this, u"frmName")
    , phone_(*this, u"frmPhone")
    , listening_(*this, u"chkListening")
    , processing_(*this, u"chkProcessing")
    , finished_(*this, u"chkFinished")
    , accuracy_(*this, u"frmAccuracy")
    , progress_(*this, u"progress")
    , correct_(*this, u"btnCorrect")
    , wrong_(*this, u"btnWrong")
{
    // The indicators only display.
    listening_.set_focusable(false);
    processing_.set_focusable(false);
    finished_.set_focusable(false);
    progress_.set_focusable(false);
    correct_.set_enabled(false);
    wrong_.set_enabled(false);
    correct_item_.set_visible(false);
    wrong_item_.set_visible(false);
    // The title bar names the program unless the skin's caption button
    // gave the window a title of its own.
    if (platform::window_text(window()) == u"Loading...")
        platform::set_window_text(window(), u"Ringwise");
    place_on_screen();
}

FormRecognizing::~FormRecognizing()
{
    kill_timer(step_timer_);
}

void FormRecognizing::start_run()
{
    start_step(TICK_SECONDS);
}

void FormRecognizing::start_step(double seconds)
{
    step_timer_ = start_timer(seconds);
}

void FormRecognizing::on_timer(unsigned timer_id)
{
    if (timer_id != 0 && timer_id == step_timer_) {
        kill_timer(step_timer_);
        step_timer_ = 0;
        step();
    }
    Form::on_timer(timer_id);
}

void FormRecognizing::step()
{
    const Settings& settings = document().settings();
    switch (state_) {
    case RunState::Starting:
        if (settings.play_sound)
            play_skin_sound(u"start.wav", true);
        if (!document().start_recording()) {
            close();
            return;
        }
        listening_.set_checked(true);
        state_ = RunState::Listening;
        start_step(TICK_SECONDS);
        return;
    case RunState::Listening:
        listen();
        start_step(TICK_SECONDS);
        return;
    case RunState::Processing:
        match();
        start_step(TICK_SECONDS);
        return;
    case RunState::Rejected:
        if (settings.play_sound)
            play_skin_sound(u"wrong.wav", false);
        state_ = RunState::Closing;
        start_step(REJECTION_SECONDS);
        return;
    case RunState::Accepted:
        accept();
        return;
    case RunState::PlayingCommand:
        if (document().audio().player().is_finished())
            confirm();
        else
            start_step(TICK_SECONDS);
        return;
    case RunState::AwaitingConfirmation:
        on_command(u"Wrong");
        return;
    case RunState::Closing:
        close();
        return;
    }
}

void FormRecognizing::listen()
{
    double elapsed = document().elapsed();
    progress_.set_value(elapsed / MAX_RECORD_SECONDS);
    if (elapsed <= MAX_RECORD_SECONDS)
        return;
    // The device hands over its last block a little after the stopwatch
    // passes the duration; the match takes the whole capture.
    audio::AudioBuffer& buffer = document().audio().capture_buffer();
    if (buffer.recorded_seconds() < buffer.duration()
        && elapsed <= MAX_RECORD_SECONDS + audio::last_block_seconds())
        return;
    state_ = RunState::Processing;
}

void FormRecognizing::match()
{
    float best = document().settings().engine == MatchingEngine::Precise ? match_precise()
                                                                         : match_classic();
    if (best > 0.0f) {
        state_ = RunState::Accepted;
        show_match(best);
    } else {
        state_ = RunState::Rejected;
        name_.set_text(get_skin().translate(u"Not_recognized"));
    }
}

float FormRecognizing::match_classic()
{
    FeatureSet features;
    if (!document().finish_recording(features))
        return 0.0f;
    listening_.set_checked(false);
    processing_.set_checked(true);
    Document& model = document();
    RecognitionScore score = match_tags(model, features);
    processing_.set_checked(false);
    finished_.set_checked(true);
    if (!score.recognized())
        return 0.0f;
    current_ = model.commands()[static_cast<std::size_t>(score.winner())];
    needs_confirmation_ = model.settings().wait_confirmation;
    return score.best_accuracy();
}

float FormRecognizing::match_precise()
{
    listening_.set_checked(false);
    processing_.set_checked(true);
    Document& model = document();
    PreciseRecognition recognition = model.finish_precise_recognition();
    processing_.set_checked(false);
    finished_.set_checked(true);
    if (recognition.verdict == MatchVerdict::None || recognition.command < 0)
        return 0.0f;
    current_ = model.commands()[static_cast<std::size_t>(recognition.command)];
    needs_confirmation_ = recognition.needs_confirmation(model.settings().wait_confirmation);
    return recognition.accuracy;
}

void FormRecognizing::show_match(float accuracy)
{
    skinner::Skin& skin = get_skin();
    name_.set_text(current_.full_name);
    phone_.set_text(join(current_.phone, current_.phone_type, u" "));
    accuracy_.set_text(
        skin.translate(u"Accuracy") + u" " + decimal(static_cast<int>(accuracy)) + u"%");
    correct_.set_enabled(true);
    wrong_.set_enabled(true);
    cancel_item_.set_visible(false);
    correct_item_.set_visible(true);
    wrong_item_.set_visible(true);
}

void FormRecognizing::accept()
{
    const Settings& settings = document().settings();
    if (settings.play_sound)
        play_skin_sound(u"right.wav", true);
    if (settings.play_commands) {
        document().play(u"%app_path%/commands/" + current_.voice + u".wav");
        state_ = RunState::PlayingCommand;
        start_step(TICK_SECONDS);
        return;
    }
    confirm();
}

void FormRecognizing::confirm()
{
    if (needs_confirmation_) {
        state_ = RunState::AwaitingConfirmation;
        start_step(CONFIRMATION_SECONDS);
        return;
    }
    on_command(u"Correct");
}

void FormRecognizing::on_command(const std::u16string& text)
{
    if (text == u"Cancel" || text == u"Correct" || text == u"Wrong") {
        end_run(text);
        return;
    }
    Form::on_command(text);
}

void FormRecognizing::on_control(skinner::Control& sender)
{
    if (&sender == &correct_)
        on_command(u"Correct");
    else if (&sender == &wrong_)
        on_command(u"Cancel");
}

void FormRecognizing::end_run(const std::u16string& text)
{
    // The modal loop ends after the close; nothing may dial twice meanwhile.
    if (ended_)
        return;
    ended_ = true;
    state_ = RunState::Closing;
    kill_timer(step_timer_);
    step_timer_ = 0;
    if (text == u"Correct" && !document().contacts().make_call(current_.phone))
        show_call_failed();
    close();
}

void FormRecognizing::place_on_screen(bool)
{
    platform::WindowHandle own = window();
    if (!own)
        return;
    skinner::Point size = get_skin().form_point(kind(), u"Size", { 0, 0 });
    platform::Rect area = is_fullscreen()
        ? platform::Rect { 0, 0, platform::screen_size().width, platform::screen_size().height }
        : platform::work_area();
    int x = area.left + (area.width() - size.x) / 2;
    platform::move_window(own, { x, area.top, x + size.x, area.top + size.y });
}

void FormRecognizing::play_skin_sound(const std::u16string& name, bool wait)
{
    SkinSound sound = find_skin_sound(get_skin().path(), name);
    document().play_file(sound.path, sound.offset, wait);
}

void FormRecognizing::show_call_failed()
{
    skinner::Skin& skin = get_skin();
    show_message(this, skin.translate(u"Warning"),
        join(skin.translate(u"Call_failed"), current_.phone, u"\n"), u"MessageOk");
}

#pragma once

#include "app/Command.h"
#include "app/RunState.h"
#include "audio/CaptureFormat.h"
#include "skinner/ControlButton.h"
#include "skinner/ControlCheckBox.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/ControlProgress.h"
#include "skinner/Form.h"
#include "skinner/MenuMainButton.h"

#include <memory>
#include <string>

// The recognition run: one form that plays the start prompt, records
// MAX_RECORD_SECONDS of speech, matches it with every stored tag, shows the
// best match and dials it, then closes. The run is a state machine advanced
// by one-shot step timers on the user-interface thread; at most one step
// timer is pending. Capture and playback run on the audio threads.
class FormRecognizing : public skinner::Form {
public:
    static constexpr double TICK_SECONDS = 0.1;
    static constexpr double MAX_RECORD_SECONDS = audio::MAX_RECORD_SECONDS;
    static constexpr std::int32_t LEAD_IN_BYTES = audio::LEAD_IN_BYTES;
    static constexpr double REJECTION_SECONDS = 2.0;
    static constexpr double CONFIRMATION_SECONDS = 5.0;

    explicit FormRecognizing(skinner::Skin& skin);
    ~FormRecognizing() override;

    // Starts the run: its first step comes after TICK_SECONDS.
    void start_run();

    void on_timer(unsigned timer_id) override;
    void on_command(const std::u16string& text) override;
    void on_control(skinner::Control& sender) override;
    void place_on_screen(bool screen_changed = false) override;

    // Plays a prompt of the recognition skin; with `wait`, returns when it
    // has played.
    void play_skin_sound(const std::u16string& name, bool wait);

    RunState state() const { return state_; }
    unsigned step_timer() const { return step_timer_; }
    const Command& current_command() const { return current_; }

private:
    void step();
    void start_step(double seconds);
    void listen();
    void match();
    // The best tag's accuracy, and current_ set to its command; 0 for none.
    float match_classic();
    float match_precise();
    void show_match(float accuracy);
    void accept();
    void confirm();
    void end_run(const std::u16string& text);
    void show_call_failed();

    RunState state_ { RunState::Starting };
    unsigned step_timer_ { 0 };
    Command current_;
    // Whether the matched command is dialled only after the user confirms.
    bool needs_confirmation_ { false };
    bool ended_ { false };

    // The menu before its entries, which go first.
    skinner::ControlMenuMain menu_;
    skinner::MenuMainButton cancel_item_;
    skinner::MenuMainButton correct_item_;
    skinner::MenuMainButton wrong_item_;
    skinner::ControlFrame name_;
    skinner::ControlFrame phone_;
    skinner::ControlCheckBox listening_;
    skinner::ControlCheckBox processing_;
    skinner::ControlCheckBox finished_;
    skinner::ControlFrame accuracy_;
    skinner::ControlProgress progress_;
    skinner::ControlButton correct_;
    skinner::ControlButton wrong_;
};

#pragma once

#include "skinner/ControlButton.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/Form.h"

#include <string>

// A message or a question in the program's own look: a small form of the
// dialogs skin with the title on "btnCaption", the text on "frmText", the
// form's menu bar "MenuMain", and the skin's own buttons, whose ids are
// the possible answers. "MessageOk" closes on any button; "MessageYesNo"
// has "btnYes" and "btnNo". Pressing "btnCaption" does nothing; closing the
// window otherwise leaves the answer empty. User-interface thread only.
class FormMessage : public skinner::Form {
public:
    FormMessage(skinner::Form* parent, skinner::Skin& skin, const std::u16string& title,
        const std::u16string& text, const std::u16string& kind);
    ~FormMessage() override;

    // The id of the button that closed the form; empty before, or when the
    // form closed by other means.
    const std::u16string& answer() const { return answer_; }

    void on_control(skinner::Control& sender) override;

private:
    skinner::ControlMenuMain menu_;
    skinner::ControlButton caption_;
    skinner::ControlFrame text_;
    std::u16string answer_;
};

// Shows `text` under `title` as a form of `kind` ("MessageOk",
// "MessageYesNo") of "%app_path%/skins/settings/dialogs.skin", loaded for
// the screen without a language table (callers pass translated texts), over
// `parent`, and returns the answer once it closes. A missing or unusable
// dialogs skin, or one without that form, is logged and answers empty.
// Only "btnYes", exactly, means yes.
std::u16string show_message(skinner::Form* parent, const std::u16string& title,
    const std::u16string& text, const std::u16string& kind);
// The same with the dialogs skin at `skin_path`.
std::u16string show_message_with(const std::u16string& skin_path, skinner::Form* parent,
    const std::u16string& title, const std::u16string& text, const std::u16string& kind);

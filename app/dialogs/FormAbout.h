#pragma once

#include "skinner/ControlButton.h"
#include "skinner/ControlFrame.h"
#include "skinner/ControlMenuMain.h"
#include "skinner/ControlPicture.h"
#include "skinner/Form.h"

#include <string>

namespace dialogs {

// The About box: the product text, the logo of the distribution "portal"
// and buttons that open the portal's and the maker's web pages.
//
// The portal's name P is the "Portal" entry of "portal.txt" in the program's
// folder (a language file; empty without one). It prefixes the language keys
// of the logos and of the portal's page: the translations of P + "_LOGO_S"
// and P + "_LOGO_M" name the small and the medium logo in the folder "fun",
// P + "_LOGO_URL" the portal's page. The medium logo is shown when it fits
// the logo frame, else the small one; without either the logo and its button
// are hidden.
class FormAbout : public skinner::Form {
public:
    // `folder` holds "portal.txt" and "fun" (the program's folder).
    FormAbout(skinner::Form* parent, skinner::Skin& skin, const std::u16string& caption_key,
        const std::u16string& product, const std::u16string& folder = u"%app_path%");
    ~FormAbout() override;

    const std::u16string& portal() const { return portal_; }
    // The logo shown, empty when none is.
    const skinner::Picture& logo() const { return logo_.picture(); }
    bool shows_medium_logo() const { return medium_shown_; }

    void on_control(skinner::Control& sender) override;

private:
    std::u16string read_portal() const;
    skinner::Picture load_logo(const std::u16string& key) const;
    void choose_logo();
    void open(const std::u16string& key) const;

    std::u16string folder_;
    std::u16string portal_;
    skinner::ControlMenuMain menu_;
    skinner::ControlFrame product_;
    skinner::ControlPicture logo_;
    skinner::ControlButton logo_button_;
    skinner::ControlButton maker_button_;
    skinner::ControlButton ok_button_;
    bool medium_shown_ { false };
};

} // namespace dialogs

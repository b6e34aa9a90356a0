#pragma once

#include "skinner/ControlButtonBase.h"

namespace skinner {

// A button that shows its "Picture" whole: never enlarged, shrunk with its
// proportions kept when it is larger than the control, and placed by
// "PictureHAlignment" and "PictureVAlignment".
class ControlPicture : public ControlButtonBase {
public:
    ControlPicture(Container& container, std::u16string id,
        ControlKind kind = ControlKind::Ordinary, std::u16string node = {});

    void set_picture(const Picture& picture);
    const Picture& picture() const { return picture_; }
    // Where the picture is drawn (container coordinates); empty for an
    // empty picture.
    platform::Rect picture_rect() const;

    void read_properties() override;
    const char* class_name() const override { return "ControlPicture"; }

protected:
    void paint_content(platform::Canvas& canvas) override;

private:
    void read_picture_properties();

    Picture picture_;
    HAlignment picture_h_ { HAlignment::CENTER };
    VAlignment picture_v_ { VAlignment::VCENTER };
};

} // namespace skinner

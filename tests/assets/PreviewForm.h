#pragma once

#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Window.h"
#include "platform/graphics/PngWriter.h"
#include "skinner/Control.h"
#include "skinner/Form.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// A form of a shipped skin on the headless screen, placed as the program's
// forms place themselves (the skin's size, centred in the work area at its
// top), that runs steps in its modal loop, each after the screen showed the
// previous one, and closes after the last.
class PreviewForm final : public skinner::Form {
public:
    PreviewForm(skinner::Skin& skin, const std::u16string& kind)
        : Form(nullptr, skin, kind, nullptr)
    {
        place_on_screen();
        platform::set_window_text(window(), u"Ringwise");
    }

    void place_on_screen(bool = false) override
    {
        if (!window())
            return;
        skinner::Point size = get_skin().form_point(kind(), u"Size", {});
        platform::Rect work = platform::work_area();
        int x = work.left + (work.width() - size.x) / 2;
        platform::move_window(window(), { x, work.top, x + size.x, work.top + size.y });
    }

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

    // A step that saves the screen as PREFIX-STATE.png.
    static std::function<void()> shot(const std::string& prefix, const std::string& state)
    {
        return [path = prefix + "-" + state + ".png"] {
            if (!platform::write_png(platform::capture_screen(), path))
                std::fprintf(stderr, "cannot write %s\n", path.c_str());
        };
    }

    // Prints "control ID LEFT TOP RIGHT BOTTOM" in screen coordinates for
    // each id, then "form", "workarea" and "scale".
    void print_layout(const std::vector<std::u16string>& ids)
    {
        platform::Rect origin = platform::window_rect(window()).value_or(platform::Rect {});
        auto print = [](const std::string& what, const platform::Rect& r) {
            std::printf("%s %d %d %d %d\n", what.c_str(), r.left, r.top, r.right, r.bottom);
        };
        for (const std::u16string& id : ids) {
            platform::Rect r = find_control(id)->rect();
            print("control " + platform::to_utf8(id),
                { origin.left + r.left, origin.top + r.top, origin.left + r.right,
                    origin.top + r.bottom });
        }
        print("form", origin);
        print("workarea", platform::work_area());
        std::printf("scale %d\n", get_skin().scale());
    }

private:
    std::vector<std::function<void()>> steps_;
    unsigned timer_ { 0 };
};

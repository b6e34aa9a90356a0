#include "platform/Convert.h"
#include "platform/Screen.h"
#include "platform/Tick.h"
#include "platform/screen/Display.h"
#include "platform/screen/WindowPlacement.h"

#include <SDL.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>

namespace platform::detail {

namespace {

int virtual_key_of(SDL_Keycode key)
{
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + (key - SDLK_0);
    switch (key) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_ESCAPE:
    case SDLK_AC_BACK:
        return VK_TBACK;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_APPLICATION:
    case SDLK_MENU:
        return VK_APPS;
    // The soft keys: F1 and F2 on a desktop keyboard, the volume keys on a
    // phone that reports them.
    case SDLK_F1:
    case SDLK_VOLUMEUP:
        return VK_TSOFT1;
    case SDLK_F2:
    case SDLK_VOLUMEDOWN:
        return VK_TSOFT2;
    default:
        return 0;
    }
}

PointerButton button_of(Uint8 button)
{
    switch (button) {
    case SDL_BUTTON_LEFT:
        return PointerButton::Left;
    case SDL_BUTTON_RIGHT:
        return PointerButton::Right;
    case SDL_BUTTON_MIDDLE:
        return PointerButton::Middle;
    default:
        return PointerButton::None;
    }
}

DisplayEvent pointer_event(PointerAction action, PointerButton button, Point point)
{
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::Pointer;
    event.action = action;
    event.button = button;
    event.point = point;
    return event;
}

SDL_SystemCursor sdl_cursor_of(SystemCursor cursor)
{
    switch (cursor) {
    case SystemCursor::Hand:
        return SDL_SYSTEM_CURSOR_HAND;
    case SystemCursor::IBeam:
        return SDL_SYSTEM_CURSOR_IBEAM;
    case SystemCursor::SizeNESW:
        return SDL_SYSTEM_CURSOR_SIZENESW;
    case SystemCursor::SizeNS:
        return SDL_SYSTEM_CURSOR_SIZENS;
    case SystemCursor::SizeNWSE:
        return SDL_SYSTEM_CURSOR_SIZENWSE;
    case SystemCursor::SizeWE:
        return SDL_SYSTEM_CURSOR_SIZEWE;
    case SystemCursor::SizeAll:
        return SDL_SYSTEM_CURSOR_SIZEALL;
    case SystemCursor::Wait:
        return SDL_SYSTEM_CURSOR_WAIT;
    case SystemCursor::No:
        return SDL_SYSTEM_CURSOR_NO;
    case SystemCursor::AppStarting:
        return SDL_SYSTEM_CURSOR_WAITARROW;
    case SystemCursor::None:
    case SystemCursor::Arrow:
    case SystemCursor::Help:
        break;
    }
    return SDL_SYSTEM_CURSOR_ARROW;
}

// Without a display SDL falls back to drivers that show nothing; a window
// there would wait for input that never comes. Only asked for by name
// (SDL_VIDEODRIVER) are they used.
bool has_display()
{
    std::string driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    return std::getenv("SDL_VIDEODRIVER") || (driver != "offscreen" && driver != "dummy");
}

WindowPlacement placement_on_display(std::optional<Size> forced)
{
    std::optional<Size> display;
    if (SDL_Rect bounds {}; SDL_GetDisplayUsableBounds(0, &bounds) == 0)
        display = Size { bounds.w, bounds.h };
    return place_window(forced, display);
}

// The device screen as an SDL window drawn by SDL's software renderer. The
// screen is the window's drawable size in pixels, so that a high-density
// display gets twice the pixels (and skins their scale 2); pointer positions
// arrive in logical pixels and are scaled to it. Resizing or rotating the
// window resizes the screen.
class SdlDisplay final : public Display {
public:
    ~SdlDisplay() override
    {
        for (auto& [id, cursor] : cursors_)
            SDL_FreeCursor(cursor);
        if (texture_)
            SDL_DestroyTexture(texture_);
        if (renderer_)
            SDL_DestroyRenderer(renderer_);
        if (window_)
            SDL_DestroyWindow(window_);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    bool open(std::optional<Size> forced)
    {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        // Touch arrives as finger events; SDL's mouse copies of them would
        // press every button twice.
        SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return fail("cannot start SDL video");
        if (!has_display()) {
            std::fprintf(stderr, "screen: no display, the screen stays off-screen\n");
            return false;
        }
        wake_event_ = SDL_RegisterEvents(1);
        WindowPlacement placement = placement_on_display(forced);
        Uint32 flags = SDL_WINDOW_RESIZABLE;
        if (placement.full_screen)
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (placement.high_density)
            flags |= SDL_WINDOW_ALLOW_HIGHDPI;
        window_ = SDL_CreateWindow("Ringwise", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
            placement.size.width, placement.size.height, flags);
        if (!window_)
            return fail("cannot open the window");
        renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
        if (!renderer_)
            return fail("cannot create the renderer");
        measure();
        SDL_StartTextInput();
        return true;
    }

    bool shows() const override { return true; }
    Size size() const override { return drawable_; }

    bool poll(DisplayEvent& event) override
    {
        SDL_Event sdl;
        while (SDL_PollEvent(&sdl)) {
            if (translate(sdl, event))
                return true;
        }
        return false;
    }

    void present(const Bitmap& screen) override
    {
        if (!texture_ || texture_size_ != screen.size()) {
            if (texture_)
                SDL_DestroyTexture(texture_);
            texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                SDL_TEXTUREACCESS_STREAMING, screen.width(), screen.height());
            texture_size_ = screen.size();
            if (!texture_)
                return;
        }
        SDL_UpdateTexture(texture_, nullptr, screen.data(), screen.width() * 4);
        SDL_RenderClear(renderer_);
        SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
        SDL_RenderPresent(renderer_);
    }

    void wait(std::optional<std::uint32_t> timeout) override
    {
        if (timeout)
            SDL_WaitEventTimeout(nullptr, static_cast<int>(real_milliseconds(*timeout)));
        else
            SDL_WaitEvent(nullptr);
    }

    void wake() override
    {
        // One wake-up event in the queue is enough to end a wait.
        if (wake_pending_.exchange(true))
            return;
        SDL_Event event {};
        event.type = wake_event_;
        SDL_PushEvent(&event);
    }

    void minimize() override { SDL_MinimizeWindow(window_); }

    void set_cursor(SystemCursor cursor) override
    {
        SDL_SystemCursor id = sdl_cursor_of(cursor);
        auto found = cursors_.find(id);
        if (found == cursors_.end())
            found = cursors_.emplace(id, SDL_CreateSystemCursor(id)).first;
        if (found->second)
            SDL_SetCursor(found->second);
    }

private:
    // Reads the window's logical and drawable sizes; true when the drawable
    // one changed.
    bool measure()
    {
        Size old = drawable_;
        SDL_GetWindowSize(window_, &window_size_.width, &window_size_.height);
        if (SDL_GetRendererOutputSize(renderer_, &drawable_.width, &drawable_.height) != 0)
            drawable_ = window_size_;
        return drawable_ != old;
    }

    Point to_screen(int x, int y) const
    {
        return window_to_screen({ x, y }, window_size_, drawable_);
    }

    bool fail(const char* what)
    {
        std::fprintf(stderr, "screen: %s: %s\n", what, SDL_GetError());
        return false;
    }

    bool translate(const SDL_Event& sdl, DisplayEvent& event)
    {
        using Kind = DisplayEvent::Kind;
        if (sdl.type == wake_event_) {
            wake_pending_.store(false);
            return false;
        }
        switch (sdl.type) {
        case SDL_QUIT:
            event = DisplayEvent {};
            return true;
        case SDL_WINDOWEVENT:
        case SDL_DISPLAYEVENT:
            // A resize, a move to a display of another density or a
            // rotation: the screen changes when the drawable size does.
            if (sdl.type == SDL_WINDOWEVENT && sdl.window.event != SDL_WINDOWEVENT_SIZE_CHANGED
                && sdl.window.event != SDL_WINDOWEVENT_DISPLAY_CHANGED)
                return false;
            if (!measure())
                return false;
            event = DisplayEvent {};
            event.kind = Kind::Resize;
            event.size = drawable_;
            return true;
        case SDL_MOUSEMOTION:
            event = pointer_event(
                PointerAction::Move, PointerButton::None, to_screen(sdl.motion.x, sdl.motion.y));
            return true;
        case SDL_MOUSEWHEEL: {
            int x = 0;
            int y = 0;
            SDL_GetMouseState(&x, &y);
            int notches
                = sdl.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -sdl.wheel.y : sdl.wheel.y;
            event = pointer_event(PointerAction::Move, PointerButton::None, to_screen(x, y));
            event.kind = Kind::Wheel;
            event.wheel = notches * WHEEL_DELTA;
            return notches != 0;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            event = pointer_event(
                sdl.type == SDL_MOUSEBUTTONDOWN ? PointerAction::Down : PointerAction::Up,
                button_of(sdl.button.button), to_screen(sdl.button.x, sdl.button.y));
            return event.button != PointerButton::None;
        case SDL_FINGERDOWN:
        case SDL_FINGERUP:
        case SDL_FINGERMOTION: {
            PointerAction action = sdl.type == SDL_FINGERDOWN ? PointerAction::Down
                : sdl.type == SDL_FINGERUP                    ? PointerAction::Up
                                                              : PointerAction::Move;
            event = pointer_event(action,
                action == PointerAction::Move ? PointerButton::None : PointerButton::Left,
                { static_cast<int>(sdl.tfinger.x * static_cast<float>(drawable_.width)),
                    static_cast<int>(sdl.tfinger.y * static_cast<float>(drawable_.height)) });
            return true;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            event = DisplayEvent {};
            event.kind = Kind::Key;
            event.virtual_key = virtual_key_of(sdl.key.keysym.sym);
            event.down = sdl.type == SDL_KEYDOWN;
            return event.virtual_key != 0;
        case SDL_TEXTINPUT:
            event = DisplayEvent {};
            event.kind = Kind::Text;
            event.text = from_utf8(sdl.text.text);
            return !event.text.empty();
        default:
            return false;
        }
    }

    SDL_Window* window_ { nullptr };
    SDL_Renderer* renderer_ { nullptr };
    SDL_Texture* texture_ { nullptr };
    Size texture_size_;
    Size window_size_;
    Size drawable_;
    Uint32 wake_event_ { 0 };
    std::atomic<bool> wake_pending_ { false };
    std::unordered_map<int, SDL_Cursor*> cursors_;
};

} // namespace

std::optional<Size> sdl_window_size()
{
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return std::nullopt;
    std::optional<Size> size;
    if (has_display())
        size = placement_on_display(std::nullopt).size;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return size;
}

std::unique_ptr<Display> make_sdl_display(std::optional<Size> forced)
{
    auto display = std::make_unique<SdlDisplay>();
    if (!display->open(forced))
        return nullptr;
    return display;
}

} // namespace platform::detail

#include "platform/screen/Clipboard.h"

#include "platform/Convert.h"

#include <SDL.h>

namespace platform {

namespace {

std::u16string& local_clipboard()
{
    static std::u16string text;
    return text;
}

bool desktop_clipboard()
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

} // namespace

void set_clipboard_text(const std::u16string& text)
{
    local_clipboard() = text;
    if (desktop_clipboard())
        SDL_SetClipboardText(to_utf8(text).c_str());
}

std::u16string clipboard_text()
{
    if (!desktop_clipboard())
        return local_clipboard();
    char* text = SDL_GetClipboardText();
    if (!text)
        return local_clipboard();
    std::u16string result = from_utf8(text);
    SDL_free(text);
    return result;
}

bool has_clipboard_text()
{
    return !clipboard_text().empty();
}

} // namespace platform

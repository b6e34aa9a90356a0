#pragma once

#include <string>

// The text clipboard: the desktop's, through SDL, while an SDL window shows;
// otherwise (headless, or before the screen is up) one kept by the process.
// User-interface thread only.
namespace platform {

void set_clipboard_text(const std::u16string& text);
std::u16string clipboard_text();
// Whether the clipboard holds text to paste.
bool has_clipboard_text();

} // namespace platform

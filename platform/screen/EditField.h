#pragma once

#include "platform/Message.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/Geometry.h"

#include <cstddef>
#include <string>

// The system's single-line edit field: a child window of the class "edit"
// that keeps its text, caret and selection, takes typing (WM_CHAR and
// WM_IME_COMPOSITION), the editing keys, pointer selection and the
// clipboard, and draws itself into its area of the top-level window's
// surface without a background of its own, over what its parent drew.
//
// It tells its parent through WM_COMMAND, as the device does: the low word
// of wparam is the field's id (the `menu` value it was created with), the
// high word the code, lparam the field's handle value. Keys it does not use
// (Tab, Return, Escape, Up, Down, the soft keys) are sent on to the parent.
// User-interface thread only.
namespace platform {

inline constexpr char16_t EDIT_CLASS[] = u"edit";

// Notification codes in the high word of WM_COMMAND's wparam.
inline constexpr int EN_SETFOCUS = 0x0100;
inline constexpr int EN_KILLFOCUS = 0x0200;
inline constexpr int EN_CHANGE = 0x0300;

// How the field draws: the text colour, the background of selected text
// and the colour of selected text.
struct EditLook {
    Font font;
    Color text { make_color(0, 0, 0) };
    Color selection { make_color(0, 0, 128) };
    Color selected_text { make_color(255, 255, 255) };
};

// Creates a shown field in `parent` (its rectangle in the parent's client
// coordinates). The empty handle when the parent is not a window.
WindowHandle create_edit_field(WindowHandle parent, int id, const Rect& rect);

std::u16string edit_text(WindowHandle field);
// Replaces the text, puts the caret at its end and notifies EN_CHANGE.
void set_edit_text(WindowHandle field, const std::u16string& text);
void set_edit_look(WindowHandle field, const EditLook& look);
void set_edit_read_only(WindowHandle field, bool read_only);
bool edit_read_only(WindowHandle field);

// The selection runs from the anchor to the caret (either may come first).
struct EditSelection {
    std::size_t anchor { 0 };
    std::size_t caret { 0 };
    std::size_t start() const { return anchor < caret ? anchor : caret; }
    std::size_t end() const { return anchor < caret ? caret : anchor; }
    bool is_empty() const { return anchor == caret; }
};
EditSelection edit_selection(WindowHandle field);
// Positions beyond the text are moved to its end.
void set_edit_selection(WindowHandle field, std::size_t anchor, std::size_t caret);

// The clipboard operations; each is false when it changed nothing (cut and
// clear need a selection and an editable field, paste an editable field).
bool edit_cut(WindowHandle field);
bool edit_copy(WindowHandle field);
bool edit_paste(WindowHandle field);
bool edit_clear(WindowHandle field);
void edit_select_all(WindowHandle field);
// Whether edit_paste would insert something now: an editable field and text
// on the clipboard.
bool edit_can_paste(WindowHandle field);

// The Smartphone's input mode of the field (kept; the desktop has only one).
void set_edit_input_mode(WindowHandle field, int mode);
int edit_input_mode(WindowHandle field);

// The window named in the field's last WM_SETFOCUS or WM_KILLFOCUS (the
// old or the new focus window), for the owner's diagnostics.
WindowHandle edit_focus_peer(WindowHandle field);

} // namespace platform

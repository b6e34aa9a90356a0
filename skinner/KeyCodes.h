#pragma once

namespace skinner {

// The framework's key codes; every key not listed is 0.
inline constexpr int KEY_NONE = 0;
inline constexpr int KEY_SHIFT = 1;
inline constexpr int KEY_CONTROL = 2;
inline constexpr int KEY_ALT = 3;
inline constexpr int KEY_LEFT = 4;
inline constexpr int KEY_RIGHT = 5;
inline constexpr int KEY_UP = 6;
inline constexpr int KEY_DOWN = 7;
inline constexpr int KEY_ESCAPE = 8;
inline constexpr int KEY_RETURN = 9;
inline constexpr int KEY_SPACE = 10;
inline constexpr int KEY_BACKSPACE = 11;
inline constexpr int KEY_DELETE = 12;
inline constexpr int KEY_INSERT = 13;
inline constexpr int KEY_HOME = 14;
inline constexpr int KEY_END = 15;
inline constexpr int KEY_PAGE_DOWN = 16;
inline constexpr int KEY_PAGE_UP = 17;
inline constexpr int KEY_TAB = 18;
inline constexpr int KEY_APPS = 19;
inline constexpr int KEY_A = 20; // to KEY_A + 25 for Z
inline constexpr int KEY_0 = 46; // to KEY_0 + 9 for 9

// The framework's code of a device virtual key.
int key_code(int virtual_key);

} // namespace skinner

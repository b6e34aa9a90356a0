#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Numbers to narrow text: "%d", "%ld" and "%f" (six decimals).
std::string to_text(int value);
std::string to_text(long value);
std::string to_text(double value);

// Reads an integer: leading white space, one optional '+' or '-', then
// decimal digits; larger values wrap around as 32-bit arithmetic does.
// Empty text, only white space, or nothing after the sign: false, and
// `value` is left alone. A non-digit right after the optional sign: false
// with `value` set to 0. Otherwise true. `end`, when given, receives the
// position after the last digit read.
bool text_to_int(std::string_view text, int& value, std::size_t* end = nullptr);
bool text_to_int(std::u16string_view text, int& value, std::size_t* end = nullptr);

// Single-byte text through the device's code page (RINGWISE_CODEPAGE,
// CP1252 by default), one character per byte, the result as long as the
// input. Bytes the code page leaves undefined map to the character of the
// same value; characters it cannot show become '?'.
std::u16string narrow_to_wide(std::string_view text);
std::string wide_to_narrow(std::u16string_view text);

// UTF-16 and UTF-8, for everything that crosses to Linux (file names, XML,
// the environment). Malformed input becomes U+FFFD.
std::string to_utf8(std::u16string_view text);
std::u16string from_utf8(std::string_view text);

// One letter case for comparisons that ignore case (paths, keys): Latin,
// Greek and Cyrillic capitals become small letters.
char16_t to_lower(char16_t c);
std::u16string to_lower(std::u16string_view text);
bool equal_ignoring_case(std::u16string_view a, std::u16string_view b);

} // namespace platform

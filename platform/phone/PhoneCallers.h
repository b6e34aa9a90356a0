#pragma once

#include <string>

namespace platform {

// The ways a phone library places a call. Each returns 0 when the call was
// placed and a nonzero code otherwise; none waits longer than a few seconds.

// Through ModemManager on the system D-Bus: the first modem object that has
// the Voice interface gets CreateCall({"Number": number}), and the call it
// returns is started. Fails without a bus, without such a modem, when the
// daemon refuses, or on any D-Bus error.
int call_through_modemmanager(const std::string& number);

// Hands the number to the desktop's dialer as a tel: URI through xdg-open.
// Fails when no handler of x-scheme-handler/tel is registered or xdg-open
// fails.
int call_through_tel_handler(const std::string& number);

// The tel: URI of a number: the characters of the tel: grammar stay
// (digits, letters, "+", "-", ".", "(", ")", ";", "=", "*", "#", "/", ","),
// every other byte is percent-encoded.
std::string tel_uri(const std::string& number);

} // namespace platform

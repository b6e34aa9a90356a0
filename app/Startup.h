#pragma once

#include <string>

// The program from its command line to its end: builds the process objects,
// chooses the mode (recognition with an empty command line and at least one
// tag, settings otherwise), hands the command line to a running process of
// that mode or loads the mode's skin and language and runs its form, then
// tears everything down. Returns the exit code, 0 in every case.
int run_ringwise(const std::u16string& command_line);

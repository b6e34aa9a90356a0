#pragma once

namespace os {

// A moment at which a crash must not lose stored data: every write to a
// file, and every step of replacing, renaming or deleting one. With the
// environment variable RINGWISE_TEST_CRASH_AT=N the N-th such moment of the
// process ends it at once with SIGKILL, as a power cut or `kill -9` would,
// so that tests can stop a save at every step in turn. Without the variable
// it does nothing. Any thread may call it.
void crash_point();

} // namespace os

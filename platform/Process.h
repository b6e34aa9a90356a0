#pragma once

namespace platform {

// This process's id, as names of files that only this process writes carry it.
int current_process_id();

// Whether no process with id `pid` exists any more. A process that exists but
// belongs to another user counts as running, and so does any id that cannot be
// asked about: only leftovers of a process that is certainly gone may be
// removed.
bool process_has_ended(int pid);

} // namespace platform

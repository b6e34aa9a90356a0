#pragma once

#include <string>

// Backup and restore of every voice tag: all files of the document's
// commands folder in one chunk archive with the extension ".vcb". The
// archive starts with the version entry "VOICE_COMMAND_BACKUP_VERSION" (the
// 32-bit value 100), then one "commands/NAME" entry per file, in the folder
// enumeration's order.
//
// Both stop all audio of the document first. Neither ever loses what it
// replaces: a backup is written beside its target and renamed over it only
// when complete; a restore checks the whole archive, extracts it into a new
// folder beside the commands folder and swaps the two only when every file
// was written.

// The path with ".vcb" appended unless its extension is "vcb" in any case.
std::u16string backup_file_path(const std::u16string& path);

// Writes every file of the commands folder into the backup; false (and no
// new file) when any entry could not be written.
bool backup_tags(const std::u16string& path);

// Replaces the commands folder's files with the backup's "commands/" entries
// (names with another folder part are skipped). False, with nothing changed,
// when the archive has no version entry of 100, is damaged or cut short, or
// a file cannot be written completely.
bool restore_tags(const std::u16string& path);

// Start-up's repair after a restore that a crash interrupted: when the
// commands folder is missing because a swap was cut in two, the complete new
// folder (or else the old one) takes its place; every leftover folder of a
// restore beside it is removed. The caller holds the store's lock.
void finish_interrupted_restore(const std::u16string& commands_folder);

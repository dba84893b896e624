#pragma once
// Files to remove if the process is ended by SIGINT, SIGTERM or SIGHUP, so that an interrupted
// write leaves no named temporary file behind. The handlers only unlink and then let the signal
// end the process as it would have; a signal the program already handles or ignores is left alone.

namespace hz {

// Adds path to the list; returns its slot, or -1 when the list is full or the path too long (the
// file is then removed only by its owner).
int removeOnSignal(const char* path);

// Takes the slot's file off the list again.
void keepOnSignal(int slot);

} // namespace hz

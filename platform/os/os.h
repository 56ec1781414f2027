// os.h: the few operating system calls the game makes outside Allegro.
#ifndef DELVORN_OS_H
#define DELVORN_OS_H

// Makes a finished file durable on disk before it replaces another, so a
// power cut cannot swap a good file for an empty one. Nothing where the
// system offers no such call.
void FlushToDisk(const char *path);

// Keeps freed memory in the process instead of handing it back, for code
// that frees and remakes many objects at once (a level's cells): faulting
// the pages back in would cost more than the work itself.
void KeepFreedMemory();

#endif

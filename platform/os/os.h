// os.h: the few operating system calls the game makes outside Allegro.
#ifndef DELVORN_OS_H
#define DELVORN_OS_H

// Keeps freed memory in the process instead of handing it back, for code
// that frees and remakes many objects at once (a level's cells): faulting
// the pages back in would cost more than the work itself.
void KeepFreedMemory();

#endif

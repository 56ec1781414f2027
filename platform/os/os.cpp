// os.cpp: see os.h.
#include "platform/os/os.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemory()
{
#if defined(__GLIBC__)
    static const bool kept = mallopt(M_TRIM_THRESHOLD, 32 << 20) == 1;
    (void)kept;
#endif
}

// log_hook.h: the library's own log. Lines go to the caller's hook
// (MivolenSetLogHook in mivolen.h) and nowhere else.
#ifndef MIVOLEN_LOG_HOOK_H
#define MIVOLEN_LOG_HOOK_H

// True when a hook would take a line, so callers can skip formatting it.
bool MivolenLogWanted();
// Hands one line (without its newline) to the hook, if there is one.
void MivolenLogLine(const char *line);

#endif

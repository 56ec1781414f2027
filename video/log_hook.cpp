// log_hook.cpp: the caller's log hook. Silent until set: a library does not
// write to the program's stderr.
#include "log_hook.h"

#include <mutex>

#include "mivolen/mivolen.h"

namespace {

std::mutex hookLock;
MivolenLogHook logHook = nullptr;
void *logUser = nullptr;

}  // namespace

void MivolenSetLogHook(MivolenLogHook hook, void *user) {
  std::lock_guard<std::mutex> hold(hookLock);
  logHook = hook;
  logUser = user;
}

bool MivolenLogWanted() {
  std::lock_guard<std::mutex> hold(hookLock);
  return logHook != nullptr;
}

void MivolenLogLine(const char *line) {
  MivolenLogHook hook;
  void *user;
  {
    std::lock_guard<std::mutex> hold(hookLock);
    hook = logHook;
    user = logUser;
  }
  // Called outside the lock, so the hook may set another hook.
  if (hook && line) hook(line, user);
}

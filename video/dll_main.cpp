// dll_main.cpp: the Windows DLL entry point. The library keeps no per-thread
// state, so it asks not to be told about threads starting and ending.
#ifdef _WIN32
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif

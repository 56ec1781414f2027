// STUB: replaced by the owning subsystem.
#include "level/mapfile.h"
std::string MapFileName(int level) { return "Maps\\Zub" + std::to_string(level) + ".map"; }
int LoadMap(int) { return 0; }
int LoadMapFile(const char *) { return 0; }
int LoadEditorMap() { return 0; }
int SaveEditorMap() { return 0; }

// game_main.cpp: the game's own main under another name, so that the
// start-up probe runs exactly what the game runs.
#define main DelvornMain
#include "shell/main.cpp"

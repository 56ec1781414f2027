// STUB: replaced by the owning subsystem.
#include "shell/gameloop.h"
int gameState = INIT, returnState = RUN;
std::atomic<int> logicTicks{0}, framesDrawn{0}, shownFps{0};
std::atomic<bool> closeRequested{false};
const char *StateName(int) { return "NOSTATE"; }
void CountFps() {}
void TickLogic() {}
void OnCloseButton() {}
void PresentFrame() {}
void PlayLogicStep() {}
void RunMainLoop() {}

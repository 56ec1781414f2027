// editor.h: the level editor inside the game: entering it from play, its
// frame, its input step and the overlay PresentFrame draws.
#ifndef DELVORN_EDITOR_H
#define DELVORN_EDITOR_H

#include "level/editorview.h"  // the frame and the overlay

// After AskEditorMode said yes: clear the views, switch state, show pointer.
void EnterEditor();
// One input step of the editor (poll, keys under the latch, logicTicks - 1).
void EditorInputStep();

#endif

// editor.h: the level editor inside the game: entering it from play, its
// frame, its input step and the overlay PresentFrame draws.
#ifndef DELVORN_EDITOR_H
#define DELVORN_EDITOR_H

// After AskEditorMode said yes: clear the views, switch state, show pointer.
void EnterEditor();
// Rebuild the three layer bitmaps (the draw phase of an editor pass).
void DrawEditorFrame();
// One input step of the editor (poll, keys under the latch, logicTicks - 1).
void EditorInputStep();
// Drawn into backBuffer by PresentFrame while returnState is LEVEL_EDITOR.
void DrawEditorOverlay();

#endif

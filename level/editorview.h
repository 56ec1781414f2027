// editorview.h: what the level editor shows, and what passes between its
// state and input (editor.cpp) and its drawing (editorview.cpp).
#ifndef DELVORN_EDITORVIEW_H
#define DELVORN_EDITORVIEW_H

// Rebuild the three layer bitmaps (the draw phase of an editor pass).
void DrawEditorFrame();
// Drawn into backBuffer by PresentFrame while returnState is LEVEL_EDITOR.
void DrawEditorOverlay();

// Shown by the view, kept by the editor.
bool EditorPointerCell(int &column, int &row);  // false off the map
bool EditorModeFitsLayer();                     // a drop would place something
int EditorCurrentCode();                        // the block or object a drop places
// While a question is open its two lines; false when none is.
bool EditorAsking();
bool EditorQuestion(char *first, char *second, int size);
// The line after a save or a load while it lasts, else null.
const char *EditorNotice();

// Kept by the view, cleared by the editor: every view empty and painted
// whole on the next frame; one layer's view empty.
void ResetEditorViews();
void ClearEditorView(int layer);

#endif

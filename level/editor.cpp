// STUB: replaced by the owning subsystem.
#include "level/editor.h"
void EnterEditor() {}
void DrawEditorFrame() {}
void EditorInputStep() {}
void DrawEditorOverlay() {}

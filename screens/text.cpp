// STUB: replaced by the owning subsystem.
#include "screens/text.h"
void ShowMessage(const char *, int, int, int, BITMAP *) {}
void DrawPanel(BITMAP *, int, int, int, int, int, int) {}
void DimBackdrop(bool) {}
void ClearScreen() {}
KeyLatch::KeyLatch(std::initializer_list<int> keys) { for (int k : keys) if (count_ < 24) keys_[count_++] = k; }
bool KeyLatch::Pressed() { return false; }

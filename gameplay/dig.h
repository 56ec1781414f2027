// dig.h: what the hero and the digging enemies do to the ground alike: dig
// a cell, and open the shields once the last item is gone.
#ifndef DELVORN_DIG_H
#define DELVORN_DIG_H

// Layer-0 cell becomes dug tunnel, its picture the tunnel's.
void DigCell(int column, int row);
// Every shield of layer 1 gone, sound 107, shieldsOpen.
void OpenShields();

#endif

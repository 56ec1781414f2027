// progressmap.h: the progress map shown before every level, with its
// wavy scrolling text.
#ifndef DELVORN_PROGRESSMAP_H
#define DELVORN_PROGRESSMAP_H

void ProcessMap();

#endif

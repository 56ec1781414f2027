// tilenames.h: what the editor calls each block and object code, so the
// player painting a level sees a name beside the number.
#ifndef DELVORN_TILENAMES_H
#define DELVORN_TILENAMES_H

// "Exit door", "Ruby"; "" for a code with no picture.
const char *BlockName(int code);
const char *ObjectName(int code);

#endif

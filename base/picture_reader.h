// picture_reader.h: the data file's pictures read a row at a time. Allegro
// reads a 16-bit picture one pixel at a time through every layer of its
// packed files, which is most of what loading Data.dat costs; this reader
// takes whole rows and makes the same bitmap. Pictures loaded at another
// colour depth still go to Allegro's own reader.
#ifndef DELVORN_PICTURE_READER_H
#define DELVORN_PICTURE_READER_H

// From now on, for every data file this process loads.
void UseRowPictureReader();

#endif

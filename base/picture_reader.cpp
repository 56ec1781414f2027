// picture_reader.cpp: see picture_reader.h.
#include "base/picture_reader.h"

#include <allegro.h>
#include <allegro/internal/aintern.h>
#include <cstdint>

namespace {

void *(*allegroReader)(PACKFILE *, long) = nullptr;

// A stored pixel is 5-6-5 with red on top. Allegro scales each field to
// eight bits and packs it again in the current layout, which gives the
// stored value back wherever that layout is 5-6-5 with red on top too.
bool StoredLayoutIsCurrent()
{
    return makecol16(255, 0, 0) == 0xF800 && makecol16(0, 255, 0) == 0x07E0 && makecol16(0, 0, 255) == 0x001F;
}

void *ReadPicture(PACKFILE *f, long size)
{
    if (get_color_depth() != 16)
        return allegroReader ? allegroReader(f, size) : nullptr;
    const int bits = pack_mgetw(f);
    const int w = pack_mgetw(f), h = pack_mgetw(f);
    // The data file builder writes nothing else; the file's seal keeps out
    // files it did not make.
    if (bits != 16 || w <= 0 || h <= 0)
        return nullptr;
    BITMAP *picture = create_bitmap_ex(16, w, h);
    if (!picture)
        return nullptr;
    const bool asStored = StoredLayoutIsCurrent();
    // Otherwise each field maps on its own: makecol16 only shifts them.
    uint16_t red[32], green[64], blue[32];
    for (int i = 0; i < 64; i++) {
        green[i] = (uint16_t)makecol16(0, _rgb_scale_6[i], 0);
        if (i < 32) {
            red[i] = (uint16_t)makecol16(_rgb_scale_5[i], 0, 0);
            blue[i] = (uint16_t)makecol16(0, 0, _rgb_scale_5[i]);
        }
    }
    for (int y = 0; y < h; y++) {
        uint16_t *row = (uint16_t *)picture->line[y];
        if (pack_fread(row, (long)w * 2, f) != (long)w * 2) {
            destroy_bitmap(picture);
            return nullptr;
        }
        for (int x = 0; x < w; x++) {
#ifdef ALLEGRO_BIG_ENDIAN
            row[x] = (uint16_t)(row[x] << 8 | row[x] >> 8);
#endif
            if (!asStored) {
                const int c = row[x];
                row[x] = red[c >> 11] | green[(c >> 5) & 0x3F] | blue[c & 0x1F];
            }
        }
    }
    return picture;
}

void DestroyPicture(void *picture)
{
    destroy_bitmap((BITMAP *)picture);
}

}  // namespace

void UseRowPictureReader()
{
    if (allegroReader)
        return;
    for (int i = 0; i < MAX_DATAFILE_TYPES; i++)
        if (_datafile_type[i].type == DAT_BITMAP && _datafile_type[i].load != ReadPicture)
            allegroReader = _datafile_type[i].load;
    if (allegroReader)
        register_datafile_object(DAT_BITMAP, ReadPicture, DestroyPicture);
}

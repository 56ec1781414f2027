// alfont.cpp: TrueType text on Allegro bitmaps over FreeType.
// Glyphs are rendered once per size and kept, so redrawing the same short
// strings every frame costs only the pixel writes. Plain text uses FreeType's
// hinted monochrome rendering (crisp, one colour); the _aa call blends the
// anti-aliased coverage with what lies beneath.
#include "platform/alfont/alfont.h"
#include "platform/paths/paths.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace {

struct Glyph {
    bool rendered = false;
    int advance = 0;        // pen advance in whole pixels
    int left = 0, top = 0;  // bitmap offset from the pen position and baseline
    int w = 0, h = 0;
    std::vector<unsigned char> coverage;  // w * h, 0..255
};

// Everything that depends on the pixel size.
struct SizeCache {
    int ascender = 0;  // pixels from the top of the text to the baseline
    int height = 0;    // height of the text box
    Glyph mono[256];
    Glyph smooth[256];
};

FT_Library library = nullptr;
int liveFonts = 0;
bool exitPending = false;  // alfont_exit came while fonts were still loaded
int textMode = -1;

void ReleaseLibraryIfIdle()
{
    if (exitPending && liveFonts == 0 && library) {
        FT_Done_FreeType(library);
        library = nullptr;
        exitPending = false;
    }
}

}  // namespace

struct ALFONT_FONT {
    FT_Face face = nullptr;
    int size = 0;
    int faceSize = 0;  // the size FreeType is set to, changed only to render
    SizeCache *current = nullptr;
    std::map<int, std::unique_ptr<SizeCache>> sizes;
};

namespace {

// Screens switch sizes several times a frame; FreeType's own size change
// (which may run the font's hinting set-up) is done only when a glyph of
// that size still has to be rendered.
bool SetFaceSize(ALFONT_FONT *f, int h)
{
    if (f->faceSize == h)
        return true;
    if (FT_Set_Pixel_Sizes(f->face, 0, (FT_UInt)h) != 0)
        return false;
    f->faceSize = h;
    return true;
}

// Renders one glyph of the current size into the cache on first use.
const Glyph &GetGlyph(ALFONT_FONT *f, unsigned char c, bool smooth)
{
    Glyph &g = smooth ? f->current->smooth[c] : f->current->mono[c];
    if (g.rendered)
        return g;
    g.rendered = true;
    if (!SetFaceSize(f, f->size))
        return g;
    FT_Int32 flags = FT_LOAD_RENDER | (smooth ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    FT_UInt index = FT_Get_Char_Index(f->face, c);
    if (FT_Load_Glyph(f->face, index, flags) != 0)
        return g;
    FT_GlyphSlot slot = f->face->glyph;
    g.advance = (int)((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    const FT_Bitmap &bm = slot->bitmap;
    g.w = (int)bm.width;
    g.h = (int)bm.rows;
    g.coverage.assign((size_t)g.w * g.h, 0);
    for (int row = 0; row < g.h; row++) {
        const unsigned char *src = bm.buffer + (ptrdiff_t)row * bm.pitch;
        unsigned char *dst = &g.coverage[(size_t)row * g.w];
        for (int col = 0; col < g.w; col++) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                dst[col] = (src[col >> 3] & (0x80 >> (col & 7))) ? 255 : 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                dst[col] = (unsigned char)(src[col] * 255 / (bm.num_grays > 1 ? bm.num_grays - 1 : 255));
        }
    }
    return g;
}

// Mixes colour into the pixel at addr by coverage a (0..255) for the depth.
inline void PutCoverage(unsigned char *row, int x, int depth, int colour, int a)
{
    if (a <= 0)
        return;
    switch (depth) {
    case 8:
        // No room for blending in a palette; the half-covered pixels decide.
        if (a >= 128)
            row[x] = (unsigned char)colour;
        return;
    case 15:
    case 16: {
        unsigned short *p = (unsigned short *)row + x;
        if (a >= 255) {
            *p = (unsigned short)colour;
            return;
        }
        int bg = *p;
        int r = (getr_depth(depth, colour) * a + getr_depth(depth, bg) * (255 - a)) / 255;
        int g = (getg_depth(depth, colour) * a + getg_depth(depth, bg) * (255 - a)) / 255;
        int b = (getb_depth(depth, colour) * a + getb_depth(depth, bg) * (255 - a)) / 255;
        *p = (unsigned short)makecol_depth(depth, r, g, b);
        return;
    }
    case 24: {
        unsigned char *p = row + x * 3;
        int bg = p[0] | (p[1] << 8) | (p[2] << 16);
        int out = colour;
        if (a < 255) {
            int r = (getr24(colour) * a + getr24(bg) * (255 - a)) / 255;
            int g = (getg24(colour) * a + getg24(bg) * (255 - a)) / 255;
            int b = (getb24(colour) * a + getb24(bg) * (255 - a)) / 255;
            out = makecol24(r, g, b);
        }
        p[0] = (unsigned char)out;
        p[1] = (unsigned char)(out >> 8);
        p[2] = (unsigned char)(out >> 16);
        return;
    }
    case 32: {
        uint32_t *p = (uint32_t *)row + x;
        if (a >= 255) {
            *p = (uint32_t)colour;
            return;
        }
        int bg = (int)*p;
        int r = (getr32(colour) * a + getr32(bg) * (255 - a)) / 255;
        int g = (getg32(colour) * a + getg32(bg) * (255 - a)) / 255;
        int b = (getb32(colour) * a + getb32(bg) * (255 - a)) / 255;
        *p = (uint32_t)makecol32(r, g, b);
        return;
    }
    default: return;
    }
}

// Mono and smooth hinting may advance differently; measure the way it is drawn.
int TextWidth(ALFONT_FONT *f, const char *s, bool smooth)
{
    int w = 0;
    for (const unsigned char *p = (const unsigned char *)s; *p; p++)
        w += GetGlyph(f, *p, smooth).advance;
    return w;
}

bool Drawable(BITMAP *bmp, ALFONT_FONT *f, const char *s)
{
    return bmp && f && f->current && s && *s;
}

void DrawText(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int colour, bool smooth)
{
    if (!Drawable(bmp, f, s))
        return;
    int depth = bitmap_color_depth(bmp);
    int cl = 0, ct = 0, cr = bmp->w, cb = bmp->h;  // right and bottom exclusive
    if (bmp->clip) {
        cl = MAX(cl, bmp->cl);
        ct = MAX(ct, bmp->ct);
        cr = MIN(cr, bmp->cr);
        cb = MIN(cb, bmp->cb);
    }
    if (textMode != -1) {
        int w = TextWidth(f, s, smooth);
        if (w > 0)
            rectfill(bmp, x, y, x + w - 1, y + f->current->height - 1, textMode);
    }
    int baseline = y + f->current->ascender;
    acquire_bitmap(bmp);
    int pen = x;
    for (const unsigned char *p = (const unsigned char *)s; *p; p++) {
        const Glyph &g = GetGlyph(f, *p, smooth);
        int gx = pen + g.left, gy = baseline - g.top;
        pen += g.advance;
        if (gx >= cr || gy >= cb || gx + g.w <= cl || gy + g.h <= ct)
            continue;
        int c0 = MAX(0, cl - gx), c1 = MIN(g.w, cr - gx);
        int r0 = MAX(0, ct - gy), r1 = MIN(g.h, cb - gy);
        for (int r = r0; r < r1; r++) {
            // Read and write addresses agree for memory bitmaps and the drivers
            // Allegro 4 offers on Linux, so one row address serves both.
            bmp_read_line(bmp, gy + r);
            unsigned char *row = (unsigned char *)bmp_write_line(bmp, gy + r);
            const unsigned char *cov = &g.coverage[(size_t)r * g.w];
            for (int c = c0; c < c1; c++)
                PutCoverage(row, gx + c, depth, colour, cov[c]);
        }
    }
    bmp_unwrite_line(bmp);
    release_bitmap(bmp);
}

}  // namespace

int alfont_init(void)
{
    if (library) {
        exitPending = false;
        return ALFONT_OK;
    }
    return FT_Init_FreeType(&library) == 0 ? ALFONT_OK : ALFONT_ERROR;
}

void alfont_exit(void)
{
    exitPending = true;
    ReleaseLibraryIfIdle();
}

ALFONT_FONT *alfont_load_font(const char *filepathname)
{
    if (!filepathname || !IsRegularFile(filepathname))
        return nullptr;
    if (!library && alfont_init() != ALFONT_OK)
        return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(library, filepathname, 0, &face) != 0)
        return nullptr;
    if (!FT_IS_SCALABLE(face)) {  // fixed-size bitmap fonts cannot take the sizes asked
        FT_Done_Face(face);
        return nullptr;
    }
    // Text is Latin-1 bytes; a face without a Unicode map keeps FreeType's choice.
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    ALFONT_FONT *f = new ALFONT_FONT;
    f->face = face;
    liveFonts++;
    if (alfont_set_font_size(f, 8) != ALFONT_OK) {
        alfont_destroy_font(f);
        return nullptr;
    }
    return f;
}

void alfont_destroy_font(ALFONT_FONT *f)
{
    if (!f)
        return;
    FT_Done_Face(f->face);
    delete f;
    liveFonts--;
    ReleaseLibraryIfIdle();
}

int alfont_set_font_size(ALFONT_FONT *f, int h)
{
    if (!f || h <= 0)
        return ALFONT_ERROR;
    if (f->size == h)
        return ALFONT_OK;
    std::unique_ptr<SizeCache> &cache = f->sizes[h];
    if (!cache) {
        if (!SetFaceSize(f, h)) {
            f->sizes.erase(h);
            return ALFONT_ERROR;
        }
        cache.reset(new SizeCache);
        const FT_Size_Metrics &m = f->face->size->metrics;
        cache->ascender = (int)((m.ascender + 32) >> 6);
        int descender = (int)((-m.descender + 32) >> 6);
        cache->height = MAX(h, cache->ascender + descender);
    }
    f->size = h;
    f->current = cache.get();
    return ALFONT_OK;
}

int alfont_get_font_height(ALFONT_FONT *f)
{
    return f ? f->size : 0;
}

int alfont_text_length(ALFONT_FONT *f, const char *str)
{
    if (!f || !f->current || !str)
        return 0;
    return TextWidth(f, str, false);
}

int alfont_text_mode(int mode)
{
    int old = textMode;
    textMode = mode;
    return old;
}

void alfont_textout(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color)
{
    DrawText(bmp, f, s, x, y, color, false);
}

void alfont_textout_centre(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color)
{
    if (!Drawable(bmp, f, s))
        return;
    DrawText(bmp, f, s, x - TextWidth(f, s, false) / 2, y, color, false);
}

void alfont_textout_aa(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color)
{
    DrawText(bmp, f, s, x, y, color, true);
}

// alfont.h: TrueType text on Allegro bitmaps, the calls the game uses.
// Sizes are pixel sizes; y is the top of the text; colours are pixel values
// of the target's depth (makecol).
#ifndef DELVORN_ALFONT_H
#define DELVORN_ALFONT_H

#include <allegro.h>

typedef struct ALFONT_FONT ALFONT_FONT;

#define ALFONT_OK 0
#define ALFONT_ERROR -1

int alfont_init(void);
void alfont_exit(void);

// Null when the file cannot be read or is not a font.
ALFONT_FONT *alfont_load_font(const char *filepathname);
void alfont_destroy_font(ALFONT_FONT *f);

int alfont_set_font_size(ALFONT_FONT *f, int h);
int alfont_get_font_height(ALFONT_FONT *f);
int alfont_text_length(ALFONT_FONT *f, const char *str);

// -1 draws no background; any other value fills the text's box with it.
int alfont_text_mode(int mode);

void alfont_textout(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color);
void alfont_textout_centre(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color);
// As alfont_textout, blending glyph edges with what lies beneath.
void alfont_textout_aa(BITMAP *bmp, ALFONT_FONT *f, const char *s, int x, int y, int color);

#endif

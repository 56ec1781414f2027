// STUB: replaced by the owning subsystem.
#include "platform/alfont/alfont.h"
int alfont_init(void) { return ALFONT_OK; }
void alfont_exit(void) {}
ALFONT_FONT *alfont_load_font(const char *) { return nullptr; }
void alfont_destroy_font(ALFONT_FONT *) {}
int alfont_set_font_size(ALFONT_FONT *, int) { return ALFONT_OK; }
int alfont_get_font_height(ALFONT_FONT *) { return 0; }
int alfont_text_length(ALFONT_FONT *, const char *) { return 0; }
int alfont_text_mode(int) { return -1; }
void alfont_textout(BITMAP *, ALFONT_FONT *, const char *, int, int, int) {}
void alfont_textout_centre(BITMAP *, ALFONT_FONT *, const char *, int, int, int) {}
void alfont_textout_aa(BITMAP *, ALFONT_FONT *, const char *, int, int, int) {}

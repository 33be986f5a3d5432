/* Text drawing for a host editor: numerals, the font cache, filled
   rectangles and the layout engine.  C and C++ callers alike. */
#ifndef ORV_TEXTVIEW_TEXTVIEW_H
#define ORV_TEXTVIEW_TEXTVIEW_H

#include <stdint.h>
#include <SDL.h>
#include <SDL_ttf.h>
#include "geom/point.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One opened font; the table that holds these may move on a cache miss,
   so an entry's address is good only until the next new (size, style). */
typedef struct font_entry {
	int32_t size;
	char style;             /* 0 regular, anything else bold */
	SDL_Surface *surf;      /* the host's glyph atlas, or null */
	char rarr[5120];        /* glyph rectangles; layout is the host's */
	TTF_Font *font;
} font_entry;

char *itostr(int64_t v, int64_t base);
int strtol1(const char *t, void *unused, int base);
int16_t gletter(int16_t size, int16_t flag);
void qrect(int x, int y, int w, int h, uint32_t colour);
font_entry *fontcache(int size, char style);
int rendertext(int unused0, char flags, const char *text, int x, int y,
	int16_t gw, int16_t gh, int16_t width, int32_t *tabs, int ntabs,
	int unused1, int unused2, point *q1, point *q2, int *pos1, int *pos2);

#ifdef __cplusplus
}
#endif

#endif

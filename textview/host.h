/* What the library takes from the host editor that links it.  These
   belong to the host: it defines every one of them, the library only
   refers to them. */
#ifndef ORV_TEXTVIEW_HOST_H
#define ORV_TEXTVIEW_HOST_H

#include <stdint.h>
#include <SDL.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The host's window record.  The library reads only the first field:
   drawing stops at the first line whose top is at or below it. */
typedef struct win {
	int32_t bottom;
} win;

extern SDL_Renderer *renderer;  /* qrect draws here */
extern SDL_Surface *winsurf1;   /* rendertext draws here */
extern SDL_Surface *font_surf;  /* atlas of the current font, or null */
extern void *font_rarr;         /* its rectangle block, for font_rect */
extern SDL_Rect trect[];        /* [0]: destination of each blit and bar */
extern int sdl_v;               /* last tested SDL result */
extern win fwin;

/* Ends the run; the library does not rely on it not returning. */
void quit(int status);
/* Builds the atlas of a new cache entry: may store a surface through
   surf, fills the block that *rarr points to. */
void creat_fonts(SDL_Surface **surf, void **rarr, int size, int style);
/* Source rectangle of a glyph in font_surf; never null. */
SDL_Rect *font_rect(const char *ch);

#ifdef __cplusplus
}
#endif

#endif

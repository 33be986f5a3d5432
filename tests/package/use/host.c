/* The host side that textview links against, as small as a program that
   draws on memory surfaces can have it: the globals, quit, and no glyph
   atlas, so that the library draws every glyph through SDL_ttf. */
#include <stdlib.h>

#include "textview/textview.h"
#include "textview/host.h"

SDL_Renderer *renderer;
SDL_Surface *winsurf1;
SDL_Surface *font_surf;
void *font_rarr;
SDL_Rect trect[1];
int sdl_v;
win fwin;

void quit(int status)
{
	exit(status);
}

void creat_fonts(SDL_Surface **surf, void **rarr, int size, int style)
{
	(void)surf;
	(void)rarr;
	(void)size;
	(void)style;
}

/* Never reached without an atlas; the library requires it all the same. */
SDL_Rect *font_rect(const char *ch)
{
	return (SDL_Rect *)font_rarr + (unsigned char)ch[0];
}

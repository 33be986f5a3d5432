/* The host side of textview: the globals the library draws through,
   quit, and a glyph atlas per font.  One copy serves the editor, textpng,
   the tests and the benchmarks. */
#include <cstdlib>

#include "textview/textview.h"
#include "textview/host.h"

SDL_Renderer *renderer;
SDL_Surface *winsurf1;
SDL_Surface *font_surf;
void *font_rarr;
SDL_Rect trect[4];
int sdl_v;
win fwin;

/* The rectangle block of a font: one SDL_Rect per byte value, the glyph's
   place in the atlas.  Bytes without a glyph there keep the empty rect
   that the cache zero-filled, so the library renders them itself. */
static_assert(256 * sizeof(SDL_Rect) <= sizeof font_entry{}.rarr);

void quit(int status)
{
	exit(status);
}

/* Renders the printable ASCII glyphs side by side into one surface that
   keeps their alpha, so that blitting from it blends like text. */
void creat_fonts(SDL_Surface **surf, void **rarr, int size, int style)
{
	/* The entry being made is already in the cache with its font open:
	   looking it up again is a hit and opens nothing. */
	TTF_Font *f = fontcache(size, (char)style)->font;
	SDL_Rect *r = (SDL_Rect *)*rarr;
	SDL_Color ink = {0, 0, 0, 255};
	SDL_Surface *g[127] = {};
	int w = 0, h = 0;

	if (!f)
		return;
	for (int c = 33; c < 127; c++) {
		char ch[2] = {(char)c, 0};
		g[c] = TTF_RenderUTF8_Blended(f, ch, ink);
		if (!g[c])
			continue;
		w += g[c]->w;
		if (g[c]->h > h)
			h = g[c]->h;
	}
	SDL_Surface *a = w > 0 ? SDL_CreateRGBSurfaceWithFormat(0, w, h, 32,
		SDL_PIXELFORMAT_ARGB8888) : nullptr;
	int x = 0;
	for (int c = 33; c < 127; c++) {
		if (!g[c])
			continue;
		if (a) {
			SDL_Rect d = {x, 0, g[c]->w, g[c]->h};
			SDL_SetSurfaceBlendMode(g[c], SDL_BLENDMODE_NONE);
			if (SDL_BlitSurface(g[c], nullptr, a, &d) == 0)
				r[c] = SDL_Rect{x, 0, g[c]->w, g[c]->h};
			x += g[c]->w;
		}
		SDL_FreeSurface(g[c]);
	}
	if (a)
		SDL_SetSurfaceBlendMode(a, SDL_BLENDMODE_BLEND);
	*surf = a;
}

SDL_Rect *font_rect(const char *ch)
{
	return (SDL_Rect *)font_rarr + (unsigned char)ch[0];
}

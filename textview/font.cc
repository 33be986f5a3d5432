/* The font cache and the drawing helpers that go with it: letter cells,
   filled rectangles and the failure report of the drawing code. */
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "textview/textview.h"
#include "textview/host.h"
#include "textview/fail.h"

#ifndef ORV_FONT_DIR
#error "ORV_FONT_DIR must name the fonts directory"
#endif

/* The record is shared with C hosts: keep its layout on every target. */
static_assert(offsetof(font_entry, style) == 4);
static_assert(offsetof(font_entry, surf) == 8);
static_assert(offsetof(font_entry, rarr) == 8 + sizeof(void *));
static_assert(offsetof(font_entry, font) == 8 + sizeof(void *) + 5120);
static_assert(sizeof(font_entry) == 8 + 2 * sizeof(void *) + 5120);

static const char fname[] = ORV_FONT_DIR "/LiberationSans-Regular.ttf";
static const char fname_b[] = ORV_FONT_DIR "/LiberationSans-Bold.ttf";

static font_entry *cache;
static int len_cache;
static bool ttf_on;

void sdlfail(const char *op)
{
	printf("SDL_%s failed: %s\n", op, SDL_GetError());
	quit(2);
}

int16_t gletter(int16_t size, int16_t flag)
{
	double k = flag ? 1.618033988749894 : 0.618033988749894;
	return (int16_t)(int)(size * k);
}

/* colour packs alpha in the low byte, then red, green, blue. */
void qrect(int x, int y, int w, int h, uint32_t colour)
{
	SDL_Rect r = {x, y, w, h};

	SDL_SetRenderDrawColor(renderer, colour >> 8 & 255, colour >> 16 & 255,
		colour >> 24 & 255, colour & 255);
	sdl_v = SDL_RenderFillRect(renderer, &r);
	if (sdl_v < 0)
		sdlfail("RenderFillRect");
	/* The host draws its own lines in white between our calls. */
	SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
}

/* Finds or opens the font of (size, style).  A new entry also gets its
   glyph atlas from the host. */
font_entry *fontcache(int size, char style)
{
	for (int i = 0; i < len_cache; i++)
		if (cache[i].size == size && cache[i].style == style)
			return &cache[i];

	int k = len_cache;
	cache = (font_entry *)realloc(cache, (k + 1) * sizeof *cache);
	len_cache++;
	font_entry *e = &cache[k];
	e->size = size;
	e->style = style;
	if (!ttf_on) {
		TTF_Init();
		ttf_on = true;
	}
	e->font = TTF_OpenFont(style ? fname_b : fname, size);
	/* Kept for the host like every tested result; the test itself is on
	   the handle, whose upper half sdl_v cannot hold on 64-bit hosts. */
	sdl_v = (int)(uintptr_t)e->font;
	if (!e->font)
		sdlfail("OpenFont");
	e->surf = nullptr;
	printf("here at creat fonts %d %d\n", size, (unsigned char)style);
	memset(e->rarr, 0, sizeof e->rarr);
	void *rarr = e->rarr;
	creat_fonts(&e->surf, &rarr, size, (unsigned char)style);
	/* The host may have looked up fonts of its own meanwhile. */
	return &cache[k];
}

/* The recording host: the host's symbols, and the wrappers the linker
   puts before the library's SDL and SDL_ttf calls. */
#include "tests/support/rechost.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>

SDL_Renderer *renderer;
SDL_Surface *winsurf1;
SDL_Surface *font_surf;
void *font_rarr;
SDL_Rect trect[4];
int sdl_v;
win fwin;

namespace rec {

static bool no_atlas_default(int size)
{
	return size == no_atlas_size;
}

static SDL_Rect glyph_default(unsigned char c, int size)
{
	SDL_Rect r = {0, 0, size / 2 - 2, size - 6};

	if (c == 'W')
		r.w = size / 2 + 3;
	if (c == 'i')
		r.w = 3;
	if (c == 'g')
		r.h = size - 3;
	if (c == '~' || c < 33 || c > 126)
		r.w = r.h = 0;
	return r;
}

static void fault_default(const char *what)
{
	fprintf(stderr, "recording host: %s\n", what);
	abort();
}

bool (*no_atlas)(int) = no_atlas_default;
SDL_Rect (*glyph_rect)(unsigned char, int) = glyph_default;
void (*fault)(const char *) = fault_default;

std::vector<blit> blits;
std::vector<bar> bars;
std::vector<creat> creats;
std::vector<open> opens;
std::vector<int> quits;
std::vector<SDL_Surface *> freed;
bool fail_open;
char null_glyph;
static char last;

void reset()
{
	blits.clear();
	bars.clear();
	creats.clear();
	opens.clear();
	quits.clear();
	freed.clear();
}

bool was_freed(SDL_Surface *s)
{
	return std::find(freed.begin(), freed.end(), s) != freed.end();
}

}

/* Ends the run in a real host; here it only leaves a mark in the output
   so that tests see where it was called. */
void quit(int status)
{
	printf("quit(%d)\n", status);
	rec::quits.push_back(status);
}

void creat_fonts(SDL_Surface **surf, void **rarr, int size, int style)
{
	char *b = (char *)*rarr;
	bool zeroed = true;
	for (int i = 0; i < 5120; i++)
		zeroed = zeroed && b[i] == 0;
	rec::creats.push_back({surf, *rarr, size, style, zeroed});
	if (rec::no_atlas(size))
		return;
	/* Never freed: the cache keeps its atlases for the whole run. */
	*surf = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32,
		SDL_PIXELFORMAT_ARGB8888);
	SDL_Rect *r = (SDL_Rect *)b;
	for (int c = 0; c < 256; c++)
		r[c] = rec::glyph_rect((unsigned char)c, size);
}

SDL_Rect *font_rect(const char *ch)
{
	if (!font_surf)
		rec::fault("font_rect asked without an atlas");
	rec::last = ch[0];
	return (SDL_Rect *)font_rarr + (unsigned char)ch[0];
}

/* The library's own SDL calls land here first (see CMakeLists.txt). */
extern "C" {

int __real_SDL_UpperBlit(SDL_Surface *, const SDL_Rect *, SDL_Surface *,
	SDL_Rect *);
int __real_SDL_FillRect(SDL_Surface *, const SDL_Rect *, Uint32);
TTF_Font *__real_TTF_OpenFont(const char *, int);
SDL_Surface *__real_TTF_RenderUTF8_Solid(TTF_Font *, const char *,
	SDL_Color);
void __real_SDL_FreeSurface(SDL_Surface *);

int __wrap_SDL_UpperBlit(SDL_Surface *src, const SDL_Rect *sr,
	SDL_Surface *dst, SDL_Rect *dr)
{
	rec::blit b = {rec::last, src && src == font_surf, {}, {}, src};
	if (sr)
		b.src = *sr;
	else if (src)
		b.src = SDL_Rect{0, 0, src->w, src->h};
	if (dr)
		b.dst = *dr;
	rec::blits.push_back(b);
	return __real_SDL_UpperBlit(src, sr, dst, dr);
}

int __wrap_SDL_FillRect(SDL_Surface *dst, const SDL_Rect *r, Uint32 colour)
{
	rec::bars.push_back({r ? *r : SDL_Rect{}, colour});
	return __real_SDL_FillRect(dst, r, colour);
}

TTF_Font *__wrap_TTF_OpenFont(const char *path, int size)
{
	rec::opens.push_back({path, size});
	if (rec::fail_open) {
		SDL_SetError("no font here");
		return nullptr;
	}
	return __real_TTF_OpenFont(path, size);
}

SDL_Surface *__wrap_TTF_RenderUTF8_Solid(TTF_Font *f, const char *t,
	SDL_Color c)
{
	rec::last = t[0];
	if (rec::null_glyph && t[0] == rec::null_glyph)
		return nullptr;
	return __real_TTF_RenderUTF8_Solid(f, t, c);
}

void __wrap_SDL_FreeSurface(SDL_Surface *s)
{
	rec::freed.push_back(s);
	__real_SDL_FreeSurface(s);
}

}

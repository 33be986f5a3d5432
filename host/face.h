/* A monospaced face for the editor: Liberation Mono at a pixel size, its
   glyphs rendered once each and kept, any code point the font has drawn
   in one cell.  Faces live for the whole run; one per size asked for. */
#ifndef ORV_HOST_FACE_H
#define ORV_HOST_FACE_H

#include <cstdint>
#include <unordered_map>

#include <SDL.h>
#include <SDL_ttf.h>

struct face {
	TTF_Font *font;
	int size;	/* pixel size it was opened at */
	int cell_w;	/* advance of every glyph */
	int line_h;	/* distance between rows */
	int ascent;
	std::unordered_map<int32_t, SDL_Surface *> glyphs;	/* null: lacked */
};

/* The face at size pixels, or null when the font cannot be opened
   (SDL's error says why). */
face *face_at(int size);

/* The glyph of cp in black, to be tinted with SDL_SetSurfaceColorMod, or
   null when the font has none. */
SDL_Surface *face_glyph(face *f, int32_t cp);

/* Draws cp in the cell at x, y of dst in the colour rgb (0xRRGGBB): its
   glyph, or one box when the font lacks it. */
void face_draw(face *f, SDL_Surface *dst, int x, int y, int32_t cp,
	uint32_t rgb);

/* A box the size of a cell: what stands for a character with no glyph. */
void face_box(face *f, SDL_Surface *dst, int x, int y, uint32_t rgb);

/* Fills a rectangle of dst with rgb (0xRRGGBB), opaque. */
void fill(SDL_Surface *dst, int x, int y, int w, int h, uint32_t rgb);

#endif

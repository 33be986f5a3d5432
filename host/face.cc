/* The editor's monospaced face and its glyph cache (see face.h). */
#include <algorithm>
#include <map>
#include <string>

#include "host/face.h"

/* Never destroyed: faces stay reachable to the end, and their fonts are
   never closed after SDL_ttf has been shut down. */
static std::map<int, face *> &faces = *new std::map<int, face *>;

face *face_at(int size)
{
	auto it = faces.find(size);
	if (it != faces.end())
		return it->second;
	if (!TTF_WasInit() && TTF_Init() != 0)
		return nullptr;
	std::string path = std::string(ORV_FONT_DIR) + "/LiberationMono-Regular.ttf";
	TTF_Font *font = TTF_OpenFont(path.c_str(), size);
	if (!font)
		return nullptr;
	int adv = 0;
	if (TTF_GlyphMetrics32(font, 'M', nullptr, nullptr, nullptr, nullptr,
	    &adv) != 0 || adv <= 0)
		adv = (size + 1) / 2;
	face *f = new face{font, size, adv, TTF_FontLineSkip(font),
		TTF_FontAscent(font), {}};
	faces[size] = f;
	return f;
}

SDL_Surface *face_glyph(face *f, int32_t cp)
{
	auto it = f->glyphs.find(cp);
	if (it != f->glyphs.end())
		return it->second;
	SDL_Surface *g = nullptr;
	if (cp > 0 && TTF_GlyphIsProvided32(f->font, (Uint32)cp))
		g = TTF_RenderGlyph32_Blended(f->font, (Uint32)cp,
			SDL_Color{0, 0, 0, 255});
	if (g)
		SDL_SetSurfaceBlendMode(g, SDL_BLENDMODE_BLEND);
	f->glyphs[cp] = g;
	return g;
}

void fill(SDL_Surface *dst, int x, int y, int w, int h, uint32_t rgb)
{
	SDL_Rect r = {x, y, w, h};
	SDL_FillRect(dst, &r, SDL_MapRGB(dst->format, rgb >> 16 & 255,
		rgb >> 8 & 255, rgb & 255));
}

void face_box(face *f, SDL_Surface *dst, int x, int y, uint32_t rgb)
{
	int w = f->cell_w - 2, h = f->ascent - 2;
	if (w < 3 || h < 3)
		return;
	x += 1, y += 2;
	fill(dst, x, y, w, 1, rgb);
	fill(dst, x, y + h - 1, w, 1, rgb);
	fill(dst, x, y, 1, h, rgb);
	fill(dst, x + w - 1, y, 1, h, rgb);
}

void face_draw(face *f, SDL_Surface *dst, int x, int y, int32_t cp,
	uint32_t rgb)
{
	SDL_Surface *g = face_glyph(f, cp);
	if (!g) {
		face_box(f, dst, x, y, rgb);
		return;
	}
	SDL_SetSurfaceColorMod(g, rgb >> 16 & 255, rgb >> 8 & 255, rgb & 255);
	/* A glyph wider than the cell (a wide character in a narrow face)
	   is cut at it, so the next cell stays readable. */
	SDL_Rect src = {0, 0, std::min(g->w, f->cell_w), g->h};
	SDL_Rect d = {x, y, src.w, src.h};
	SDL_BlitSurface(g, &src, dst, &d);
}

/* A recording host for the textview tests: it defines the host symbols,
   builds a made-up atlas whose glyph rectangles are known, and (through
   the linker's --wrap) records every blit, fill and font open that the
   library makes, and can make some of them fail. */
#ifndef REC_HOST_H
#define REC_HOST_H

#include <set>
#include <string>
#include <vector>

#include "textview/textview.h"
#include "textview/host.h"

namespace rec {

/* Fonts of this size get no atlas, so everything goes through SDL_ttf. */
constexpr int no_atlas_size = 18;

/* The made-up atlas rectangle of glyph c in a font of the given size. */
SDL_Rect glyph_rect(unsigned char c, int size);

struct blit {
	char c;             /* the glyph asked for last */
	bool atlas;         /* source is the atlas */
	SDL_Rect src;       /* source rectangle (whole surface if none) */
	SDL_Rect dst;       /* destination as the library set it */
	SDL_Surface *surf;
};

struct bar {
	SDL_Rect r;
	uint32_t colour;
};

struct creat {
	SDL_Surface **surf;
	void *rarr;
	int size, style;
	bool zeroed;        /* the block was all zero when handed over */
};

struct open {
	std::string path;
	int size;
};

extern std::vector<blit> blits;
extern std::vector<bar> bars;
extern std::vector<creat> creats;
extern std::vector<open> opens;
extern std::vector<int> quits;
extern std::set<SDL_Surface *> freed;

extern bool fail_open;      /* TTF_OpenFont answers null */
extern char null_glyph;     /* TTF_RenderUTF8_Solid answers null for it */

/* Clears the records. */
void reset();

}

#endif

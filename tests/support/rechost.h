/* A recording host for textview: it defines the host's symbols, builds
   a made-up atlas whose glyph rectangles are known, and (through the
   linker's --wrap, which its target passes on to the program) records
   every blit, fill, font opened and surface freed, and can make some of
   them fail.  The tests of textview and its fuzz target draw through
   it; a program that links it must not link the real host as well. */
#ifndef ORV_TESTS_SUPPORT_RECHOST_H
#define ORV_TESTS_SUPPORT_RECHOST_H

#include <string>
#include <vector>

#include "textview/textview.h"
#include "textview/host.h"

namespace rec {

/* Fonts of this size get no atlas, so everything goes through SDL_ttf. */
constexpr int no_atlas_size = 18;

/* The host's fonts, which a program may change before it draws: the
   sizes that get no atlas (by default no_atlas_size), and the atlas
   rectangle of each glyph in the others (by default half a size wide and
   a little less than the size high, with a few glyphs wider than a cell,
   narrower, lower, or missing). */
extern bool (*no_atlas)(int size);
extern SDL_Rect (*glyph_rect)(unsigned char c, int size);

/* Told what the library did that a host never allows; by default it is
   printed and the program aborts. */
extern void (*fault)(const char *what);

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
extern std::vector<SDL_Surface *> freed;

extern bool fail_open;      /* TTF_OpenFont answers null */
extern char null_glyph;     /* TTF_RenderUTF8_Solid answers null for it */

/* Clears the records.  Their blocks stay, so that a program that draws
   again and again (the fuzz target) does not allocate for them anew. */
void reset();

/* Whether s is among the surfaces freed since. */
bool was_freed(SDL_Surface *s);

}

#endif

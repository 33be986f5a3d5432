/* SDL surfaces released with their scope. */
#ifndef ORV_TESTS_SUPPORT_SDL_H
#define ORV_TESTS_SUPPORT_SDL_H

#include <memory>

#include <SDL.h>

struct free_surface {
	void operator()(SDL_Surface *s) const { SDL_FreeSurface(s); }
};

using surface = std::unique_ptr<SDL_Surface, free_surface>;

/* A 32-bit ARGB surface in memory, as the tests draw on: no display
   needed.  Null when SDL cannot make it. */
inline surface argb_surface(int w, int h)
{
	return surface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888));
}

#endif

/* A plug-in that fills a small square on the host's surface.  It links
   neither SDL nor a C++ runtime: SDL_FillRect is the host's, resolved
   when the host loads the library, and nothing here needs more than
   libc. */
#include <SDL_surface.h>

#include "plugin/plotplug.h"

void init_me(void)
{
}

/* The square is given by its centre and side; the corner is found in
   doubles and truncated, so a side of 7 about (15, 15) starts at 12. */
void plot_g2(SDL_Surface *s)
{
	const double cx = 15.0, cy = 15.0;
	const int32_t side = 7;
	int32_t half = side / 2;
	SDL_Rect r;

	r.x = (int32_t)(cx - (double)half);
	r.y = (int32_t)(cy - (double)half);
	r.w = side;
	r.h = side;
	SDL_FillRect(s, &r, 0xff000000);
}

/* Compiled as C: the plug-in's header must be C too, and its entry
   points must have the types a host calls them with. */
#include <SDL.h>

#include "plugin/plotplug.h"

_Static_assert(_Generic(&init_me, void (*)(void): 1, default: 0),
	       "init_me takes nothing");
_Static_assert(_Generic(&plot_g2, void (*)(SDL_Surface *): 1, default: 0),
	       "plot_g2 takes a surface");

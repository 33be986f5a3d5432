/* The plug-in's two entry points, which a host finds by name. */
#ifndef ORV_PLUGIN_PLOTPLUG_H
#define ORV_PLUGIN_PLOTPLUG_H

struct SDL_Surface;

#ifdef __cplusplus
extern "C" {
#endif

void init_me(void);
void plot_g2(struct SDL_Surface *s);

#ifdef __cplusplus
}
#endif

#endif

/* What the display can pass through the clipboard.  On X11 SDL hands a
   copied text over in one request, a property of the root window; a
   text larger than the server's largest request is a protocol error,
   for which Xlib's handler ends the process.  SDL also asks for another
   program's text in one piece, without the protocol for large
   transfers, and then gets nothing. */
#include <cstdint>
#include <dlfcn.h>
#include <SDL_syswm.h>

#include "orvedit/edit.h"

/* Xlib, as SDL loaded it: its calls are taken from the copy in use. */
template <class F>
static F *xcall(const char *name)
{
	static void *lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
	return lib ? (F *)dlsym(lib, name) : nullptr;
}

static Display *display(const editor &e)
{
	SDL_SysWMinfo w;
	SDL_VERSION(&w.version);
	if (!e.win || !SDL_GetWindowWMInfo(e.win, &w) ||
	    w.subsystem != SDL_SYSWM_X11)
		return nullptr;
	return w.info.x11.display;
}

size_t clip_room(const editor &e)
{
	if (e.clip_max)
		return e.clip_max;
	Display *d = display(e);
	if (!d)
		return SIZE_MAX;
	auto big = xcall<decltype(XExtendedMaxRequestSize)>("XExtendedMaxRequestSize");
	auto plain = xcall<decltype(XMaxRequestSize)>("XMaxRequestSize");
	long words = big ? big(d) : 0;
	if (words == 0 && plain)
		words = plain(d);
	/* Without an answer, the largest request every server takes. */
	if (words == 0)
		words = 65535;
	/* A request's length counts 4-byte words, its own header of 24
	   bytes and the long length word among them. */
	return (size_t)words * 4 - 32;
}

bool clip_offered(const editor &e)
{
	Display *d = display(e);
	auto atom = xcall<decltype(XInternAtom)>("XInternAtom");
	auto owner = xcall<decltype(XGetSelectionOwner)>("XGetSelectionOwner");
	if (!d || !atom || !owner)
		return false;
	Atom clip = atom(d, "CLIPBOARD", False);
	return clip != None && owner(d, clip) != None;
}

/* Compiled as C: the public headers must be C headers too, and declare
   what a host calls and defines with the types it uses. */
#include <stddef.h>

#include "textview/textview.h"
#include "textview/host.h"

_Static_assert(_Generic(&itostr, char *(*)(int64_t, int64_t): 1, default: 0),
	       "itostr takes a value and a base");
_Static_assert(_Generic(&fontcache, font_entry *(*)(int, char): 1, default: 0),
	       "fontcache takes a size and a style");
_Static_assert(_Generic(&fwin.bottom, int32_t *: 1, default: 0),
	       "the host's window has its bottom");
_Static_assert(offsetof(point, y) == sizeof(double), "a point is x, then y");

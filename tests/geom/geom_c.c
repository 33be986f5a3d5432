/* Compiled as C: the library's headers must be valid C. */
#include <stddef.h>

#include "geom/geom.h"

_Static_assert(sizeof(point) == 16, "point is two doubles");
_Static_assert(offsetof(point, y) == 8, "y follows x");

double c_segment(double ax, double ay, double bx, double by)
{
	point a, b;

	return segment(set_p(&a, ax, ay), set_p(&b, bx, by));
}

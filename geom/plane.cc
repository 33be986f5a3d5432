/* Points, distances, angles between rays.  A routine that yields a
   point writes it through its first argument and returns it, so calls
   nest; the destination may be one of the inputs. */
#include <stddef.h>

#include "geom/geom.h"
#include "geom/sq.h"

static_assert(sizeof(point) == 16 && offsetof(point, y) == 8,
	      "point is two doubles, x then y");

point *set_p(point *d, double x, double y)
{
	d->x = x;
	d->y = y;
	return d;
}

point *copy_p(point *d, const point *src)
{
	d->x = src->x;
	d->y = src->y;
	return d;
}

point *add_p(point *d, const point *a, const point *b)
{
	d->x = a->x + b->x;
	d->y = a->y + b->y;
	return d;
}

/* The vector of length len in the direction ang. */
point *vect(point *d, double len, double ang)
{
	d->x = cos1(ang) * len;
	d->y = sin1(ang) * len;
	return d;
}

double segment(const point *a, const point *b)
{
	return sqrt2b(sq(a->x - b->x) + sq(a->y - b->y));
}

/* The angle at o from the ray toward a to the ray toward b, in
   (-3.6, 3.6): the two directions subtracted, not wrapped. */
double angle(const point *a, const point *o, const point *b)
{
	double u = aatan(b->x - o->x, b->y - o->y);
	double v = aatan(a->x - o->x, a->y - o->y);

	return u - v;
}

/* geomlib's geometry as functions of the language, for orvcalc and orv.

   A point is a list whose first two items are numbers, x then y; more
   items, such as a label, are ignored.  Angles are in geomlib's unit,
   where 0.9 is a right angle.  A call with the wrong number of
   arguments, or with an argument that is not a point or a number where
   one is wanted, gives the number 0.

   geomlib's routines are not reentrant (cos1 and the corner curve keep
   static state); neither is the interpreter, so that is no matter. */
#include "geom/geom.h"
#include "interp/cfunc.h"

/* Everything else stays inside the library. */
#define EXPORT __attribute__((visibility("default")))

static int isnum(value v, double *d)
{
	if (v.type != T_NUM)
		return 0;
	*d = v.num;
	return 1;
}

static int ispoint(value v, point *p)
{
	return vlen(v) >= 2 && isnum(vitem(v, 0), &p->x) && isnum(vitem(v, 1), &p->y);
}

/* The n (two or more) arguments of a call into a: they arrive as a
   list of exactly n. */
static int args(value v, int n, value *a)
{
	int i;

	if (v.type != T_LIST || vlen(v) != n)
		return 0;
	for (i = 0; i < n; i++)
		a[i] = vitem(v, i);
	return 1;
}

static value pointval(const point *p)
{
	value xy[2];

	xy[0] = vnum(p->x);
	xy[1] = vnum(p->y);
	return vlist(xy, 2);
}

/* Segment(P,Q): the distance of two points. */
EXPORT value Segment(value v)
{
	value a[2];
	point p, q;

	if (!args(v, 2, a) || !ispoint(a[0], &p) || !ispoint(a[1], &q))
		return vnum(0);
	return vnum(segment(&p, &q));
}

/* Angle(A,O,B): the angle at O from the ray toward A to the ray toward
   B, in (-3.6, 3.6), not wrapped. */
EXPORT value Angle(value v)
{
	value a[3];
	point p, o, q;

	if (!args(v, 3, a) || !ispoint(a[0], &p) || !ispoint(a[1], &o) || !ispoint(a[2], &q))
		return vnum(0);
	return vnum(angle(&p, &o, &q));
}

/* Direction(P,Q): the direction from P toward Q, in [0, 3.6). */
EXPORT value Direction(value v)
{
	value a[2];
	point p, q;

	if (!args(v, 2, a) || !ispoint(a[0], &p) || !ispoint(a[1], &q))
		return vnum(0);
	return vnum(aatan(q.x - p.x, q.y - p.y));
}

/* Vect(L,D): the point at distance L from the origin in direction D. */
EXPORT value Vect(value v)
{
	value a[2];
	double len, dir;
	point d;

	if (!args(v, 2, a) || !isnum(a[0], &len) || !isnum(a[1], &dir))
		return vnum(0);
	return pointval(vect(&d, len, dir));
}

/* Add(P,Q): the point P + Q. */
EXPORT value Add(value v)
{
	value a[2];
	point p, q;

	if (!args(v, 2, a) || !ispoint(a[0], &p) || !ispoint(a[1], &q))
		return vnum(0);
	return pointval(add_p(&p, &p, &q));
}

/* Curve(A,B,C,T): the point at T of the arc that rounds the corner B,
   from C at T = 0 to A at T = 0.9. */
EXPORT value Curve(value v)
{
	value a[4];
	point p, b, c;
	double t;

	if (!args(v, 4, a) || !ispoint(a[0], &p) || !ispoint(a[1], &b) || !ispoint(a[2], &c) ||
	    !isnum(a[3], &t))
		return vnum(0);
	curve_init(&p, &b, &c);
	return pointval(curve2(t));
}

/* Sqrt(X), Cos(X), Sin(X): geomlib's square root and trigonometry. */
EXPORT value Sqrt(value v)
{
	double x;

	return vnum(isnum(v, &x) ? sqrt2b(x) : 0);
}

EXPORT value Cos(value v)
{
	double x;

	return vnum(isnum(v, &x) ? cos1(x) : 0);
}

EXPORT value Sin(value v)
{
	double x;

	return vnum(isnum(v, &x) ? sin1(x) : 0);
}

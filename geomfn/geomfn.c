/* geomlib's geometry as functions of the language, for orvcalc and orv.

   A point is a list whose first two items are numbers, x then y; more
   items, such as a label, are ignored.  Angles are in geomlib's unit,
   where 0.9 is a right angle.  A call with the wrong number of
   arguments, or with an argument that is not a point or a number where
   one is wanted, gives an error result saying so, which orv reports.

   geomlib's routines are not reentrant (cos1 and the corner curve keep
   static state); neither is the interpreter, so that is no matter. */
#include <stdio.h>

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

/* An error result of fmt with up to two numbers. */
static value fault(const char *fmt, int n, int k)
{
	char m[64];

	snprintf(m, sizeof m, fmt, n, k);
	return verror(m);
}

/* The n (two or more) arguments of a call into a: they arrive as a
   list of exactly n.  Else *err says what is wrong. */
static int args(value v, int n, value *a, value *err)
{
	int i, k = v.type == T_LIST ? vlen(v) : v.type != T_END;

	if (k != n) {
		*err = fault("takes %d arguments, not %d", n, k);
		return 0;
	}
	for (i = 0; i < n; i++)
		a[i] = vitem(v, i);
	return 1;
}

/* The first n arguments (all but at most one more) as points into p. */
static int points(const value *a, int n, point *p, value *err)
{
	int i;

	for (i = 0; i < n; i++)
		if (!ispoint(a[i], &p[i])) {
			*err = fault("argument %d is not a point", i + 1, 0);
			return 0;
		}
	return 1;
}

/* The arguments of Segment, Direction and Add: two points. */
static int twopoints(value v, point *p, value *err)
{
	value a[2];

	return args(v, 2, a, err) && points(a, 2, p, err);
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
	point p[2];
	value err;

	if (!twopoints(v, p, &err))
		return err;
	return vnum(segment(&p[0], &p[1]));
}

/* Angle(A,O,B): the angle at O from the ray toward A to the ray toward
   B, in (-3.6, 3.6), not wrapped. */
EXPORT value Angle(value v)
{
	value a[3], err;
	point p[3];

	if (!args(v, 3, a, &err) || !points(a, 3, p, &err))
		return err;
	return vnum(angle(&p[0], &p[1], &p[2]));
}

/* Direction(P,Q): the direction from P toward Q, in [0, 3.6). */
EXPORT value Direction(value v)
{
	point p[2];
	value err;

	if (!twopoints(v, p, &err))
		return err;
	return vnum(aatan(p[1].x - p[0].x, p[1].y - p[0].y));
}

/* Vect(L,D): the point at distance L from the origin in direction D. */
EXPORT value Vect(value v)
{
	value a[2], err;
	double len, dir;
	point d;

	if (!args(v, 2, a, &err))
		return err;
	if (!isnum(a[0], &len) || !isnum(a[1], &dir))
		return fault("argument %d is not a number", isnum(a[0], &len) ? 2 : 1, 0);
	return pointval(vect(&d, len, dir));
}

/* Add(P,Q): the point P + Q. */
EXPORT value Add(value v)
{
	point p[2];
	value err;

	if (!twopoints(v, p, &err))
		return err;
	return pointval(add_p(&p[0], &p[0], &p[1]));
}

/* Curve(A,B,C,T): the point at T of the arc that rounds the corner B,
   from C at T = 0 to A at T = 0.9. */
EXPORT value Curve(value v)
{
	value a[4], err;
	point p[3];
	double t;

	if (!args(v, 4, a, &err) || !points(a, 3, p, &err))
		return err;
	if (!isnum(a[3], &t))
		return fault("argument %d is not a number", 4, 0);
	curve_init(&p[0], &p[1], &p[2]);
	return pointval(curve2(t));
}

/* Sqrt(X), Cos(X), Sin(X): geomlib's square root and trigonometry. */
static int onenum(value v, double *x, value *err)
{
	if (isnum(v, x))
		return 1;
	*err = verror("takes a number");
	return 0;
}

EXPORT value Sqrt(value v)
{
	value err;
	double x;

	return onenum(v, &x, &err) ? vnum(sqrt2b(x)) : err;
}

EXPORT value Cos(value v)
{
	value err;
	double x;

	return onenum(v, &x, &err) ? vnum(cos1(x)) : err;
}

EXPORT value Sin(value v)
{
	value err;
	double x;

	return onenum(v, &x, &err) ? vnum(sin1(x)) : err;
}

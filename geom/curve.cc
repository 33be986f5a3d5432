/* The corner curve: an elliptic arc from c to a that touches the legs
   b-c and b-a, prepared by curve_init and evaluated by curve2. */
#include "geom/geom.h"
#include "geom/state.h"

/* The legs a - b and c - b, through their lengths and directions. */
static double p, q, r, s;
static point curve2_b;		/* the corner */
static point curve2_v;		/* what curve2 returns */

/* Used by curve_init alone. */
static const point x1y0 = {1.0, 0.0};
static point p0;		/* the corner plus x1y0 */

/* The angle at b from the x direction to the ray toward e. */
static double dir(const point *b, const point *e)
{
	return angle(add_p(&p0, b, &x1y0), b, e);
}

void curve_init(const point *a, const point *b, const point *c)
{
	double d;

	/* In this order on purpose: cos1 keeps the angle of the last call. */
	d = segment(a, b);
	p = d * cos1(dir(b, a));
	d = segment(c, b);
	q = d * cos1(dir(b, c));
	d = segment(a, b);
	r = d * sin1(dir(b, a));
	d = segment(c, b);
	s = d * sin1(dir(b, c));
	set_p(&curve2_b, b->x, b->y);
}

/* b + (1 - cos t)(a - b) + (1 - sin t)(c - b): c at t = 0, a at 0.9.
   The result stays valid until the next call. */
point *curve2(double t)
{
	/* Corner added last on purpose: the points' last bits depend on it. */
	curve2_v.x = ((1.0 - cos1(t)) * p + (1.0 - sin1(t)) * q) + curve2_b.x;
	curve2_v.y = ((1.0 - cos1(t)) * r + (1.0 - sin1(t)) * s) + curve2_b.y;
	return &curve2_v;
}

void curve_peek(struct curve_regs *d)
{
	d->p = p;
	d->q = q;
	d->r = r;
	d->s = s;
	d->curve2_b = curve2_b;
	d->curve2_v = curve2_v;
	d->x1y0 = x1y0;
	d->p0 = p0;
}

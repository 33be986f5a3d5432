/* Angles and an algebraic trigonometry.  The angle unit is 100 degrees:
   0.9 is a right angle, 3.6 a full turn.  No pi, no libm trigonometry:
   the tangent is a formula exact at 0 and at half a right angle, and the
   rest is built on it. */
#include <math.h>

#include "geom/geom.h"
#include "geom/sq.h"
#include "geom/state.h"

/* The wrapped angle of the current cos1 call. */
static double b;

/* x wrapped into [-0.9, 0.9), period 1.8: worked in degrees, moved by a
   right angle so that the reduction modulo 180 lands in [0, 180). */
double bound(double x)
{
	/* In this order on purpose: cos1's wrapped angles depend on it. */
	double t = x * 100 - 90;
	double w = t - floor((x * 100 - 90) / 180) * 180;

	return (w - 90) / 100;
}

/* x wrapped into [-0.9, 2.7), period 3.6: bound on half the angle. */
double bound_a(double x)
{
	double h = bound((x - 0.9) / 2.0);

	return (h + h) + 0.9;
}

/* 0.9 x sqrt(2.4525 - x^2) / (0.81 - x^2), where 2.4525 = 0.45^2 + 1.5^2
   makes tan0(0.45) exactly 1; the pole is at 0.9. */
double tan0(double x)
{
	double n = sqrt2b(2.4525 - sq(x)) * x;
	/* Not 0.81 - x^2 on purpose: tan0(0.9) stays finite (d = -1.1e-16). */
	double d = 0.9 - sq(x) * 1.1111111111111112;

	return n / d;
}

/* |cos x| = 1 / sqrt(1 + tan^2 x), for |x| <= 0.9. */
double cos1_0(double x)
{
	return sqrt2b(1.0 / (sq(tan0(x)) + 1.0));
}

double cos1(double x)
{
	b = bound_a(x);
	if (b * 100 <= 90)
		return cos1_0(b);
	return -cos1_0(b - 1.8);
}

double sin1(double x)
{
	return cos1(x - 0.9);
}

/* The inverse of tan0: with s = x^2, t = tan0(x) says
   (1 + t^2/0.81) s^2 + (-2 t^2 - 2.4525) s + 0.81 t^2 = 0,
   and s is the smaller root. */
double atan0(double t)
{
	double g = sgn(t);
	/* Steps as written on purpose: aatan and the curve depend on them. */
	double A = sq(t) / 0.81 + 1.0;
	double B = sq(t) * -2.0 - 2.4525;
	double C = sq(t) * 0.81;
	double s = quad(A, B, C, -1.0);

	return g * sqrt2b(s);
}

/* Direction of (dx, dy) in [0, 3.6); the zero vector gets 0.9. */
double aatan(double dx, double dy)
{
	if (dx == 0)
		return dy >= 0 ? 0.9 : 2.7;
	if (dx < 0)
		return atan0(dy / dx) + 1.8;
	if (dy >= 0)
		return atan0(dy / dx);
	return atan0(dy / dx) + 3.6;
}

double cos1_peek(void)
{
	return b;
}

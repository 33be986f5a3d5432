/* Square roots with a polynomial first guess, a quadratic, a sign. */
#include <math.h>

#include "geom/geom.h"

/* First guesses of the root of m in [0.5, 2). */
static double guess2(double m)
{
	return ((m * 0.05 - 0.29) * m + 0.94) * m + 0.3;
}

static double guess2b(double m)
{
	return m * (((m * -0.18 + 0.97) * m - 1.94) * m + 2.15);
}

/* Split x into m * 2^e with e even, guess the root of m, scale the guess
   by 2^(e/2) and refine it with three Heron steps. */
static double heron(double x, double (*guess)(double))
{
	int e;
	double m = frexp(x, &e);
	double h;

	if (e & 1) {
		m = m + m;
		e = e - 1;
	}
	m = ldexp(guess(m), e / 2);
	if (x == 0)
		return x;	/* keeps the sign of a zero */
	h = x / 2.0;
	m = h / m + m / 2.0;
	m = h / m + m / 2.0;
	return h / m + m / 2.0;
}

double sqrt2(double x)
{
	return heron(x, guess2);
}

double sqrt2b(double x)
{
	return heron(x, guess2b);
}

/* The root of a*u^2 + b*u + c = 0 with the sign k (1 or -1) on the
   square root of the discriminant. */
double quad(double a, double b, double c, double k)
{
	double d = b * b - (a * 4.0) * c;
	double w = sqrt2b(d) * k;

	return (w - b) / (a + a);
}

/* Zeros and NaN give +0. */
double sgn(double x)
{
	return (double)((x > 0) - (x < 0));
}

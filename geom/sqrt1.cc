/* Square root digit by digit, then corrected. */
#include <math.h>

#include "geom/dtoi.h"
#include "geom/geom.h"
#include "geom/state.h"

/* Working storage of sqrt1_ alone (a struct, since libm already has a
   y1).  Every call sets each field before reading it; afterwards they
   hold the values of the call's last step. */
static struct sqrt1_regs w;

static double correct(double a, double v)
{
	return (1.5 - ((a * 0.5) * a) / v) * a;
}

/* The root of v: the root of v * 2^(2n) is built one base-2 digit at a
   time from the top, keeping the remainder x = scaled v - y^2 + y so
   that no whole square is needed, then scaled back by 2^-n and given
   three Newton corrections. */
double sqrt1_(double v, double n)
{
	w.x = ldexp(v, dtoi(n + n));
	w.y = 0;
	w.left = 0;
	w.bit = ldexp(1.0, dtoi((logb(v) + (n + n)) - 1.0));

	/* With the top digit past the double range the loop below would
	   halve infinity forever.  An infinite radicand has an infinite
	   root and a negative one the root 0, as it has everywhere.  For a
	   finite one n asks more digits than a double holds: use the most
	   that keep the scaled radicand finite. */
	if (isinf(w.bit)) {
		if (v > 0 && isinf(v))
			return v;
		if (v < 0)
			return 0;
		return sqrt1_(v, floor((1023.0 - logb(v)) / 2.0));
	}

	for (;;) {
		w.x1 = w.x - ((w.bit - 1.0) + w.left) * w.bit;
		w.y1 = w.bit + w.y;
		w.left1 = w.y1 + w.y1;
		if (w.x1 >= w.y1) {	/* (y + bit)^2 fits: take the digit */
			w.x = w.x1;
			w.y = w.y1;
			w.left = w.left1;
		}
		if (w.bit <= 1.0)
			break;
		w.bit = w.bit / 2.0;
	}
	w.y = ldexp(w.y, dtoi(-n));
	w.a = w.y;
	if (v == 0)
		return w.y;
	w.a = correct(w.a, v);
	w.a = correct(w.a, v);
	return correct(w.a, v);
}

void sqrt1_peek(struct sqrt1_regs *d)
{
	*d = w;
}

/* Copies of the working storage that sqrt1_, cos1 and the corner curve
   keep between calls, for tests and for debugging.  Reading them
   changes nothing. */
#ifndef ORV_GEOM_STATE_H
#define ORV_GEOM_STATE_H

#include "geom/point.h"

#ifdef __cplusplus
extern "C" {
#endif

struct sqrt1_regs {
	double x, y, left, bit, x1, y1, left1, a;
};

struct curve_regs {
	double p, q, r, s;
	point curve2_b, curve2_v, x1y0, p0;
};

void sqrt1_peek(struct sqrt1_regs *d);
double cos1_peek(void);
void curve_peek(struct curve_regs *d);

#ifdef __cplusplus
}
#endif

#endif

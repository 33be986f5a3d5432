/* Double to 32-bit int, truncating toward zero and saturating. */
#ifndef ORV_GEOM_DTOI_H
#define ORV_GEOM_DTOI_H

#include <stdint.h>

/* A plain cast is undefined for NaN and for values outside the int32
   range, and the hardware disagrees there (x86 gives INT32_MIN for all
   of them, ARM saturates and maps NaN to 0).  Spell out one answer:
   NaN gives 0, values at or beyond a limit give that limit. */
static inline int32_t dtoi(double v)
{
	if (v != v)
		return 0;
	if (v <= -2147483648.0)
		return INT32_MIN;
	if (v >= 2147483647.0)
		return INT32_MAX;
	return (int32_t)v;
}

#endif

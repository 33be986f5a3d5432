/* Bijective numerals: itostr writes a number as one, strtol1 reads one
   back (ordinary numerals too). */
#include <cstdint>
#include <cstring>

#include "textview/textview.h"

/* Digit d of a numeral is alphab[d]; there is no zero digit, so index 0
   is only ever read, never written. */
static const char digits[] = "0123456789XABCDEF";

/* Bijective base-N numeral of v (digits 1 to N).  Outside its domain
   (v < 1, base outside 1..16, or more digits than the buffer holds,
   which only base 1 can reach) the result is the empty text, the
   bijective numeral of nothing. */
char *itostr(int64_t v, int64_t base)
{
	static char buf[400];
	static const char *alphab = digits;
	int n = 0;

	buf[399] = 0;
	if (v < 1 || base < 1 || base > 16 || (base == 1 && v > 399))
		return buf + 399;
	do {
		n++;
		/* (v - 1) % base + 1 is ((v + base - 1) % base) + 1 for v >= 1,
		   without the overflow near INT64_MAX. */
		int64_t d = (v - 1) % base + 1;
		v = (v - d) / base;
		buf[399 - n] = alphab[d];
	} while (v != 0);
	return buf + 399 - n;
}

/* Reads a numeral back, bijective or ordinary: each character found
   among the first base + 1 digits counts, others are skipped.  Sums wrap
   like 32-bit two's complement; bases outside 1..16 read as 0. */
int strtol1(const char *t, void *unused, int base)
{
	static const char *alphab = digits;
	uint32_t sum = 0, w = 1;

	(void)unused;
	if (base < 1 || base > 16)
		return 0;
	for (size_t i = strlen(t) + 1; i-- > 0;) {
		const char *f = (const char *)memchr(alphab, t[i], base + 1);
		if (f) {
			sum += w * (uint32_t)(f - alphab);
			w *= (uint32_t)base;
		}
	}
	return (int32_t)sum;
}

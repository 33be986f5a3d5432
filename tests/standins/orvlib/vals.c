/* An "orvlib.so" that makes values no definition can write, for the
   tests of how orv prints values.  Built with the kit header alone, as
   a library author would. */
#include <math.h>
#include <stdint.h>

#include "interp/cfunc.h"

/* A seeded generator (splitmix64), so that Rand and Is agree. */
static uint64_t state;

static uint64_t next(void)
{
	uint64_t z = (state += 0x9E3779B97F4A7C15u);

	z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
	z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
	return z ^ (z >> 31);
}

static int below(int n)
{
	return (int)(next() % (uint64_t)n);
}

/* Doubles at the edges (signed zeros, subnormals, the largest, the
   infinities, NaNs of both signs, where the written form takes or drops
   its exponent), short decimals of any scale, and any bit pattern. */
static double anynum(void)
{
	static const double edge[] = {
		0.0, -0.0, 0.1, 10, 1e300, 1e-05, 5e-324, -5e-324,
		2.2250738585072009e-308, 2.2250738585072014e-308,
		1.7976931348623157e308, -1.7976931348623157e308,
		INFINITY, -INFINITY, NAN, -NAN, 1, -1, 9007199254740993.0,
		1e21, 999999999999999900000.0, 1e-7, 9.999999999999999e-8, 1e-6, 100000, 1e20,
	};
	static const double tens[] = { 1, 10, 100, 1000, 10000, 100000 };
	uint64_t u;
	double d;

	switch (below(5)) {
	case 0:
		return edge[below(sizeof edge / sizeof edge[0])];
	case 1:
		return (double)(below(20001) - 10000) / tens[below(6)];
	case 2:
		return (double)(below(2000001) - 1000000) * pow(10, below(61) - 30);
	default:
		u = next();
		memcpy(&d, &u, sizeof d);
		return d;
	}
}

/* Bytes a definition writes as they are, often enough to make plain
   strings, among any byte but NUL (which no string holds); now and then
   in double quotes, as the escaped form is. */
static value anystr(void)
{
	static const char common[] = "abcXYZ019 @#=\"'\\!~.+-";
	char s[16];
	int n = below(12), i;

	for (i = 0; i < n; i++)
		s[i] = below(3) ? common[below(sizeof common - 1)] : (char)(1 + below(255));
	if (n >= 2 && !below(4))
		s[0] = s[n - 1] = '"';
	s[n] = '\0';
	return vstr(s);
}

/* A list of two to four items, or at the top the empty value.  An item
   is never the empty value, which would end its list. */
static value anyval(int depth, int top)
{
	value items[4];
	int n, i;

	switch (below(depth < 4 ? 3 : 2)) {
	case 0:
		return vnum(anynum());
	case 1:
		return anystr();
	}
	n = top && !below(6) ? 0 : 2 + below(3);
	for (i = 0; i < n; i++)
		items[i] = anyval(depth + 1, 0);
	return vlist(items, n);
}

static value fromseed(value seed)
{
	state = seed.type == T_NUM && seed.num > 0 && seed.num < 1e9 ? (uint64_t)seed.num : 0;
	return anyval(0, 1);
}

/* Rand(N): a value made from the seed N. */
value Rand(value v)
{
	return fromseed(v);
}

/* Whether a and b are the same value, bit for bit; NaNs need only
   agree in sign, as their text carries nothing else. */
static int same(value a, value b)
{
	const value *p, *q;

	if (a.type != b.type)
		return 0;
	switch (a.type) {
	case T_NUM:
		if (isnan(a.num) || isnan(b.num))
			return isnan(a.num) && isnan(b.num) && !signbit(a.num) == !signbit(b.num);
		return memcmp(&a.num, &b.num, sizeof a.num) == 0;
	case T_STR:
		return strcmp((const char *)a.ref, (const char *)b.ref) == 0;
	case T_LIST:
		for (p = vitems(a), q = vitems(b); p->type != T_END; p++, q++)
			if (!same(*p, *q))
				return 0;
		return q->type == T_END;
	}
	return 1;
}

/* Is(N,X): 1 if X is the value of Rand(N), else 0. */
value Is(value v)
{
	return vnum(same(fromseed(vitem(v, 0)), vitem(v, 1)));
}

/* Bytes(B,...): the string of these byte values. */
value Bytes(value v)
{
	char s[64];
	int n = 0;
	const value *p;

	if (v.type == T_NUM)
		s[n++] = (char)(int)v.num;
	for (p = vitems(v); p->type != T_END && n < 63; p++)
		s[n++] = (char)(int)p->num;
	s[n] = '\0';
	return vstr(s);
}

/* One(X): the list of the one item X, which {X} cannot write. */
value One(value v)
{
	return vlist(&v, 1);
}

/* Nest(N): N lists, each of the next one and 1, around the innermost
   {1,1}: {{{1,1},1},1} for 3. */
value Nest(value v)
{
	value items[2] = { vnum(1), vnum(1) };
	value r = vlist(items, 2);
	int i;

	for (i = 1; v.type == T_NUM && i < v.num; i++) {
		items[0] = r;
		r = vlist(items, 2);
	}
	return r;
}

/* Type(N): a value of type code N, as a faulty library might return. */
value Type(value v)
{
	value r = vnum(0);

	r.type = (uint8_t)(int)v.num;
	return r;
}

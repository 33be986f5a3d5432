#include <cmath>

#include "tests/geom/bits.h"
#include "geom/geom.h"
#include "geom/state.h"

TEST(Arith, StatedValues)
{
	const double nan = std::nan("");
	const Case cases[] = {
		{"sqrt2b(0)", sqrt2b(0), "0"},
		{"sqrt2(0)", sqrt2(0), "0"},
		{"sqrt2b(-0.0)", sqrt2b(-0.0), "-0.0"},
		{"sqrt2(-0.0)", sqrt2(-0.0), "-0.0"},
		{"sqrt2b(1)", sqrt2b(1), "1"},
		{"sqrt2(1)", sqrt2(1), "1"},
		{"sqrt2b(4)", sqrt2b(4), "2"},
		{"sqrt2(4)", sqrt2(4), "2"},
		{"sqrt2b(0.25)", sqrt2b(0.25), "0.5"},
		{"sqrt2(0.25)", sqrt2(0.25), "0.5"},
		{"sqrt2b(2)", sqrt2b(2), "1.414213562373095"},
		{"sqrt2(2)", sqrt2(2), "1.414213562373095"},
		{"sqrt2b(10)", sqrt2b(10), "3.162277660168379"},
		{"sqrt2b(6.01475625)", sqrt2b(6.01475625), "2.4524999999999997"},
		{"sqrt2b(-1)", sqrt2b(-1), "-0.06229866059440958"},
		{"sqrt2(-1)", sqrt2(-1), "-12.348474020922984"},

		{"sqrt1_(1, 0)", sqrt1_(1, 0), "0.9752996308188813"},
		{"sqrt1_(2, 4)", sqrt1_(2, 4), "1.4142135623649656"},
		{"sqrt1_(2, 10)", sqrt1_(2, 10), "1.4142135623730951"},
		{"sqrt1_(4, 2.5)", sqrt1_(4, 2.5), "1.9823175313206258"},
		{"sqrt1_(1e-06, 10)", sqrt1_(1e-06, 10), "0.0009712189946434419"},
		{"sqrt1_(0, 0)", sqrt1_(0, 0), "0"},
		{"sqrt1_(0, 10)", sqrt1_(0, 10), "0"},
		{"sqrt1_(0, -3)", sqrt1_(0, -3), "0"},
		{"sqrt1_(4, 0)", sqrt1_(4, 0), "2"},
		{"sqrt1_(4, 4)", sqrt1_(4, 4), "2"},
		{"sqrt1_(4, 10)", sqrt1_(4, 10), "2"},
		{"sqrt1_(4, 20)", sqrt1_(4, 20), "2"},
		{"sqrt1_(-4, 0)", sqrt1_(-4, 0), "0"},
		{"sqrt1_(-4, 10)", sqrt1_(-4, 10), "0"},

		{"quad(1, -3, 2, 1)", quad(1, -3, 2, 1), "2"},
		{"quad(1, -3, 2, -1)", quad(1, -3, 2, -1), "1"},
		{"quad(1, 0, -4, 1)", quad(1, 0, -4, 1), "2"},
		{"quad(1, 0, -4, -1)", quad(1, 0, -4, -1), "-2"},

		{"sgn(3)", sgn(3), "1"},
		{"sgn(-2)", sgn(-2), "-1"},
		{"sgn(-0.0)", sgn(-0.0), "0"},
		{"sgn(NaN)", sgn(nan), "0"},
	};
	expect_table(cases);
	EXPECT_TRUE(std::isnan(sqrt1_(nan, 10)));
}

/* What sqrt1_ leaves in its working storage pins down each step of the
   digit loop: 1 * 2^20 has the root 2^10 and remainder 2^10; the last
   trial, with digit 1, is refused. */
TEST(Arith, Sqrt1State)
{
	sqrt1_regs w;

	sqrt1_(1, 10);
	sqrt1_peek(&w);
	const Case after1[] = {
		{"x", w.x, "1024"},   {"y", w.y, "1"},
		{"left", w.left, "2048"}, {"bit", w.bit, "1"},
		{"x1", w.x1, "-1024"}, {"y1", w.y1, "1025"},
		{"left1", w.left1, "2050"}, {"a", w.a, "1"},
	};
	expect_table(after1);

	/* the second correction is kept, the third only returned */
	sqrt1_(2, 10);
	sqrt1_peek(&w);
	expect_bits(w.a, "1.4142135623730945", "a after sqrt1_(2, 10)");

	/* K < 0: a single pass with the digit 2^K */
	sqrt1_(1e-06, 10);
	sqrt1_peek(&w);
	expect_bits(w.bit, "0.5", "bit after sqrt1_(1e-06, 10)");
	sqrt1_(0, 7);
	sqrt1_peek(&w);
	expect_bits(w.bit, "0", "bit after sqrt1_(0, 7)");
	expect_bits(w.a, "0", "a after sqrt1_(0, 7)");
}

/* Inputs whose first digit 2^K would overflow must still return:
   an infinite radicand has an infinite root, a negative one the root 0,
   and a finite one with too many digits asked gets as many as fit. */
TEST(Arith, Sqrt1Overflow)
{
	const double inf = INFINITY;
	const Case cases[] = {
		{"sqrt1_(inf, 10)", sqrt1_(inf, 10), "inf"},
		{"sqrt1_(inf, 0)", sqrt1_(inf, 0), "inf"},
		{"sqrt1_(-inf, 10)", sqrt1_(-inf, 10), "0"},
		{"sqrt1_(-4, 600)", sqrt1_(-4, 600), "0"},
		{"sqrt1_(4, 600)", sqrt1_(4, 600), "2"},
		{"sqrt1_(4, inf)", sqrt1_(4, inf), "2"},
		{"sqrt1_(2, 1e6)", sqrt1_(2, 1e6), "1.4142135623730949"},
	};
	expect_table(cases);
	/* the largest n that fits, for 2 */
	expect_bits(sqrt1_(2, 511), "1.4142135623730949", "sqrt1_(2, 511)");
}

/* Radicands across the exponent range, odd and even exponents of both
   signs: every root lies within an ulp of the true one. */
TEST(Arith, RootsAcrossExponents)
{
	for (int e = -1000; e <= 1000; e += 7) {
		double v = std::ldexp(1.0 + std::fmod(e * 0.618033988749895, 1.0), e);
		double want = std::sqrt(v);
		EXPECT_LE(ulps(sqrt2b(v), want), 1) << "sqrt2b(" << hex(v) << ")";
		EXPECT_LE(ulps(sqrt2(v), want), 1) << "sqrt2(" << hex(v) << ")";
		EXPECT_LE(ulps(sqrt1_(v, 1e6), want), 1) << "sqrt1_(" << hex(v) << ", 1e6)";
	}
}

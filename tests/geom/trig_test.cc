#include <cmath>

#include "tests/geom/bits.h"
#include "geom/geom.h"
#include "geom/state.h"

TEST(Trig, StatedValues)
{
	const Case cases[] = {
		{"bound(0.9)", bound(0.9), "-0.9"},
		{"bound(-0.9)", bound(-0.9), "-0.9"},
		{"bound(1.0)", bound(1.0), "-0.8"},
		{"bound(1.8)", bound(1.8), "0.0"},
		{"bound_a(0.9)", bound_a(0.9), "0.9"},
		{"bound_a(-1.8)", bound_a(-1.8), "1.8"},
		{"bound_a(3.6)", bound_a(3.6), "0.0"},
		{"bound_a(2.7)", bound_a(2.7), "-0.8999999999999998"},
		{"bound_a(5.0)", bound_a(5.0), "1.3999999999999995"},
		{"tan0(0.45)", tan0(0.45), "1.0"},
		{"tan0(-0.45)", tan0(-0.45), "-1.0"},
		{"tan0(0.3)", tan0(0.3), "0.5763909805852274"},
		{"tan0(0.6)", tan0(0.6), "1.735857136978732"},
		{"tan0(0.9)", tan0(0.9), "-1.0389268462589324e+16"},
		{"cos1(0)", cos1(0), "1.0"},
		{"cos1(0.3)", cos1(0.3), "0.8663850620799841"},
		{"cos1(0.45)", cos1(0.45), "0.7071067811865475"},
		{"cos1(0.9)", cos1(0.9), "9.625316773754535e-17"},
		{"cos1(1.35)", cos1(1.35), "-0.7071067811865477"},
		{"cos1(1.8)", cos1(1.8), "-1.0"},
		{"cos1(2.7)", cos1(2.7), "3.850126709501815e-16"},
		{"cos1(3.6)", cos1(3.6), "1.0"},
		{"cos1(7.2)", cos1(7.2), "1.0"},
		{"sin1(0)", sin1(0), "9.625316773754535e-17"},
		{"sin1(0.3)", sin1(0.3), "0.4991770362760095"},
		{"sin1(0.9)", sin1(0.9), "1.0"},
		{"sin1(2.7)", sin1(2.7), "-1.0"},
		{"atan0(0)", atan0(0), "0.0"},
		{"atan0(1)", atan0(1), "0.45000000000000007"},
		{"atan0(-1)", atan0(-1), "-0.45000000000000007"},
		{"atan0(10)", atan0(10), "0.8425548648020144"},
		{"atan0(1e-06)", atan0(1e-06), "5.746131981804055e-07"},
		{"atan0(1e-08)", atan0(1e-08), "0"},
		{"atan0(tan0(0.3))", atan0(tan0(0.3)), "0.30000000000000004"},
		{"aatan(1, 0)", aatan(1, 0), "0.0"},
		{"aatan(1, 1)", aatan(1, 1), "0.45000000000000007"},
		{"aatan(0, 1)", aatan(0, 1), "0.9"},
		{"aatan(0, 0)", aatan(0, 0), "0.9"},
		{"aatan(-0.0, -0.0)", aatan(-0.0, -0.0), "0.9"},
		{"aatan(-1, 1)", aatan(-1, 1), "1.35"},
		{"aatan(-1, 0)", aatan(-1, 0), "1.8"},
		{"aatan(-1, -1)", aatan(-1, -1), "2.25"},
		{"aatan(0, -1)", aatan(0, -1), "2.7"},
		{"aatan(1, -1)", aatan(1, -1), "3.15"},
	};
	expect_table(cases);
}

TEST(Trig, OutOfRange)
{
	const double nan = std::nan("");
	EXPECT_TRUE(std::isnan(atan0(1e77)));	/* t^4 overflows: inf - inf */
	EXPECT_TRUE(std::isnan(aatan(1, 1e77)));
	EXPECT_TRUE(std::isnan(cos1(nan)));
	EXPECT_TRUE(std::isnan(sin1(nan)));
}

/* cos1 keeps the wrapped angle of its last call. */
TEST(Trig, Cos1State)
{
	cos1(2.7);
	expect_bits(cos1_peek(), "-0.8999999999999998", "b after cos1(2.7)");
	sin1(0.9);
	expect_bits(cos1_peek(), "0", "b after sin1(0.9)");
}

/* atan0 undoes tan0, exactly antisymmetric.  Within a few ulp in the
   middle of the range; toward 0 the small root of its quadratic loses
   digits to cancellation, toward the pole at 0.9 the tangent itself
   does, so there only the absolute error is bounded. */
TEST(Trig, Atan0InvertsTan0)
{
	for (int i = 1; i < 900; i++) {
		double x = i / 1000.0;
		double y = atan0(tan0(x));
		EXPECT_EQ(hex(atan0(tan0(-x))), hex(-y)) << "x = " << x;
		if (x >= 0.3 && x <= 0.85)
			EXPECT_LE(ulps(y, x), 8) << "x = " << x;
		else
			EXPECT_NEAR(y, x, 1e-12) << "x = " << x;
	}
}

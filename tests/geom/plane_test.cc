#include "tests/geom/bits.h"
#include "geom/geom.h"
#include "geom/state.h"

extern "C" double c_segment(double ax, double ay, double bx, double by);

struct PointCase {
	const char *call;
	point got;
	const char *x, *y;
};

template <std::size_t N> static void expect_points(const PointCase (&cases)[N])
{
	for (const PointCase &c : cases) {
		expect_bits(c.got.x, c.x, std::string(c.call) + ".x");
		expect_bits(c.got.y, c.y, std::string(c.call) + ".y");
	}
}

TEST(Plane, StatedValues)
{
	const point o{0, 0}, e1{1, 0}, e2{0, 1}, w1{-1, 0}, s1{0, -1};
	const point a{3, 4}, f{-2.5, 7};
	const Case cases[] = {
		{"segment((0,0), (3,4))", segment(&o, &a), "5.0"},
		{"segment(a, a)", segment(&f, &f), "0.0"},
		{"angle((1,0), o, (0,1))", angle(&e1, &o, &e2), "0.9"},
		{"angle((0,1), o, (1,0))", angle(&e2, &o, &e1), "-0.9"},
		{"angle((1,0), o, (-1,0))", angle(&e1, &o, &w1), "1.8"},
		{"angle((1,0), o, (0,-1))", angle(&e1, &o, &s1), "2.7"},
		{"angle(a, o, a)", angle(&f, &o, &f), "0.0"},
	};
	expect_table(cases);

	point d;
	const PointCase points[] = {
		{"vect(2, 0)", *vect(&d, 2, 0), "2.0", "1.925063354750907e-16"},
		{"vect(2, 0.9)", *vect(&d, 2, 0.9), "1.925063354750907e-16", "2.0"},
		{"vect(1, 0.45)", *vect(&d, 1, 0.45), "0.7071067811865475", "0.7071067811865475"},
		{"set_p(-0.0, 7)", *set_p(&d, -0.0, 7), "-0.0", "7"},
		{"copy_p((3,4))", *copy_p(&d, &a), "3", "4"},
	};
	expect_points(points);
}

/* The destination may be either input. */
TEST(Plane, AddInPlace)
{
	const point a0{1, 2}, b0{0.5, -4};
	point d, a = a0, b = b0;

	EXPECT_EQ(add_p(&d, &a, &b), &d);
	EXPECT_EQ(add_p(&a, &a, &b), &a);
	EXPECT_EQ(add_p(&b, &a0, &b), &b);
	const PointCase cases[] = {
		{"add_p(d, a, b)", d, "1.5", "-2.0"},
		{"add_p(a, a, b)", a, "1.5", "-2.0"},
		{"add_p(b, a, b)", b, "1.5", "-2.0"},
	};
	expect_points(cases);
}

/* Two corners: the curve state that curve_init leaves and three points
   of the arc. */
TEST(Plane, Curve)
{
	struct {
		point a, b, c;
		const char *p, *q, *r, *s;
		const char *at[3][2];	/* curve2 at 0, 0.45, 0.9 */
	} cases[] = {
		{{0, 1}, {0, 0}, {1, 0},
		 "9.625316773754535e-17", "1.0", "1.0", "9.625316773754535e-17",
		 {{"0.9999999999999999", "9.625316773754534e-17"},
		  {"0.2928932188134526", "0.2928932188134526"},
		  {"9.625316773754534e-17", "0.9999999999999999"}}},
		{{2, 3}, {1, 1}, {4, 1},
		 "0.9999999999999999", "3.0", "1.9996846495004141", "2.8875950321263606e-16",
		 {{"3.9999999999999996", "1.0000000000000002"},
		  {"2.17157287525381", "1.585694073604027"},
		  {"1.9999999999999998", "2.9996846495004137"}}},
	};
	const double ts[] = {0, 0.45, 0.9};

	for (auto &k : cases) {
		curve_regs st;
		curve_init(&k.a, &k.b, &k.c);
		curve_peek(&st);
		expect_bits(st.p, k.p, "p");
		expect_bits(st.q, k.q, "q");
		expect_bits(st.r, k.r, "r");
		expect_bits(st.s, k.s, "s");
		expect_bits(st.curve2_b.x, std::to_string(k.b.x).c_str(), "curve2_b.x");
		expect_bits(st.curve2_b.y, std::to_string(k.b.y).c_str(), "curve2_b.y");
		expect_bits(st.p0.x, std::to_string(k.b.x + 1).c_str(), "p0.x");
		expect_bits(st.p0.y, std::to_string(k.b.y).c_str(), "p0.y");
		for (int i = 0; i < 3; i++) {
			point *v = curve2(ts[i]);
			std::string what = "curve2(" + std::to_string(ts[i]) + ")";
			expect_bits(v->x, k.at[i][0], what + ".x");
			expect_bits(v->y, k.at[i][1], what + ".y");
		}
	}
}

/* One result point, overwritten by each call. */
TEST(Plane, Curve2SharesItsResult)
{
	const point a{0, 1}, b{0, 0}, c{1, 0};
	curve_init(&a, &b, &c);
	point *first = curve2(0);
	point kept;
	copy_p(&kept, first);
	EXPECT_EQ(curve2(0.9), first);
	EXPECT_NE(hex(first->x), hex(kept.x));
}

/* The arc starts at c and ends at a, whatever the corner, to within
   the error of the approximate cosine (about 4e-4 of a leg). */
TEST(Plane, CurveEndPoints)
{
	const point corners[][3] = {
		{{0, 1}, {0, 0}, {1, 0}},
		{{2, 3}, {1, 1}, {4, 1}},
		{{-5, 2}, {1, -1}, {3, 7}},
		{{10, 10}, {0, 0}, {-3, 0.5}},
		{{1e3, -2e3}, {-7, 4}, {6e2, 9e2}},
	};

	for (auto &k : corners) {
		const point &a = k[0], &b = k[1], &c = k[2];
		curve_init(&a, &b, &c);
		point at0, at9;
		copy_p(&at0, curve2(0));
		copy_p(&at9, curve2(0.9));
		EXPECT_LE(segment(&at0, &c), 1e-3 * segment(&c, &b)) << "corner " << b.x << "," << b.y;
		EXPECT_LE(segment(&at9, &a), 1e-3 * segment(&a, &b)) << "corner " << b.x << "," << b.y;
	}
}

/* Swapping the rays negates the angle exactly (a zero stays +0). */
TEST(Plane, AngleAntisymmetric)
{
	const point pts[] = {{0, 0}, {1, 0}, {0, 1}, {-2, 3}, {-1, -1}, {4, -0.5}, {1e-3, 7}};

	for (const point &o : pts)
		for (const point &a : pts)
			for (const point &b : pts)
				EXPECT_EQ(angle(&a, &o, &b), -angle(&b, &o, &a));
}

/* The header serves C callers too. */
TEST(Plane, FromC)
{
	expect_bits(c_segment(0, 0, 3, 4), "5.0", "segment from C");
}

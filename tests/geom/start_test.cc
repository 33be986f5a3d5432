/* Alone in its program, so that nothing has touched the curve yet. */
#include "tests/geom/bits.h"
#include "geom/geom.h"
#include "geom/state.h"

TEST(CurveStart, ZeroBeforeInit)
{
	curve_regs st;
	curve_peek(&st);
	const Case cases[] = {
		{"p", st.p, "0"}, {"q", st.q, "0"}, {"r", st.r, "0"}, {"s", st.s, "0"},
		{"curve2_b.x", st.curve2_b.x, "0"}, {"curve2_b.y", st.curve2_b.y, "0"},
		{"curve2_v.x", st.curve2_v.x, "0"}, {"curve2_v.y", st.curve2_v.y, "0"},
		{"p0.x", st.p0.x, "0"}, {"p0.y", st.p0.y, "0"},
		{"x1y0.x", st.x1y0.x, "1"}, {"x1y0.y", st.x1y0.y, "0"},
	};
	expect_table(cases);

	point *v = curve2(0.3);
	expect_bits(v->x, "0", "curve2(0.3).x");
	expect_bits(v->y, "0", "curve2(0.3).y");
}

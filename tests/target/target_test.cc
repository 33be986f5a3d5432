// The machine the code is built for: pointer width, floating point, and
// the records of a type code, a double and a pointer that cross between
// the interpreter and its libraries.
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

#include "geom/dtoi.h"

extern "C" int32_t dtoi_c(double v);

#if defined(__arm__)
// Debian armhf: ARMv7-A, VFPv3-D16, floating-point arguments in VFP
// registers.  Objects built otherwise would not link or run beside the
// system's libraries.
static_assert(sizeof(void *) == 4);
static_assert(__ARM_ARCH == 7);
#ifndef __ARM_PCS_VFP
#error "not the hard-float calling convention"
#endif
#ifdef __ARM_NEON
#error "NEON is not part of the armhf baseline"
#endif
#elif defined(__x86_64__)
static_assert(sizeof(void *) == 8);
#endif

// Doubles are IEEE binary64, evaluated in their own precision, not in a
// wider one (as the x87 does): the geometry results are exact to the bit.
static_assert(std::numeric_limits<double>::is_iec559);
static_assert(FLT_EVAL_METHOD == 0);

// A type code, a double, a pointer: 24 bytes at 0/8/16 on both targets,
// since a double is 8-byte aligned in a record on each.  It is 16 bytes
// on a target that aligns doubles to 4 (i386), where a library built for
// the 24-byte layout would read garbage.
struct rec {
	int32_t type;
	double d;
	void *p;
};
static_assert(sizeof(rec) == 24);
static_assert(offsetof(rec, type) == 0);
static_assert(offsetof(rec, d) == 8);
static_assert(offsetof(rec, p) == 16);

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

struct dcase {
	double in;
	int32_t out;
};

// x86 converts every one of the first eight to INT32_MIN; ARM saturates
// and gives 0 for NaN.  dtoi must give one answer on both.
constexpr dcase dcases[] = {
	{nan, 0},
	{-nan, 0},
	{inf, INT32_MAX},
	{-inf, INT32_MIN},
	{1e300, INT32_MAX},
	{-1e300, INT32_MIN},
	{2147483648.0, INT32_MAX},	// just outside
	{-2147483649.0, INT32_MIN},
	{2147483647.0, INT32_MAX},	// the limits themselves
	{-2147483648.0, INT32_MIN},
	{2147483647.5, INT32_MAX},	// inside after truncation
	{-2147483648.5, INT32_MIN},
	{2147483646.9, 2147483646},	// just inside
	{-2147483647.9, -2147483647},
	{1.9, 1},			// toward zero, not down
	{-1.9, -1},
	{-0.5, 0},
	{-0.0, 0},
	{4.9e-324, 0},
};

TEST(dtoi, same_on_every_target)
{
	for (const dcase &c : dcases) {
		// volatile: convert at run time, on the target's instructions
		volatile double in = c.in;
		EXPECT_EQ(dtoi(in), c.out) << "dtoi(" << c.in << ")";
		EXPECT_EQ(dtoi_c(in), c.out) << "dtoi_c(" << c.in << ")";
	}
}

} // namespace

/* Bit-for-bit comparison of doubles against decimal texts. */
#ifndef ORV_TESTS_GEOM_BITS_H
#define ORV_TESTS_GEOM_BITS_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

/* The exact value in hexadecimal: equal texts mean equal bits (the sign
   of a zero included), and a failure shows both values in full. */
inline std::string hex(double d)
{
	char b[40];
	std::snprintf(b, sizeof b, "%a", d);
	return b;
}

/* want is the shortest decimal that identifies the double, so strtod
   gives back that very double. */
inline void expect_bits(double got, const char *want, const std::string &what)
{
	EXPECT_EQ(hex(got), hex(std::strtod(want, nullptr))) << what << " should be " << want;
}

struct Case {
	const char *call;
	double got;
	const char *want;
};

template <std::size_t N> void expect_table(const Case (&cases)[N])
{
	for (const Case &c : cases)
		expect_bits(c.got, c.want, c.call);
}

/* Distance in units in the last place, counting across zero. */
inline std::int64_t ulps(double a, double b)
{
	auto key = [](double d) {
		std::int64_t i;
		std::memcpy(&i, &d, sizeof i);
		return i < 0 ? INT64_MIN - i : i;
	};
	std::int64_t d = key(a) - key(b);
	return d < 0 ? -d : d;
}

#endif

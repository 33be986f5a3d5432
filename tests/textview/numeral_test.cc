/* Bijective numerals both ways, and letter cells. */
#include <string>

#include <gtest/gtest.h>

#include "textview/textview.h"

namespace {

struct to_text { int64_t v, base; const char *want; };

const to_text to_texts[] = {
	{1, 10, "1"}, {9, 10, "9"}, {10, 10, "X"}, {11, 10, "11"},
	{20, 10, "1X"}, {100, 10, "9X"}, {101, 10, "X1"}, {110, 10, "XX"},
	{111, 10, "111"}, {1110, 10, "XXX"}, {12345, 10, "12345"},
	{10, 16, "X"}, {11, 16, "A"}, {15, 16, "E"}, {16, 16, "F"},
	{17, 16, "11"}, {255, 16, "EE"}, {256, 16, "EF"},
	{3, 2, "11"}, {4, 2, "12"}, {6, 2, "22"}, {7, 2, "111"},
	{4, 1, "1111"},
	{INT64_MAX, 16, "7EEEEEEEEEEEEEEE"},
	/* Outside the domain: the empty text, and nothing written astray. */
	{0, 10, ""}, {-1, 10, ""}, {INT64_MIN, 10, ""},
	{5, 0, ""}, {5, -3, ""}, {5, 17, ""}, {400, 1, ""},
};

TEST(Itostr, Numerals)
{
	for (const to_text &k : to_texts)
		EXPECT_STREQ(itostr(k.v, k.base), k.want)
			<< k.v << " in base " << k.base;
}

TEST(Itostr, FillsTheBufferInBase1)
{
	EXPECT_EQ(std::string(itostr(399, 1)), std::string(399, '1'));
	EXPECT_EQ(std::string(itostr(INT64_MAX, 2)), std::string(63, '1'));
}

TEST(Itostr, OneIsOneInEveryBase)
{
	for (int b = 1; b <= 16; b++)
		EXPECT_STREQ(itostr(1, b), "1") << "base " << b;
}

TEST(Strtol1, ReadsItostrBack)
{
	for (int b = 1; b <= 16; b++)
		for (int n = 1; n <= (b == 1 ? 399 : 5000); n++)
			ASSERT_EQ(strtol1(itostr(n, b), nullptr, b), n) << "base " << b;
	EXPECT_EQ(strtol1(itostr(INT32_MAX, 10), nullptr, 10), INT32_MAX);
}

struct from_text { const char *t; int base, want; };

const from_text from_texts[] = {
	{"", 10, 0}, {"X", 9, 0}, {"1-2", 10, 12}, {"A", 16, 11},
	{"1X", 10, 20}, {"20", 10, 20}, {"X", 10, 10}, {"x", 10, 0},
	{"0", 16, 0}, {"F0", 16, 256},
	/* No overflow check: the sum wraps like 32-bit two's complement. */
	{"4294967297", 10, 1},
	/* Bases outside 1..16 read nothing. */
	{"12", 0, 0}, {"12", -5, 0}, {"12", 17, 0},
};

TEST(Strtol1, Texts)
{
	for (const from_text &k : from_texts)
		EXPECT_EQ(strtol1(k.t, nullptr, k.base), k.want)
			<< '"' << k.t << "\" in base " << k.base;
}

TEST(Gletter, GoldenRatio)
{
	struct { int16_t size, flag, want; } cases[] = {
		{16, 0, 9}, {16, 1, 25}, {20, 0, 12}, {20, 7, 32}, {-16, 0, -9},
		{0, 0, 0}, {0, 1, 0},
		{32767, 1, -12518},     /* 53018 taken to 16 bits */
	};
	for (const auto &k : cases)
		EXPECT_EQ(gletter(k.size, k.flag), k.want)
			<< k.size << ", " << k.flag;
}

}

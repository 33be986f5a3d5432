/* UTF-8 as the editor walks it: every byte string splits into characters
   one way, forward or back, and bad bytes stay single characters. */
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orvedit/utf8.h"

namespace {

TEST(Utf8, Decode)
{
	const struct {
		const char *s;
		int32_t cp;
		int len;
		bool ok;
	} cases[] = {
		{"A", 'A', 1, true},
		{"\x7f", 0x7f, 1, true},
		{"\xc2\x80", 0x80, 2, true},
		{"\xdf\xbf", 0x7ff, 2, true},
		{"\xc3\xa9!", 0xe9, 2, true},
		{"\xe0\xa0\x80", 0x800, 3, true},
		{"\xe2\x82\xac", 0x20ac, 3, true},
		{"\xed\x9f\xbf", 0xd7ff, 3, true},
		{"\xee\x80\x80", 0xe000, 3, true},
		{"\xef\xbf\xbf", 0xffff, 3, true},
		{"\xf0\x90\x80\x80", 0x10000, 4, true},
		{"\xf0\x9f\x98\x80", 0x1f600, 4, true},
		{"\xf4\x8f\xbf\xbf", 0x10ffff, 4, true},
		/* overlong forms */
		{"\xc0\x80", 0xc0, 1, false},
		{"\xc1\xbf", 0xc1, 1, false},
		{"\xe0\x9f\xbf", 0xe0, 1, false},
		{"\xf0\x8f\xbf\xbf", 0xf0, 1, false},
		/* surrogates, beyond U+10FFFF, bytes that never lead */
		{"\xed\xa0\x80", 0xed, 1, false},
		{"\xed\xbf\xbf", 0xed, 1, false},
		{"\xf4\x90\x80\x80", 0xf4, 1, false},
		{"\xf5\x80\x80\x80", 0xf5, 1, false},
		{"\xff", 0xff, 1, false},
		/* a stray continuation byte */
		{"\x80", 0x80, 1, false},
		{"\xbf\x41", 0xbf, 1, false},
		/* cut short: by the end, by another character */
		{"\xc3", 0xc3, 1, false},
		{"\xe2\x82", 0xe2, 1, false},
		{"\xf0\x9f\x98", 0xf0, 1, false},
		{"\xe2\x82\x41", 0xe2, 1, false},
		{"\xf0\x9f\x98\xf0\x9f\x98\x80", 0xf0, 1, false},
	};
	for (auto c : cases) {
		SCOPED_TRACE(testing::PrintToString(std::string(c.s)));
		u8char u = u8_decode(c.s, 0);
		EXPECT_EQ(u.cp, c.cp);
		EXPECT_EQ(u.len, c.len);
		EXPECT_EQ(u.ok, c.ok);
	}
	EXPECT_EQ(u8_decode("ab", 2).len, 0);
	EXPECT_EQ(u8_decode("ab", -1).len, 0);
}

/* The boundaries of s walking forward from 0 with u8_next. */
std::vector<int> forward(std::string_view s)
{
	std::vector<int> b = {0};
	for (int p = 0; p < (int)s.size();)
		b.push_back(p = u8_next(s, p));
	return b;
}

std::vector<int> backward(std::string_view s)
{
	std::vector<int> b = {(int)s.size()};
	for (int p = (int)s.size(); p > 0;)
		b.insert(b.begin(), p = u8_prev(s, p));
	return b;
}

TEST(Utf8, Boundaries)
{
	const struct {
		const char *s;
		std::vector<int> b;
	} cases[] = {
		{"", {0}},
		{"Caf\xc3\xa9", {0, 1, 2, 3, 5}},
		{"\xf0\x9f\x98\x80!", {0, 4, 5}},
		/* a valid sequence followed by a stray byte */
		{"\xe2\x82\xac\x82", {0, 3, 4}},
		/* five continuation bytes: five characters */
		{"a\x80\x80\x80\x80\x80", {0, 1, 2, 3, 4, 5, 6}},
		/* a lead cut short, then its continuation bytes alone */
		{"\xe2\x82x", {0, 1, 2, 3}},
		{"\xf0\x9f\x98", {0, 1, 2, 3}},
		{"\xc3\xc3\xa9", {0, 1, 3}},
		{"\xed\xa0\x80", {0, 1, 2, 3}},
	};
	for (auto &c : cases) {
		SCOPED_TRACE(testing::PrintToString(std::string(c.s)));
		EXPECT_EQ(forward(c.s), c.b);
		EXPECT_EQ(backward(c.s), c.b);
	}
}

/* Any bytes at all: the walks agree, no step is longer than 4 bytes,
   every byte inside a character leads back to its start, and the column
   of each boundary is that of the one before plus its character.  Runs
   of ASCII long enough to be counted 8 bytes at a time come often. */
TEST(Utf8, AnyBytesSplitOneWay)
{
	std::mt19937 rng(19);
	const unsigned char pick[] = {'a', 'a', 'a', 'a', 'a', 'a', 'a', 'a',
		'\t', 0x80, 0x8f, 0x90, 0xa0, 0xbf, 0xc0, 0xc3, 0xdf, 0xe0, 0xe2,
		0xed, 0xef, 0xf0, 0xf4, 0xf5, 0xff};
	for (int round = 0; round < 2000; round++) {
		std::string s;
		int n = rng() % 40;
		for (int i = 0; i < n; i++)
			s += (char)pick[rng() % (round % 2 ? sizeof pick : 10)];
		SCOPED_TRACE(testing::PrintToString(s));
		std::vector<int> b = forward(s);
		ASSERT_EQ(backward(s), b);
		int col = 0;
		for (size_t i = 1; i < b.size(); i++) {
			ASSERT_LE(b[i] - b[i - 1], 4);
			for (int p = b[i - 1]; p < b[i]; p++)
				ASSERT_EQ(u8_start(s, p), b[i - 1]) << "byte " << p;
			col = s[b[i - 1]] == '\t' ? (col / 4 + 1) * 4 : col + 1;
			ASSERT_EQ(u8_col(s, 0, b[i], 4), col) << "at " << b[i];
			ASSERT_EQ(u8_at_col(s, 0, n, col, 4), b[i]);
		}
	}
}

TEST(Utf8, Columns)
{
	/* From the line's start: pos, its column with tabs of 4. */
	const struct {
		const char *s;
		int pos, col;
	} cases[] = {
		{"abc", 0, 0},
		{"abc", 3, 3},
		{"d\xc3\xa9j\xc3\xa0 vu", 6, 4},
		{"\xf0\x9f\x98\x80x", 4, 1},
		{"\tx", 1, 4},
		{"ab\tx", 3, 4},
		{"abcd\tx", 5, 8},
		{"\xc3\xa9\tx", 3, 4},
		{"\t\t", 2, 8},
		/* invalid bytes count one column each */
		{"\xe2\x82x", 3, 3},
		{"\x80\x80\tx", 3, 4},
	};
	for (auto c : cases) {
		SCOPED_TRACE(testing::PrintToString(std::string(c.s)));
		std::string s = std::string("one\n") + c.s + "\nthree";
		int end = (int)s.find('\n', 4);
		EXPECT_EQ(u8_col(s, 4, 4 + c.pos, 4), c.col);
		EXPECT_EQ(u8_at_col(s, 4, end, c.col, 4), 4 + c.pos);
	}
	/* Inside a tab, the tab; beyond the line, its end. */
	std::string s = "a\tb\nnext";
	EXPECT_EQ(u8_at_col(s, 0, 3, 2, 4), 1);
	EXPECT_EQ(u8_at_col(s, 0, 3, 3, 4), 1);
	EXPECT_EQ(u8_at_col(s, 0, 3, 4, 4), 2);
	EXPECT_EQ(u8_at_col(s, 0, 3, 99, 4), 3);
	EXPECT_EQ(u8_col(s, 0, 3, 8), 9);
}

}

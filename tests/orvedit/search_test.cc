/* Search as a user meets it: next and previous from the cursor, round
   the ends of the text, case ignored unless the pattern has a capital. */
#include <cctype>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orvedit/search.h"

namespace {

TEST(Search, NextAndPrevious)
{
	const struct {
		const char *text, *pat;
		int from;
		int next;
		bool next_wrapped;
		int prev;
		bool prev_wrapped;
	} cases[] = {
		{"one two one", "one", 0, 0, false, 8, true},
		{"one two one", "one", 1, 8, false, 0, false},
		{"one two one", "one", 9, 0, true, 8, false},
		{"one two one", "two", 4, 4, false, 4, true},
		{"one two one", "two", 5, 4, true, 4, false},
		{"one two one", "three", 0, -1, false, -1, false},
		{"ab", "abc", 0, -1, false, -1, false},
		{"", "a", 0, -1, false, -1, false},
		{"abc", "", 1, -1, false, -1, false},
		/* at the very ends */
		{"xyz", "z", 3, 2, true, 2, false},
		{"xyz", "x", 0, 0, false, 0, true},
		/* overlapping: each start is a match */
		{"aaaa", "aa", 1, 1, false, 0, false},
		{"aaaa", "aa", 3, 0, true, 2, false},
		/* no capital: either case; one capital: exactly */
		{"Main main MAIN", "main", 1, 5, false, 0, false},
		{"Main main MAIN", "main", 6, 10, false, 5, false},
		{"Main main MAIN", "Main", 1, 0, true, 0, false},
		{"Main main MAIN", "MAIN", 0, 10, false, 10, true},
		{"x_1 X_1", "x_1", 1, 4, false, 0, false},
		/* UTF-8 matched as written, the ASCII around it folded */
		{"Caf\xc3\xa9 CAF\xc3\xa9", "caf\xc3\xa9", 1, 6, false, 0, false},
		{"\xc3\x89t\xc3\xa9 \xc3\xa9t\xc3\xa9", "\xc3\xa9t", 0, 6, false, 6, true},
		/* from outside the text */
		{"abab", "ab", -5, 0, false, 2, true},
		{"abab", "ab", 99, 0, true, 2, false},
	};
	for (auto c : cases) {
		SCOPED_TRACE(testing::Message() << '"' << c.text << "\" for \"" << c.pat
					 << "\" from " << c.from);
		pattern p = sr_pattern(c.pat);
		bool w = !c.next_wrapped;
		EXPECT_EQ(sr_next(c.text, p, c.from, w), c.next);
		EXPECT_EQ(w, c.next_wrapped) << "next";
		w = !c.prev_wrapped;
		EXPECT_EQ(sr_prev(c.text, p, c.from, w), c.prev);
		EXPECT_EQ(w, c.prev_wrapped) << "previous";
	}
}

/* A search in stretches: a match counts if it starts in [lo, hi]. */
TEST(Search, FindInAStretch)
{
	const struct {
		int lo, hi;
		bool back;
		int want;
	} cases[] = {
		{0, 99, false, 2},
		{0, 99, true, 9},
		{2, 2, false, 2},
		{3, 9, false, 9},
		{3, 8, false, -1},
		{3, 8, true, -1},
		{-9, 2, true, 2},
		{10, 99, false, -1},
		{9, 3, false, -1},
	};
	std::string t = "a Key, a key";
	pattern p = sr_pattern("key");
	for (auto c : cases) {
		SCOPED_TRACE(testing::Message() << c.lo << " to " << c.hi
					 << (c.back ? " back" : ""));
		EXPECT_EQ(sr_find(t, p, c.lo, c.hi, c.back), c.want);
	}
}

TEST(Search, AllThatShowInARange)
{
	std::string t = "if (x) x = xx; // x";
	pattern p = sr_pattern("x");
	EXPECT_EQ(sr_all(t, p, 0, (int)t.size()),
		  (std::vector<int>{4, 7, 11, 12, 18}));
	EXPECT_EQ(sr_all(t, p, 5, 12), (std::vector<int>{7, 11}));
	/* A match that only ends in the range, or only begins there. */
	pattern q = sr_pattern("xx");
	EXPECT_EQ(sr_all(t, q, 12, 13), (std::vector<int>{11}));
	EXPECT_EQ(sr_all(t, q, 0, 12), (std::vector<int>{11}));
	EXPECT_EQ(sr_all(t, q, 13, 99), (std::vector<int>{}));
	EXPECT_EQ(sr_all(t, sr_pattern(""), 0, 99), (std::vector<int>{}));
}

/* Every match a plain scan finds, in random texts of few letters where
   matches crowd and overlap. */
TEST(Search, AgreesWithAPlainScan)
{
	std::mt19937 rng(19);
	const char pick[] = "aAbB_\xc3\xa9";
	auto word = [&](int n) {
		std::string s;
		for (; n > 0; n--)
			s += pick[rng() % (sizeof pick - 1)];
		return s;
	};
	auto fold = [](std::string s) {
		for (char &c : s)
			c = (char)tolower((unsigned char)c);
		return s;
	};
	for (int round = 0; round < 500; round++) {
		std::string t = word(rng() % 40), s = word(1 + rng() % 3);
		bool caps = s != fold(s);
		std::string tt = caps ? t : fold(t), ss = caps ? s : fold(s);
		std::vector<int> want;
		for (size_t i = 0; i + s.size() <= t.size(); i++)
			if (tt.compare(i, ss.size(), ss) == 0)
				want.push_back((int)i);
		SCOPED_TRACE(testing::PrintToString(t) + " for " +
			     testing::PrintToString(s));
		pattern p = sr_pattern(s);
		ASSERT_EQ(sr_all(t, p, 0, (int)t.size()), want);
		std::vector<int> fwd, back;
		bool w;
		for (int q = sr_next(t, p, 0, w); q >= 0 && !w; q = sr_next(t, p, q + 1, w))
			fwd.push_back(q);
		for (int q = sr_prev(t, p, (int)t.size(), w); q >= 0 && !w;
		     q = sr_prev(t, p, q, w))
			back.insert(back.begin(), q);
		ASSERT_EQ(fwd, want);
		ASSERT_EQ(back, want);
	}
}

}

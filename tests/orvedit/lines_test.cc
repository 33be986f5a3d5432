/* The line index: lines as LF, CRLF and a lone CR end them, and an index
   kept up by edits that always equals one built afresh. */
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "orvedit/lines.h"

namespace {

line_index built(std::string_view s)
{
	line_index l;
	ln_build(l, s);
	return l;
}

/* Equal as a whole: the starts, the kinds of break and their counts. */
void same(const line_index &a, const line_index &b)
{
	EXPECT_EQ(a.start, b.start);
	EXPECT_EQ(a.brk, b.brk);
	EXPECT_EQ(a.len, b.len);
	EXPECT_EQ(a.lf, b.lf);
	EXPECT_EQ(a.crlf, b.crlf);
	EXPECT_EQ(a.cr, b.cr);
}

TEST(Lines, StartsEndsAndStyle)
{
	const struct {
		const char *s;
		std::vector<int> start, end;
		eol style;
	} cases[] = {
		{"", {0}, {0}, EOL_NONE},
		{"abc", {0}, {3}, EOL_NONE},
		{"a\nb\n", {0, 2, 4}, {1, 3, 4}, EOL_LF},
		{"a\r\nb\r\n", {0, 3, 6}, {1, 4, 6}, EOL_CRLF},
		{"a\rb\r", {0, 2, 4}, {1, 3, 4}, EOL_CR},
		{"\r\n", {0, 2}, {0, 2}, EOL_CRLF},
		/* LF CR is two breaks, CR CR LF a CR and a CRLF */
		{"\n\r", {0, 1, 2}, {0, 1, 2}, EOL_MIXED},
		{"a\r\r\nb", {0, 2, 4}, {1, 2, 5}, EOL_MIXED},
		{"a\nb\r\nc", {0, 2, 5}, {1, 3, 6}, EOL_MIXED},
	};
	for (auto &c : cases) {
		SCOPED_TRACE(testing::PrintToString(std::string(c.s)));
		line_index l = built(c.s);
		ASSERT_EQ(ln_count(l), (int)c.start.size());
		for (int i = 0; i < ln_count(l); i++) {
			EXPECT_EQ(ln_start(l, i), c.start[i]) << "line " << i;
			EXPECT_EQ(ln_end(l, i), c.end[i]) << "line " << i;
		}
		EXPECT_EQ(ln_style(l), c.style);
		/* Every byte lies in the line that starts at or before it. */
		for (int p = 0; p <= l.len; p++) {
			int n = ln_of(l, p);
			EXPECT_LE(ln_start(l, n), p);
			EXPECT_TRUE(n + 1 == ln_count(l) || p < ln_start(l, n + 1));
		}
	}
	line_index l = built("a\nb");
	EXPECT_EQ(ln_start(l, -1), 0);
	EXPECT_EQ(ln_start(l, 9), 2);
	EXPECT_EQ(ln_end(l, 9), 3);
	EXPECT_STREQ(eol_bytes(EOL_CRLF), "\r\n");
	EXPECT_STREQ(eol_bytes(EOL_MIXED), "");
}

/* Applies one edit to s and to its index, and checks the index against
   one built from the new text. */
void edit(std::string &s, line_index &l, int pos, int del, const std::string &ins)
{
	s.replace(pos, del, ins);
	ln_edit(l, s, pos, del, (int)ins.size());
	same(l, built(s));
}

TEST(Lines, EditsThatMakeOrBreakACrlf)
{
	const struct {
		const char *name, *s;
		int pos, del;
		const char *ins;
	} cases[] = {
		{"LF after a CR", "a\rb", 2, 0, "\n"},
		{"CR before a LF", "a\nb", 1, 0, "\r"},
		{"text between CR and LF", "a\r\nb", 2, 0, "x"},
		{"the CR of a CRLF", "a\r\nb", 1, 1, ""},
		{"the LF of a CRLF", "a\r\nb", 2, 1, ""},
		{"what parts a CR from a LF", "a\rxy\nb", 2, 2, ""},
		{"a CRLF across the edit", "a\rxy\nb", 2, 2, "\n\r"},
		{"a LF at the start", "\nb", 0, 0, "\r"},
		{"after the last LF", "a\n", 2, 0, "\n"},
		{"all of it", "a\r\nb\rc\n", 0, 7, ""},
		{"into an empty text", "", 0, 0, "x\r\ny\rz\n"},
		{"lines after the edit move", "ab\ncd\r\nef\rgh", 1, 1, "\n\n\n"},
	};
	for (auto c : cases) {
		SCOPED_TRACE(c.name);
		std::string s = c.s;
		line_index l = built(s);
		edit(s, l, c.pos, c.del, c.ins);
	}
}

/* Many random edits of a text made of breaks and little else, each
   checked against a fresh index. */
TEST(Lines, RandomEditsMatchAFreshIndex)
{
	std::mt19937 rng(19);
	const char pick[] = "\r\n\r\nab";
	std::string s = "x\r\ny\rz\n";
	line_index l = built(s);
	for (int round = 0; round < 3000; round++) {
		int pos = rng() % (s.size() + 1);
		int del = std::min<int>(rng() % 4, s.size() - pos);
		std::string ins;
		for (int n = rng() % 4; n > 0; n--)
			ins += pick[rng() % (sizeof pick - 1)];
		SCOPED_TRACE(testing::PrintToString(s) + " at " + std::to_string(pos) +
			     " less " + std::to_string(del) + " plus " +
			     testing::PrintToString(ins));
		edit(s, l, pos, del, ins);
		if (HasFailure())
			return;
	}
}

}

/* UTF-8 decoding, boundaries and columns (see utf8.h). */
#include <cstring>

#include "orvedit/utf8.h"

static bool cont(unsigned char c)
{
	return (c & 0xC0) == 0x80;
}

u8char u8_decode(std::string_view s, int pos)
{
	int n = (int)s.size();
	if (pos < 0 || pos >= n)
		return {0, 0, true};
	auto b = [&](int i) { return (unsigned char)s[pos + i]; };
	unsigned char c = b(0);
	u8char bad = {c, 1, false};
	if (c < 0x80)
		return {c, 1, true};

	int len;
	int32_t cp;
	/* The second byte's range rules out overlong forms, surrogates and
	   values above U+10FFFF in one test. */
	unsigned char lo = 0x80, hi = 0xBF;
	if (c >= 0xC2 && c <= 0xDF) {
		len = 2, cp = c & 0x1F;
	} else if (c >= 0xE0 && c <= 0xEF) {
		len = 3, cp = c & 0x0F;
		if (c == 0xE0)
			lo = 0xA0;
		if (c == 0xED)
			hi = 0x9F;
	} else if (c >= 0xF0 && c <= 0xF4) {
		len = 4, cp = c & 0x07;
		if (c == 0xF0)
			lo = 0x90;
		if (c == 0xF4)
			hi = 0x8F;
	} else {
		return bad;
	}
	if (pos + len > n || b(1) < lo || b(1) > hi)
		return bad;
	for (int i = 1; i < len; i++) {
		if (!cont(b(i)))
			return bad;
		cp = cp << 6 | (b(i) & 0x3F);
	}
	return {cp, len, true};
}

int u8_next(std::string_view s, int pos)
{
	if (pos < 0)
		return 0;
	if (pos >= (int)s.size())
		return (int)s.size();
	return pos + u8_decode(s, pos).len;
}

/* A lead byte is always a boundary when walking forward, since no
   sequence swallows one; so the character before pos starts at the
   nearest lead within 4 bytes if that sequence ends exactly at pos, and
   is the byte before pos otherwise. */
int u8_prev(std::string_view s, int pos)
{
	if (pos > (int)s.size())
		return (int)s.size();
	if (pos <= 0)
		return 0;
	int p = pos - 1;
	while (p > 0 && p > pos - 4 && cont((unsigned char)s[p]))
		p--;
	if (p + u8_decode(s, p).len == pos)
		return p;
	return pos - 1;
}

int u8_start(std::string_view s, int pos)
{
	if (pos <= 0)
		return 0;
	if (pos >= (int)s.size())
		return (int)s.size();
	int p = pos;
	while (p > 0 && p > pos - 3 && cont((unsigned char)s[p]))
		p--;
	if (p + u8_decode(s, p).len > pos)
		return p;
	return pos;
}

static int advance(int col, unsigned char c, int tab)
{
	if (c == '\t' && tab > 0)
		return (col / tab + 1) * tab;
	return col + 1;
}

/* Whether the 8 bytes at p are ASCII and none a tab: 8 columns at once,
   which keeps the column at the end of a 1 MB line cheap. */
static bool plain8(const char *p)
{
	const uint64_t lo = 0x0101010101010101ull, hi = lo << 7;
	uint64_t w, t;

	memcpy(&w, p, 8);
	t = w ^ lo * '\t';
	return !(w & hi) && !((t - lo) & ~t & hi);
}

int u8_col(std::string_view s, int start, int pos, int tab)
{
	int col = 0, p = start;
	if (pos > (int)s.size())
		pos = (int)s.size();
	while (p < pos) {
		if (pos - p >= 8 && plain8(s.data() + p)) {
			p += 8, col += 8;
			continue;
		}
		col = advance(col, (unsigned char)s[p], tab);
		p = u8_next(s, p);
	}
	return col;
}

int u8_at_col(std::string_view s, int start, int end, int col, int tab)
{
	int c = 0, p = start;
	if (end > (int)s.size())
		end = (int)s.size();
	while (p < end) {
		int next = advance(c, (unsigned char)s[p], tab);
		if (next > col)
			break;
		c = next;
		p = u8_next(s, p);
	}
	return p;
}

/* Pattern search (see search.h).  The text is never copied or folded:
   memchr (memrchr going back) skips to the next place of the pattern's
   rarest byte, in both cases when folding, and only there is the
   pattern compared.  A search of 50 MB costs one memchr pass (5 ms)
   and a few ns at each place it stops. */
#include <algorithm>
#include <cstring>

#include "orvedit/search.h"

/* Bytes of text and code from the most frequent on; any other byte
   (capitals, digits, most punctuation, UTF-8) counts as rare. */
static const char common[] = " etaoinsrhldcu\nmfpgwybv,.k_;()=x\t-*/jqz";

static int rank(unsigned char c)
{
	const char *q = c ? strchr(common, c) : nullptr;
	return q ? (int)(q - common) : (int)sizeof common;
}

static unsigned char lower(unsigned char c)
{
	return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

static unsigned char upper(unsigned char c)
{
	return c >= 'a' && c <= 'z' ? c - 32 : c;
}

pattern sr_pattern(std::string_view s)
{
	pattern p = {std::string(s), true, 0};
	for (char c : s)
		if (c >= 'A' && c <= 'Z')
			p.fold = false;
	for (int i = 0; i < (int)s.size(); i++) {
		if (p.fold)
			p.p[i] = (char)lower(s[i]);
		if (rank(p.p[i]) > rank(p.p[p.key]))
			p.key = i;
	}
	return p;
}

static bool at(std::string_view t, const pattern &p, int pos)
{
	const char *s = t.data() + pos;
	if (!p.fold)
		return memcmp(s, p.p.data(), p.p.size()) == 0;
	for (size_t i = 0; i < p.p.size(); i++)
		if (lower(s[i]) != (unsigned char)p.p[i])
			return false;
	return true;
}

int sr_find(std::string_view t, const pattern &p, int lo, int hi, bool back)
{
	int m = (int)p.p.size();
	lo = std::max(lo, 0);
	hi = std::min(hi, (int)t.size() - m);
	if (m == 0 || lo > hi)
		return -1;
	/* Where the key byte of a match in [lo, hi] lies. */
	const char *b = t.data() + lo + p.key;
	size_t n = hi - lo + 1;
	unsigned char c1 = p.p[p.key];
	unsigned char c2 = p.fold ? upper(c1) : c1;
	auto seek = [&](unsigned char c, const char *from, const char *to) {
		if (from >= to)
			return (const char *)nullptr;
		return (const char *)(back ? memrchr(from, c, to - from) :
				      memchr(from, c, to - from));
	};
	/* x and y: the next place of each case, or null when none is left. */
	const char *x = seek(c1, b, b + n);
	const char *y = c2 == c1 ? nullptr : seek(c2, b, b + n);
	while (x || y) {
		const char *q;
		if (x && y)
			q = (x < y) != back ? x : y;
		else
			q = x ? x : y;
		int pos = (int)(q - t.data()) - p.key;
		if (at(t, p, pos))
			return pos;
		const char *from = back ? b : q + 1, *to = back ? q : b + n;
		if (q == x)
			x = seek(c1, from, to);
		else
			y = seek(c2, from, to);
	}
	return -1;
}

int sr_next(std::string_view t, const pattern &p, int from, bool &wrapped)
{
	int last = (int)t.size() - (int)p.p.size();
	wrapped = false;
	if (from < 0)
		from = 0;
	int r = sr_find(t, p, from, last, false);
	if (r < 0 && from > 0) {
		r = sr_find(t, p, 0, std::min(from - 1, last), false);
		wrapped = r >= 0;
	}
	return r;
}

int sr_prev(std::string_view t, const pattern &p, int from, bool &wrapped)
{
	int last = (int)t.size() - (int)p.p.size();
	wrapped = false;
	if (from > last + 1)
		from = last + 1;
	int r = sr_find(t, p, 0, from - 1, true);
	if (r < 0 && from <= last) {
		r = sr_find(t, p, std::max(from, 0), last, true);
		wrapped = r >= 0;
	}
	return r;
}

std::vector<int> sr_all(std::string_view t, const pattern &p, int lo, int hi)
{
	std::vector<int> r;
	int m = (int)p.p.size();
	if (m == 0)
		return r;
	for (int q = sr_find(t, p, lo - m + 1, hi - 1, false); q >= 0;
	     q = sr_find(t, p, q + 1, hi - 1, false))
		r.push_back(q);
	return r;
}

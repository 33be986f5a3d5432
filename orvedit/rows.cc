/* The text cut into rows: a hard line wraps at e.cols cells, after the
   last blank that lets a word move whole to the next row, else where the
   row is full.  Blanks at a wrap hang at the row's end.  A row's cut
   depends only on where it starts and on the text from there, so the
   view walks rows forward from any row start and needs the line's start
   only to go back. */
#include <algorithm>
#include <cstring>

#include "orvedit/edit.h"
#include "orvedit/utf8.h"

/* The column after a tab at col: the next of the -t stops (percentages
   of the row), else the next multiple of 8. */
int tab_next(const editor &e, int col)
{
	for (int32_t s : e.tabs) {
		int c = (int)((int64_t)s * e.cols / 100);
		if (c > col)
			return c;
	}
	return (col / 8 + 1) * 8;
}

static bool blank(unsigned char c)
{
	return c == ' ' || c == '\t';
}

/* Bytes of the character at p: ASCII takes the short way, which keeps a
   row walk over a 1 MB line cheap. */
static int clen(const editor &e, int p)
{
	if ((unsigned char)e.f.text[p] < 0x80)
		return 1;
	return u8_decode(view_of(e), p).len;
}

/* The row at a; *seen: the end of the bytes its cut depended on; *n:
   the characters from a to the next row. */
static row walk(const editor &e, int a, int *seen, int *n)
{
	int line = ln_of(e.lines, a), end = ln_end(e.lines, line);
	int after = line + 1 < ln_count(e.lines) ? ln_start(e.lines, line + 1) : -1;
	const unsigned char *t = (const unsigned char *)e.f.text;
	int cols = std::max(1, e.cols), col = 0, p = a, brk = -1, brk_n = 0;

	*n = 0;
	while (p < end) {
		unsigned char c = t[p];
		int nc = c == '\t' ? tab_next(e, col) : col + 1;
		if (nc > cols && p > a) {
			*seen = p + clen(e, p);
			if (blank(c)) {
				while (p < end && blank(t[p]))
					p++, ++*n;
				*seen = p + 1;
				if (p == end)
					break;
				return {a, p, p, line, false};
			}
			if (brk > a) {
				*n = brk_n;
				return {a, brk, brk, line, false};
			}
			return {a, p, p, line, false};
		}
		col = nc;
		p += clen(e, p);
		++*n;
		if (blank(c))
			brk = p, brk_n = *n;
	}
	*seen = end + 1;
	return {a, end, after, line, true};
}

row row_from(const editor &e, int a)
{
	int seen, n;
	return walk(e, a, &seen, &n);
}

/* The row starts of one long line, kept from call to call with the
   line's bytes they were found in: going back in a line of 1 MB would
   otherwise walk it from its start at every step.  An edit keeps the
   starts whose rows depended only on bytes before it. */
struct line_rows {
	int s = -1, cols = 0;
	std::vector<int32_t> tabs;
	std::string text;	/* the line as its rows were found */
	std::vector<int> st;	/* starts found, from the line's start */
	std::vector<int> upto;	/* upto[i]: end of the bytes st[i] depended on */
	std::vector<int> chars;	/* chars[i]: characters before st[i] */
	bool whole;		/* st holds every row of the line */
};
static line_rows memo;
static const int long_line = 4096;

/* Where two runs of n bytes first differ, n when nowhere: a block at a
   time, since a long line is compared at every call. */
static size_t differ(const char *a, const char *b, size_t n)
{
	size_t i = 0;
	while (i < n) {
		size_t k = std::min<size_t>(4096, n - i);
		if (memcmp(a + i, b + i, k) != 0)
			break;
		i += k;
	}
	while (i < n && a[i] == b[i])
		i++;
	return i;
}

/* The memo made to hold the rows of the line [s, end) up to the one
   that holds pos. */
static void memo_to(const editor &e, int s, int end, int pos)
{
	line_rows &m = memo;
	const char *t = e.f.text + s;
	size_t n = (size_t)(end - s);
	if (m.s != s || m.cols != e.cols || m.tabs != e.tabs) {
		m.s = s, m.cols = e.cols, m.tabs = e.tabs;
		m.st.assign(1, s);
		m.upto.assign(1, s);
		m.chars.assign(1, 0);
		m.whole = false;
		m.text.assign(t, n);
	} else if (m.text.size() != n || memcmp(m.text.data(), t, n) != 0) {
		int d = s + (int)differ(m.text.data(), t, std::min(n, m.text.size()));
		size_t k = 1;
		while (k < m.st.size() && m.upto[k] <= d)
			k++;
		m.st.resize(k);
		m.upto.resize(k);
		m.chars.resize(k);
		m.whole = false;
		m.text.assign(t, n);
	}
	while (!m.whole && m.st.back() <= pos) {
		int seen, n;
		row r = walk(e, m.st.back(), &seen, &n);
		if (r.last)
			m.whole = true;
		else {
			m.st.push_back(r.next);
			m.upto.push_back(seen);
			m.chars.push_back(m.chars.back() + n);
		}
	}
}

/* The starts of the rows of line that lie before a, into v. */
static void starts_before(const editor &e, int line, int a, std::vector<int> &v)
{
	int s = ln_start(e.lines, line), end = ln_end(e.lines, line);
	v.clear();
	if (end - s < long_line) {
		for (int p = s; p < a && p >= 0 && p <= end; p = row_from(e, p).next)
			v.push_back(p);
		return;
	}
	memo_to(e, s, end, a);
	for (int p : memo.st) {
		if (p >= a)
			break;
		v.push_back(p);
	}
}

bool in_row(const row &r, int pos)
{
	return pos >= r.a && (r.last ? pos <= r.b : pos < r.next);
}

row row_at(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	int line = ln_of(e.lines, pos), s = ln_start(e.lines, line);
	/* Inside a CR LF pair: the line's end. */
	pos = std::min(pos, ln_end(e.lines, line));
	if (ln_end(e.lines, line) - s >= long_line) {
		std::vector<int> v;
		starts_before(e, line, pos + 1, v);
		s = v.back();
	}
	row r = row_from(e, s);
	while (!in_row(r, pos))
		r = row_from(e, r.next);
	return r;
}

/* n rows before the row that starts at a, or the text's first row. */
int rows_back(const editor &e, int a, int n)
{
	std::vector<int> st;
	while (n > 0 && a > 0) {
		int line = ln_of(e.lines, a);
		if (a == ln_start(e.lines, line))
			line--;
		starts_before(e, line, a, st);
		int k = (int)st.size();
		if (n <= k)
			return st[k - n];
		n -= k;
		a = st[0];
	}
	return a;
}

/* n rows after the row that starts at a, or the text's last row. */
int rows_fwd(const editor &e, int a, int n)
{
	for (; n > 0; n--) {
		row r = row_from(e, a);
		if (r.next < 0)
			break;
		a = r.next;
	}
	return a;
}

int row_col(const editor &e, const row &r, int pos)
{
	const unsigned char *t = (const unsigned char *)e.f.text;
	int col = 0;
	for (int p = r.a; p < pos && p < r.b; p += clen(e, p))
		col = t[p] == '\t' ? tab_next(e, col) : col + 1;
	return col;
}

/* The boundary nearest col: a character is left of it when its middle
   is.  Right of a wrapped row: before its last character, since the
   place at the wrap belongs to the next row. */
int row_place(const editor &e, const row &r, double col)
{
	const unsigned char *t = (const unsigned char *)e.f.text;
	int c = 0, p = r.a;
	while (p < r.b) {
		int nc = t[p] == '\t' ? tab_next(e, c) : c + 1;
		if (col < (c + nc) / 2.0)
			return p;
		c = nc;
		p += clen(e, p);
	}
	return r.last ? r.b : u8_prev(view_of(e), r.b);
}

/* The column of pos as people count it: characters from its line's
   start, from 0.  In a long line, from the nearest row start known. */
int char_col(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	int line = ln_of(e.lines, pos), s = ln_start(e.lines, line);
	int end = ln_end(e.lines, line), before = 0;
	if (end - s >= long_line) {
		memo_to(e, s, end, pos + 1);
		size_t i = std::upper_bound(memo.st.begin(), memo.st.end(), pos) -
			memo.st.begin() - 1;
		s = memo.st[i];
		before = memo.chars[i];
	}
	return before + u8_col(view_of(e), s, pos, 0);
}

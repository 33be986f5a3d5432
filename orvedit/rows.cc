/* The text cut into rows: a hard line wraps at e.cols cells, after the
   last blank that lets a word move whole to the next row, else where the
   row is full.  Blanks at a wrap hang at the row's end.  A row's cut
   depends only on where it starts and on the text from there, so the
   view walks rows forward from any row start and needs the line's start
   only to go back. */
#include <algorithm>

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

row row_from(const editor &e, int a)
{
	int line = ln_of(e.lines, a), end = ln_end(e.lines, line);
	int after = line + 1 < ln_count(e.lines) ? ln_start(e.lines, line + 1) : -1;
	const unsigned char *t = (const unsigned char *)e.f.text;
	int cols = std::max(1, e.cols), col = 0, p = a, brk = -1;

	while (p < end) {
		unsigned char c = t[p];
		int nc = c == '\t' ? tab_next(e, col) : col + 1;
		if (nc > cols && p > a) {
			if (blank(c)) {
				while (p < end && blank(t[p]))
					p++;
				if (p == end)
					break;
				return {a, p, p, line, false};
			}
			if (brk > a)
				return {a, brk, brk, line, false};
			return {a, p, p, line, false};
		}
		col = nc;
		p += clen(e, p);
		if (blank(c))
			brk = p;
	}
	return {a, end, after, line, true};
}

bool in_row(const row &r, int pos)
{
	return pos >= r.a && (r.last ? pos <= r.b : pos < r.next);
}

row row_at(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	row r = row_from(e, line_start(e, pos));
	while (!in_row(r, pos))
		r = row_from(e, r.next);
	return r;
}

/* n rows before the row that starts at a, or the text's first row. */
int rows_back(const editor &e, int a, int n)
{
	std::vector<int> st;
	while (n > 0 && a > 0) {
		int line = ln_of(e.lines, a), s = ln_start(e.lines, line);
		if (a == s)
			s = ln_start(e.lines, line - 1);
		st.clear();
		for (int p = s; p < a; p = row_from(e, p).next)
			st.push_back(p);
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

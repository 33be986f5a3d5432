/* The line index (see lines.h). */
#include <algorithm>
#include <cstring>

#include "orvedit/lines.h"

static int brk_len(uint8_t k)
{
	return k == EOL_CRLF ? 2 : k == EOL_NONE ? 0 : 1;
}

static void count(line_index &l, uint8_t k, int d)
{
	if (k == EOL_LF)
		l.lf += d;
	else if (k == EOL_CRLF)
		l.crlf += d;
	else if (k == EOL_CR)
		l.cr += d;
}

/* Appends the lines that start in (a, e]: a break needs its bytes inside
   [a, e), so a CR at e - 1 is one alone.  Line feeds are found by memchr
   and carriage returns, rare, only in the stretch before each. */
static void scan(std::string_view s, int a, int e, std::vector<int> &st,
	std::vector<uint8_t> &bk)
{
	const char *t = s.data(), *p = t + a, *end = t + e;
	while (p < end) {
		const char *lf = (const char *)memchr(p, '\n', end - p);
		const char *stop = lf ? lf : end;
		for (const char *cr = (const char *)memchr(p, '\r', stop - p); cr;
		     cr = (const char *)memchr(cr + 1, '\r', stop - cr - 1)) {
			if (cr + 1 == lf)
				break;
			st.push_back((int)(cr + 1 - t));
			bk.push_back(EOL_CR);
		}
		if (!lf)
			return;
		bool crlf = lf > p && lf[-1] == '\r';
		st.push_back((int)(lf + 1 - t));
		bk.push_back(crlf ? EOL_CRLF : EOL_LF);
		p = lf + 1;
	}
}

void ln_build(line_index &l, std::string_view s)
{
	l.start.assign(1, 0);
	l.brk.assign(1, EOL_NONE);
	scan(s, 0, (int)s.size(), l.start, l.brk);
	l.len = (int)s.size();
	l.lf = l.crlf = l.cr = 0;
	for (uint8_t k : l.brk)
		count(l, k, 1);
}

/* Elements [i, j) of v become those of w, the tail moved once. */
template <class T>
static void splice(std::vector<T> &v, int i, int j, const std::vector<T> &w)
{
	int n = (int)w.size();
	if (n > j - i)
		v.insert(v.begin() + j, n - (j - i), T());
	else
		v.erase(v.begin() + i + n, v.begin() + j);
	std::copy(w.begin(), w.end(), v.begin() + i);
}

/* The lines from the one holding pos - 1 (a CR there may pair with a LF
   put at pos) to the one holding pos + del (a LF there may pair with a
   CR put before it) are scanned again; the bytes on either side of them
   cannot join a break across the edges, since each edge lies just after
   an untouched break or at an end of the text. */
void ln_edit(line_index &l, std::string_view s, int pos, int del, int ins)
{
	int la = ln_of(l, pos > 0 ? pos - 1 : 0);
	int lb = ln_of(l, pos + del);
	int n = ln_count(l);
	int a = l.start[la];
	int e = (lb + 1 < n ? l.start[lb + 1] : l.len) - del + ins;
	/* Starts la + 1 .. lb + 1 are those the region's breaks make. */
	int i = la + 1, j = std::min(lb + 2, n);

	std::vector<int> st;
	std::vector<uint8_t> bk;
	scan(s, a, e, st, bk);
	for (int k = i; k < j; k++)
		count(l, l.brk[k], -1);
	for (uint8_t k : bk)
		count(l, k, 1);

	splice(l.start, i, j, st);
	splice(l.brk, i, j, bk);
	int d = ins - del;
	for (int k = i + (int)st.size(); k < (int)l.start.size(); k++)
		l.start[k] += d;
	l.len += d;
}

int ln_count(const line_index &l)
{
	return (int)l.start.size();
}

int ln_of(const line_index &l, int pos)
{
	auto it = std::upper_bound(l.start.begin() + 1, l.start.end(), pos);
	return (int)(it - l.start.begin()) - 1;
}

int ln_start(const line_index &l, int n)
{
	return l.start[std::clamp(n, 0, ln_count(l) - 1)];
}

int ln_end(const line_index &l, int n)
{
	n = std::clamp(n, 0, ln_count(l) - 1);
	if (n + 1 == ln_count(l))
		return l.len;
	return l.start[n + 1] - brk_len(l.brk[n + 1]);
}

eol ln_style(const line_index &l)
{
	int kinds = (l.lf > 0) + (l.crlf > 0) + (l.cr > 0);
	if (kinds == 0)
		return EOL_NONE;
	if (kinds > 1)
		return EOL_MIXED;
	return l.lf ? EOL_LF : l.crlf ? EOL_CRLF : EOL_CR;
}

const char *eol_bytes(eol k)
{
	switch (k) {
	case EOL_LF:
		return "\n";
	case EOL_CRLF:
		return "\r\n";
	case EOL_CR:
		return "\r";
	default:
		return "";
	}
}

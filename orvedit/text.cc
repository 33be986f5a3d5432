/* The text as the editor reads it: line breaks, UTF-8 character
   boundaries, lines and the selection. */
#include <algorithm>
#include <cstring>

#include "orvedit/edit.h"

/* Hard line breaks in n bytes: CR and LF each count, as in the layout. */
int breaks(const char *s, size_t n)
{
	int k = 0;
	const char *end = s + n;
	for (;;) {
		const char *lf = (const char *)memchr(s, '\n', end - s);
		const char *stop = lf ? lf : end;
		/* CR is rare: look for it only in the stretch before the LF. */
		for (const char *cr = (const char *)memchr(s, '\r', stop - s); cr;
		     cr = (const char *)memchr(cr + 1, '\r', stop - cr - 1))
			k++;
		if (!lf)
			return k;
		k++;
		s = lf + 1;
	}
}

/* Length of the UTF-8 sequence at pos when it is a well-formed one, else
   1: a stray, overlong, surrogate or cut-off byte is a character of its
   own, so that no edit takes more than one sequence with it. */
int seq_len(const editor &e, int pos)
{
	const unsigned char *t = (const unsigned char *)e.f.text + pos;
	int left = e.len - pos;
	unsigned c = t[0];
	int n;
	unsigned lo = 0x80, hi = 0xBF;	/* range of the second byte */

	if (c < 0xC2 || c > 0xF4)
		return 1;
	n = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
	if (c == 0xE0)
		lo = 0xA0;
	else if (c == 0xED)
		hi = 0x9F;
	else if (c == 0xF0)
		lo = 0x90;
	else if (c == 0xF4)
		hi = 0x8F;
	if (left < n || t[1] < lo || t[1] > hi)
		return 1;
	for (int i = 2; i < n; i++)
		if ((t[i] & 0xC0) != 0x80)
			return 1;
	return n;
}

/* The character boundaries either side of pos: a UTF-8 sequence moves
   and is deleted whole, any other byte alone. */
int next_char(const editor &e, int pos)
{
	if (pos >= e.len)
		return e.len;
	return pos + seq_len(e, pos);
}

int prev_char(const editor &e, int pos)
{
	if (pos <= 0)
		return 0;
	/* A sequence ending at pos starts with its lead byte at most 3
	   back; only one such start can exist. */
	for (int k = 2; k <= 4 && k <= pos; k++)
		if (seq_len(e, pos - k) == k)
			return pos - k;
	return pos - 1;
}

/* A place the layout gave, moved back onto a character's first byte. */
int snap(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	for (int k = 1; k <= 3 && k <= pos; k++)
		if (seq_len(e, pos - k) > k)
			return pos - k;
	return pos;
}

static bool is_break(char c)
{
	return c == '\n' || c == '\r';
}

int line_start(const editor &e, int pos)
{
	while (pos > 0 && !is_break(e.f.text[pos - 1]))
		pos--;
	return pos;
}

int line_end(const editor &e, int pos)
{
	return pos + (int)strcspn(e.f.text + pos, "\r\n");
}

bool has_sel(const editor &e)
{
	return e.anchor >= 0 && e.anchor != e.cur;
}

int sel_lo(const editor &e)
{
	return std::min(e.anchor, e.cur);
}

int sel_hi(const editor &e)
{
	return std::max(e.anchor, e.cur);
}

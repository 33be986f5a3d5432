/* The text as the editor reads it: UTF-8 character and word
   boundaries, lines and the selection. */
#include <algorithm>
#include <cctype>
#include <cstring>

#include "orvedit/edit.h"
#include "orvedit/utf8.h"

std::string_view view_of(const editor &e)
{
	return {e.f.text, (size_t)e.len};
}

/* A CR LF pair is one line break: the cursor never stops inside it. */
static bool crlf_at(const editor &e, int pos)
{
	return pos >= 0 && pos + 1 < e.len && e.f.text[pos] == '\r' &&
		e.f.text[pos + 1] == '\n';
}

/* The character boundaries either side of pos: a UTF-8 sequence and a
   CR LF pair are one character, any other byte is one alone. */
int next_char(const editor &e, int pos)
{
	if (crlf_at(e, pos))
		return pos + 2;
	return u8_next(view_of(e), pos);
}

int prev_char(const editor &e, int pos)
{
	if (crlf_at(e, pos - 2))
		return pos - 2;
	return u8_prev(view_of(e), pos);
}

/* A place from elsewhere (a hit test), moved back onto a character's
   first byte. */
int snap(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	if (crlf_at(e, pos - 1))
		return pos - 1;
	return u8_start(view_of(e), pos);
}

int line_start(const editor &e, int pos)
{
	return ln_start(e.lines, ln_of(e.lines, pos));
}

int line_end(const editor &e, int pos)
{
	return ln_end(e.lines, ln_of(e.lines, pos));
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

/* Letters, digits, the underscore and every character beyond ASCII make
   words; the rest (blanks, punctuation, line breaks) lies between. */
static bool word_at(const editor &e, int pos)
{
	unsigned char c = (unsigned char)e.f.text[pos];
	return isalnum(c) || c == '_' || c >= 0x80;
}

int word_right(const editor &e, int pos)
{
	while (pos < e.len && !word_at(e, pos))
		pos = next_char(e, pos);
	while (pos < e.len && word_at(e, pos))
		pos = next_char(e, pos);
	return pos;
}

int word_left(const editor &e, int pos)
{
	while (pos > 0 && !word_at(e, prev_char(e, pos)))
		pos = prev_char(e, pos);
	while (pos > 0 && word_at(e, prev_char(e, pos)))
		pos = prev_char(e, pos);
	return pos;
}

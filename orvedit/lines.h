/* The line index of a text: where each line starts, kept up to date edit
   by edit, and the style of the text's line breaks.

   A line ends at a line feed, a carriage return and line feed (one
   break), or a carriage return alone; the break belongs to the line it
   ends.  Lines are numbered from 0; a text of n breaks has n + 1 lines,
   the last one without a break (and empty if the text ends in one). */
#ifndef ORV_ORVEDIT_LINES_H
#define ORV_ORVEDIT_LINES_H

#include <cstdint>
#include <string_view>
#include <vector>

/* The kinds of break, and what a text's breaks are as a whole. */
enum eol { EOL_NONE, EOL_LF, EOL_CRLF, EOL_CR, EOL_MIXED };

struct line_index {
	std::vector<int> start;		/* start[i]: first byte of line i */
	std::vector<uint8_t> brk;	/* brk[i]: the eol that ends line i - 1 */
	int len;			/* length of the text */
	int lf, crlf, cr;		/* breaks of each kind */
};

/* Indexes the whole text s. */
void ln_build(line_index &l, std::string_view s);

/* Bytes [pos, pos + del) of the text were replaced by ins bytes; s is the
   text afterwards.  A delete and an insert at one place may come as one
   edit or as two.  Only the lines the edit touches are scanned again, the
   starts after them are moved by ins - del. */
void ln_edit(line_index &l, std::string_view s, int pos, int del, int ins);

int ln_count(const line_index &l);
/* The line that holds byte pos (the last line for the text's end). */
int ln_of(const line_index &l, int pos);
/* Where line n starts, and where its break begins (the text's end for
   the last line).  n is clamped to the lines there are. */
int ln_start(const line_index &l, int n);
int ln_end(const line_index &l, int n);

/* The text's breaks: EOL_NONE when it has none, EOL_MIXED when they are
   of more than one kind. */
eol ln_style(const line_index &l);
/* The bytes of a break of kind k: "\n", "\r\n", "\r"; "" for EOL_NONE
   and EOL_MIXED. */
const char *eol_bytes(eol k);

#endif

/* UTF-8 over the editor's bytes: one character at a place, the
   boundaries either side of it, and columns within a line.

   A byte that does not begin a well-formed sequence (a stray
   continuation byte, an overlong form, a surrogate, a value above
   U+10FFFF, a sequence cut short) is one character of length 1, kept as
   it is: so every byte string splits into characters one way, walking
   forward or back, and no character is longer than 4 bytes. */
#ifndef ORV_ORVEDIT_UTF8_H
#define ORV_ORVEDIT_UTF8_H

#include <cstdint>
#include <string_view>

/* One character: its code point, or for an invalid byte the byte. */
struct u8char {
	int32_t cp;
	int len;	/* 1 to 4 bytes; 0 at the end of the text */
	bool ok;	/* false: an invalid byte, cp holds it */
};

/* The character that starts at pos. */
u8char u8_decode(std::string_view s, int pos);

/* The boundary after the character at pos, and the one before pos (pos
   a boundary).  Clamped to the text: u8_next(s, s.size()) is s.size(),
   u8_prev(s, 0) is 0. */
int u8_next(std::string_view s, int pos);
int u8_prev(std::string_view s, int pos);

/* The start of the character that holds the byte at pos: a place from
   elsewhere (a hit test, a byte offset) moved onto a boundary. */
int u8_start(std::string_view s, int pos);

/* Column of pos in the line that starts at start, from 0: one per
   character, a tab to the next multiple of tab. */
int u8_col(std::string_view s, int start, int pos, int tab);

/* The place of column col in the line [start, end): the last boundary
   whose column is not past col, so a column inside a tab gives the tab,
   and one beyond the line gives end. */
int u8_at_col(std::string_view s, int start, int end, int col, int tab);

#endif

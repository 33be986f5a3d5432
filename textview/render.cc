/* The layout engine: one pass over a text that places every glyph on a
   grid of cells, with a line-number gutter, word wrapping, tab-stop
   columns, hit testing of two points and a cursor bar.

   rendertext works in phases over one layout record: it starts, skips
   the lines above the window, then takes one character a step (a gutter
   character, or a byte of the text through the word scan, the hit tests
   and the cursor bar, the column layout and the drawing) until the text
   ends or the window is full. */
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "textview/textview.h"
#include "textview/host.h"
#include "textview/fail.h"

static bool started;
static SDL_Color tcol;
static TTF_Font *font;
static char *gbuf;          /* gutter text, kept from call to call */
static size_t gcap;

/* Stops lie within this distance of the left edge.  The layout adds a
   stop to coordinates, so one near the ends of the int range would wrap
   around to the other side; no surface comes near this far. */
static const int64_t far_stop = 1 << 24;

/* Right edge of column i relative to the left edge: the stop's share of
   the width, rounded down to a half cell.  Cells narrower than 2 pixels
   have no half cell; rounding to the pixel keeps the division defined. */
static int stop(const int32_t *tabs, int i, int width, int half)
{
	int64_t t = (int64_t)width * tabs[i] / 100;

	if (half == 0)
		half = 1;
	if (t > far_stop)
		t = far_stop;
	if (t < -far_stop)
		t = -far_stop;
	t -= t % half;
	return (int)t;
}

/* The gutter of line line_no: its numeral and a space, or nothing when
   numbering is off.  Widens the margin by exactly the room it takes. */
static const char *lnf(bool off, int *margin_x, int line_no, int16_t cell_w)
{
	if (off)
		return "";
	const char *num = itostr(line_no, 10);
	int n = snprintf(nullptr, 0, "    %s ", num) - 5;
	size_t need = 2 * (size_t)(n + 3);
	if (!gbuf) {
		gcap = 10;
		gbuf = (char *)malloc(gcap);
	}
	if (need > gcap) {
		free(gbuf);
		gcap = need;
		gbuf = (char *)malloc(gcap);
	}
	snprintf(gbuf, gcap, "%s ", num);
	*margin_x += cell_w * n + cell_w / 2;
	return gbuf;
}

/* Word classes: 1 lower case and digits, 2 upper case, 0 the rest.
   The order matters: scan ends a word where a 2 follows a 1 and not the
   other way, so helloWorld breaks before W and ABCdef stays whole. */
static int cls(unsigned char c)
{
	if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
		return 1;
	if (c >= 'A' && c <= 'Z')
		return 2;
	return 0;
}

static bool fits(int64_t v)
{
	return v >= INT32_MIN && v <= INT32_MAX;
}

/* SDL clips a blit in int arithmetic, one axis at a time: the source
   rectangle to the source surface, then the destination to the clip
   rectangle, moving the source by what the destination loses.  Near the
   ends of the int range those sums wrap, and SDL then copies from far
   outside the source.  This repeats each axis's steps in 64 bits and
   tells whether every sum fits in an int.  d is the destination's place
   on the axis, s and w the source's place and extent, lim the source's
   extent, c0 and c the clip rectangle's place and extent. */
static bool axis_clips(int64_t d, int64_t s, int64_t w, int64_t lim,
	int64_t c0, int64_t c)
{
	if (s < 0) {
		w += s;
		d -= s;
		s = 0;
	}
	if (!fits(w) || !fits(d) || !fits(lim - s))
		return false;
	if (lim - s < w)
		w = lim - s;
	int64_t dx = c0 - d;
	if (!fits(dx))
		return false;
	if (dx > 0) {
		w -= dx;
		d += dx;
		s += dx;
		if (!fits(w) || !fits(d) || !fits(s))
			return false;
	}
	return fits(d + w) && fits(d + w - c0) && fits(d + w - c0 - c) &&
		(d + w - c0 - c <= 0 || fits(w - (d + w - c0 - c)));
}

/* Whether SDL can clip a blit of sr (all of src when null) from src to
   dr on dst without overflowing.  A rectangle that it cannot clip lies
   wholly off the surface, so nothing is lost by not making that blit.
   Without both surfaces SDL clips nothing and reports the failure. */
static bool clippable(const SDL_Surface *src, const SDL_Rect *sr,
	const SDL_Surface *dst, const SDL_Rect *dr)
{
	if (!src || !dst)
		return true;
	SDL_Rect all = {0, 0, src->w, src->h};
	const SDL_Rect *c = &dst->clip_rect;

	if (!sr)
		sr = &all;
	return axis_clips(dr->x, sr->x, sr->w, src->w, c->x, c->w) &&
		axis_clips(dr->y, sr->y, sr->h, src->h, c->y, c->h);
}

/* Blits src (or its part sr) to the window surface at x, y through
   trect[0], unless the place is beyond an int or SDL could not clip it.
   Either way the glyph lies wholly off the surface. */
static void blit(SDL_Surface *src, SDL_Rect *sr, int64_t x, int64_t y,
	int w, int h)
{
	sdl_v = 0;	/* what SDL answers for a blit clipped to nothing */
	if (!fits(x) || !fits(y))
		return;
	trect[0] = SDL_Rect{(int)x, (int)y, w, h};
	if (!clippable(src, sr, winsurf1, &trect[0]))
		return;
	sdl_v = SDL_BlitSurface(src, sr, winsurf1, &trect[0]);
	if (sdl_v < 0)
		sdlfail("BlitSurface");
}

/* Draws one glyph at the pen and moves the pen on by a cell when it was
   drawn: from the atlas when it has the glyph, else through SDL_ttf. */
static void glyph(unsigned char c, int *pen_x, int pen_y, int16_t cell_w,
	int line_h)
{
	char ch[2] = {(char)c, 0};

	if (font_surf) {
		SDL_Rect *r = font_rect(ch);
		int64_t gx = (int64_t)*pen_x + (cell_w - r->w) / 2;
		bool drawn = r->w > 0 && r->h > 0;
		if (drawn)
			*pen_x += cell_w;
		blit(font_surf, r, gx, (int64_t)pen_y + (line_h - r->h) / 2,
			r->w, r->h);
		if (drawn)
			return;
	}
	SDL_Surface *s = TTF_RenderUTF8_Solid(font, ch, tcol);
	if (!s)
		return;
	/* Top-aligned: SDL_ttf surfaces are a whole line high already. */
	int64_t gx = (int64_t)*pen_x + (cell_w - s->w) / 2;
	*pen_x += cell_w;
	blit(s, nullptr, gx, pen_y, s->w, s->h);
	SDL_FreeSurface(s);
}

/* The state of one call, shared by its phases: the layout's own, then
   what the call was given. */
struct layout {
	int pen_x;		/* where the next character is placed */
	int pen_y;		/* top of the current line */
	int left_x;		/* left edge of the text */
	int margin_x;		/* where a continuation line starts */
	int line_h;		/* line height: gh made even */
	int16_t cell_w;		/* cell width: gw made even */
	int line_no;		/* the current hard line, from 1 */
	int col_limit;		/* right end of the column, from left_x */
	int tab_i;		/* the current column */
	int row_top;		/* top of the current row */
	int row_low;		/* lowest line top reached in the row */
	int back_x, back_y;	/* carry-back to the line just left */
	int prev_x;		/* pen_x when the last character was taken up */
	bool seen;		/* a non-blank placed on this hard line */
	int prev_cls;		/* class of the word being scanned, 0 if none */
	int word_start;		/* its first byte */
	int scan_end;		/* bytes from here on are classified again */
	int cur;		/* the next byte to read */
	const char *gutter;	/* gutter characters still to draw */
	bool done;		/* the terminator has been taken up */

	const char *text;
	bool nonum;		/* flags bit 0: no gutter */
	bool spaced;		/* flags bit 1: half a line after a tall row */
	int16_t width;
	const int32_t *tabs;
	int ntabs;
	int half;		/* half a cell */
	point *q[2];		/* query points not answered yet */
	int *slot[2];		/* their slots, also the places of the bars */
};

/* The first call of the run starts SDL_ttf; every call draws in the
   regular face of its glyph height, from that font's atlas if it has
   one. */
static void usefont(int16_t gh)
{
	if (!started) {
		TTF_Init();
		tcol = SDL_Color{0, 0, 0, 255};
		started = true;
	}
	font_entry *e = fontcache(gh, 0);
	font = e->font;
	font_surf = e->surf;
	font_rarr = e->rarr;
}

/* A query point empties its slot.  One left of or above the start can
   hit nothing and is dropped. */
static void queries(layout *L)
{
	for (int i = 0; i < 2; i++) {
		point *q = L->q[i];
		if (q)
			*L->slot[i] = -1;
		if (q && (q->x < L->left_x || q->y < L->pen_y))
			L->q[i] = nullptr;
	}
}

/* Lines wholly above the window: only hard breaks move the pen.
   strcspn finds the next break or the terminator at the speed of the
   C library, stopping at the same byte a walk would stop at.  False
   when the text ends above the window. */
static bool skip(layout *L)
{
	while (L->pen_y + L->line_h < 0) {
		L->cur += (int)strcspn(L->text + L->cur, "\r\n");
		if (L->text[L->cur] == 0)
			return false;
		L->pen_y += L->line_h;
		L->line_no++;
		L->cur++;
	}
	return true;
}

/* The first line laid out.  The word scan starts here, after the skip,
   on purpose: the skip stops just after a hard break, which ends every
   word, so no word is cut by it and nothing above is classified. */
static void begin(layout *L)
{
	L->word_start = L->scan_end = L->cur;
	L->row_top = L->row_low = L->pen_y;
	L->gutter = lnf(L->nonum, &L->margin_x, L->line_no, L->cell_w);
	L->col_limit = L->ntabs > 0 ?
		stop(L->tabs, 0, L->width, L->half) : L->width;
}

/* One gutter character: drawn, but neither classified, hit-tested,
   wrapped nor counted as text. */
static void drawgutter(layout *L)
{
	unsigned char c = (unsigned char)*L->gutter++;

	if (c == ' ')
		L->pen_x += L->half;
	else
		glyph(c, &L->pen_x, L->pen_y, L->cell_w, L->line_h);
}

/* The word before p has ended.  It moves whole to a fresh line when it
   does not fit in the rest of this one but fits there; either way its
   bytes are taken again from the first, unclassified, up to p. */
static void endword(layout *L, int p)
{
	/* A word of millions of bytes on wide cells is wider than an int
	   can hold. */
	int64_t wide = (int64_t)(p - L->word_start) * L->cell_w;
	int64_t end = (int64_t)L->left_x + L->col_limit;

	if (L->pen_x + wide >= end && L->margin_x + wide < end) {
		L->pen_y += L->line_h;
		L->pen_x = L->margin_x;
		L->back_x = L->left_x + L->col_limit - L->pen_x;
		L->back_y = -L->line_h;
	}
	L->scan_end = p;
	L->cur = L->word_start;
	L->prev_cls = 0;
}

/* Word scan of byte c at p: a word's bytes are held back until its end
   is seen.  True when the step ends here, the byte not placed yet. */
static bool scan(layout *L, int p, unsigned char c)
{
	int k = cls(c);

	if ((L->prev_cls != 0 && k == 0) || (L->prev_cls == 1 && k == 2)) {
		endword(L, p);
		return true;
	}
	if (L->prev_cls == 0 && k != 0)
		L->word_start = p;
	if (k != 0) {
		L->prev_cls = k;
		return true;
	}
	return false;
}

/* Hit tests at place p: the carry-back puts a point right of a finished
   line onto that line's last place. */
static void hits(layout *L, int p)
{
	for (int i = 0; i < 2; i++) {
		point *q = L->q[i];
		if (q && (double)(L->pen_y + L->line_h + L->back_y) > q->y &&
		    (double)(L->pen_x + L->back_x) > q->x + (double)L->half) {
			*L->slot[i] = p - 1;
			L->q[i] = nullptr;
		}
	}
}

/* Cursor bar one pixel left of where the character at the marked place
   was taken up: full height when both slots agree. */
static void bar(layout *L, int p)
{
	int *pos1 = L->slot[0], *pos2 = L->slot[1];
	int full = *pos1 == *pos2 ? L->line_h : 0;

	if (p < 1 || (p - 1 != *pos1 && p - 1 != *pos2))
		return;
	trect[0].x = L->prev_x - 1;
	trect[0].y = L->pen_y + L->back_y;
	trect[0].w = 2;
	trect[0].h = L->line_h / 2 + full / 2;
	sdl_v = SDL_FillRect(winsurf1, &trect[0], 0xFF000000);
	if (sdl_v < 0)
		sdlfail("FillRect");
}

/* The terminator: one more step follows, at the place after it, for its
   hit tests and bar; a point right of the last line lands there. */
static void finish(layout *L)
{
	L->back_x = L->left_x + L->width - L->pen_x;
	L->done = true;
}

/* A hard break: the next row starts below the lowest line of this one,
   with its own gutter. */
static void newline(layout *L)
{
	int old_y = L->pen_y;

	if (L->row_low < L->pen_y)
		L->row_low = L->pen_y;
	L->pen_y = L->row_low + L->line_h;
	L->pen_x = L->margin_x = L->left_x;
	L->seen = false;
	L->back_x = L->left_x + L->width - L->pen_x;
	L->back_y = old_y - L->pen_y;
	L->line_no++;
	L->tab_i = 0;
	L->row_low = L->pen_y;
	if (L->ntabs > 0)
		L->col_limit = stop(L->tabs, 0, L->width, L->half);
	L->gutter = lnf(L->nonum, &L->margin_x, L->line_no, L->cell_w);
	if (L->spaced && L->pen_y - L->row_top > L->line_h)
		L->pen_y += L->line_h / 2;
	L->row_top = L->pen_y;
}

/* A tab: four cells.  Leading tabs indent; only tabs after text use
   stops, each moving to the top of the row in the next column. */
static void tab(layout *L)
{
	L->pen_x += 4 * L->cell_w;
	if (!L->seen) {
		L->margin_x += 4 * L->cell_w;
		return;
	}
	if (L->tab_i < L->ntabs) {
		if (L->row_low < L->pen_y)
			L->row_low = L->pen_y;
		L->back_y = L->pen_y - L->row_top;
		L->pen_y = L->row_top;
		L->pen_x = L->margin_x =
			L->left_x + stop(L->tabs, L->tab_i, L->width, L->half);
	}
	L->tab_i++;
	L->col_limit = L->tab_i < L->ntabs ?
		stop(L->tabs, L->tab_i, L->width, L->half) - L->half : L->width;
}

/* Column layout of byte c of the text, and its drawing.  Blanks and
   glyphs alike wrap when the next cell would reach the column's end. */
static void place(layout *L, unsigned char c)
{
	if (c == 0) {
		finish(L);
		return;
	}
	if (c == 13 || c == 10) {
		newline(L);
		return;
	}
	if (L->pen_x + L->cell_w >= L->left_x + L->col_limit) {
		L->pen_y += L->line_h;
		L->pen_x = L->margin_x;
	}
	if (c == ' ') {
		L->pen_x += L->half;
		if (!L->seen)
			L->margin_x += L->half;
		return;
	}
	if (c == '\t') {
		tab(L);
		return;
	}
	L->seen = true;
	glyph(c, &L->pen_x, L->pen_y, L->cell_w, L->line_h);
}

/* One step of the layout.  The word scan comes first on purpose: the
   bytes of a word are hit-tested, marked and placed only when they are
   taken again, once the word has found its line.  False when the step
   after the terminator has run. */
static bool step(layout *L)
{
	unsigned char c = 0;
	int p;

	if (*L->gutter) {
		drawgutter(L);
		return true;
	}
	if (L->done) {
		p = L->cur;	/* the place after the terminator */
	} else {
		p = L->cur++;
		c = (unsigned char)L->text[p];
		if (p >= L->scan_end && scan(L, p, c))
			return true;
	}
	hits(L, p);
	bar(L, p);
	L->prev_x = L->pen_x;
	L->back_x = L->back_y = 0;
	if (L->done)
		return false;
	place(L, c);
	return true;
}

int rendertext(int, char flags, const char *text, int x, int y,
	int16_t gw, int16_t gh, int16_t width, int32_t *tabs, int ntabs,
	int, int, point *q1, point *q2, int *pos1, int *pos2)
{
	/* Static like the engine's other working storage, so that a redraw
	   takes little stack.  Every call sets all of it afresh; what
	   depends on where the skip stops (col_limit, row_top, row_low,
	   word_start, scan_end, gutter) is set by begin. */
	static layout L;
	int16_t cell_w = (int16_t)(gw - gw % 2);

	usefont(gh);
	L = layout{
		.pen_x = x, .pen_y = y, .left_x = x, .margin_x = x,
		.line_h = gh - gh % 2, .cell_w = cell_w, .line_no = 1,
		.col_limit = 0, .tab_i = 0, .row_top = 0, .row_low = 0,
		.back_x = 0, .back_y = 0, .prev_x = x, .seen = false,
		.prev_cls = 0, .word_start = 0, .scan_end = 0, .cur = 0,
		.gutter = "", .done = false,
		.text = text, .nonum = (flags & 1) != 0,
		.spaced = (flags & 2) != 0, .width = width, .tabs = tabs,
		.ntabs = ntabs, .half = cell_w / 2,
		.q = {q1, q2}, .slot = {pos1, pos2},
	};
	queries(&L);
	if (skip(&L)) {
		begin(&L);
		while (L.pen_y < fwin.bottom && step(&L))
			;
	}
	return L.pen_y + L.line_h;
}

/* The layout engine: one pass over a text that places every glyph on a
   grid of cells, with a line-number gutter, word wrapping, tab-stop
   columns, hit testing of two points and a cursor bar. */
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
static bool done;
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

/* Word classes: 1 lower case and digits, 2 upper case, 0 the rest. */
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

int rendertext(int, char flags, const char *text, int x, int y,
	int16_t gw, int16_t gh, int16_t width, int32_t *tabs, int ntabs,
	int, int, point *q1, point *q2, int *pos1, int *pos2)
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

	int line_h = gh - gh % 2;
	int16_t cell_w = (int16_t)(gw - gw % 2);
	int half = cell_w / 2;
	int pen_x = x, pen_y = y, left_x = x, margin_x = x;
	int line_no = 1, tab_i = 0, back_x = 0, back_y = 0, prev_x = x;
	bool seen = false, nonum = flags & 1;
	int prev_cls = 0, cur = 0;

	point *q[2] = {q1, q2};
	int *slot[2] = {pos1, pos2};
	for (int i = 0; i < 2; i++) {
		if (q[i])
			*slot[i] = -1;
		if (q[i] && (q[i]->x < x || q[i]->y < y))
			q[i] = nullptr;
	}

	/* Lines wholly above the window: only hard breaks move the pen.
	   strcspn finds the next break or the terminator at the speed of the
	   C library, stopping at the same byte a walk would stop at. */
	while (pen_y + line_h < 0) {
		cur += (int)strcspn(text + cur, "\r\n");
		if (text[cur] == 0)
			return pen_y + line_h;
		pen_y += line_h;
		line_no++;
		cur++;
	}

	int word_start = cur, scan_end = cur;
	int row_top = pen_y, row_low = pen_y;
	const char *gutter = lnf(nonum, &margin_x, line_no, cell_w);
	int col_limit = ntabs > 0 ? stop(tabs, 0, width, half) : width;
	done = false;

	while (pen_y < fwin.bottom) {
		unsigned char c = 0;
		int p;

		if (*gutter) {
			c = (unsigned char)*gutter++;
			if (c == ' ')
				pen_x += half;
			else
				glyph(c, &pen_x, pen_y, cell_w, line_h);
			continue;
		}
		if (done) {
			p = cur;    /* the place after the terminator */
		} else {
			p = cur++;
			c = (unsigned char)text[p];
		}

		/* Word scan: hold a word's bytes back until its end is seen,
		   then move it whole to a fresh line if it fits there, and take
		   its bytes again for drawing. */
		if (!done && p >= scan_end) {
			int k = cls(c);
			if ((prev_cls != 0 && k == 0) || (prev_cls == 1 && k == 2)) {
				/* A word of millions of bytes on wide cells
				   is wider than an int can hold. */
				int64_t wide = (int64_t)(p - word_start) * cell_w;
				int64_t end = (int64_t)left_x + col_limit;
				if (pen_x + wide >= end && margin_x + wide < end) {
					pen_y += line_h;
					pen_x = margin_x;
					back_x = left_x + col_limit - pen_x;
					back_y = -line_h;
				}
				scan_end = p;
				cur = word_start;
				prev_cls = 0;
				continue;
			}
			if (prev_cls == 0 && k != 0)
				word_start = p;
			if (k != 0) {
				prev_cls = k;
				continue;
			}
		}

		/* Hit tests: the carry-back puts a point right of a finished line
		   onto that line's last place. */
		for (int i = 0; i < 2; i++) {
			if (q[i] && (double)(pen_y + line_h + back_y) > q[i]->y &&
			    (double)(pen_x + back_x) > q[i]->x + (double)half) {
				*slot[i] = p - 1;
				q[i] = nullptr;
			}
		}

		/* Cursor bar one pixel left of where the character at the marked
		   place was taken up: full height when both slots agree. */
		if (p >= 1 && (p - 1 == *pos1 || p - 1 == *pos2)) {
			trect[0].x = prev_x - 1;
			trect[0].y = pen_y + back_y;
			trect[0].w = 2;
			trect[0].h = line_h / 2 + (*pos1 == *pos2 ? line_h : 0) / 2;
			sdl_v = SDL_FillRect(winsurf1, &trect[0], 0xFF000000);
			if (sdl_v < 0)
				sdlfail("FillRect");
		}

		prev_x = pen_x;
		back_x = back_y = 0;
		if (done)
			break;
		if (c == 0) {
			back_x = left_x + width - pen_x;
			done = true;
			continue;
		}

		if (c == 13 || c == 10) {
			int old_y = pen_y;
			if (row_low < pen_y)
				row_low = pen_y;
			pen_y = row_low + line_h;
			pen_x = margin_x = left_x;
			seen = false;
			back_x = left_x + width - pen_x;
			back_y = old_y - pen_y;
			line_no++;
			tab_i = 0;
			row_low = pen_y;
			if (ntabs > 0)
				col_limit = stop(tabs, 0, width, half);
			gutter = lnf(nonum, &margin_x, line_no, cell_w);
			if ((flags & 2) && pen_y - row_top > line_h)
				pen_y += line_h / 2;
			row_top = pen_y;
			continue;
		}

		if (pen_x + cell_w >= left_x + col_limit) {
			pen_y += line_h;
			pen_x = margin_x;
		}

		if (c == ' ') {
			pen_x += half;
			if (!seen)
				margin_x += half;
			continue;
		}

		if (c == '\t') {
			pen_x += 4 * cell_w;
			if (!seen) {
				/* Leading tabs indent; only tabs after text use stops. */
				margin_x += 4 * cell_w;
				continue;
			}
			if (tab_i < ntabs) {
				/* Next column: back to the top of the row. */
				if (row_low < pen_y)
					row_low = pen_y;
				back_y = pen_y - row_top;
				pen_y = row_top;
				pen_x = margin_x = left_x + stop(tabs, tab_i, width, half);
			}
			tab_i++;
			col_limit = tab_i < ntabs ?
				stop(tabs, tab_i, width, half) - half : width;
			continue;
		}

		seen = true;
		glyph(c, &pen_x, pen_y, cell_w, line_h);
	}
	return pen_y + line_h;
}

/* Drawing and where things are on the screen.  The view is the row at
   e.top and those below it: every question (where a place is drawn,
   what a point hits, whether the cursor shows) walks those rows, so its
   cost follows the window, never the file.  Line starts and numbers come
   from the line index. */
#include <algorithm>
#include <cstdio>

#include "host/face.h"
#include "orvedit/edit.h"
#include "orvedit/utf8.h"

/* Sizes of the text's face that zoom steps through, and the first. */
static const int sizes[] = {8, 9, 10, 11, 12, 13, 14, 15, 16, 18, 20, 22,
	24, 28, 32, 36, 42, 48, 56, 64, 72};
static const int default_px = 15, status_px = 14;

static const uint32_t ink = 0x000000, grey = 0x808080, gutter_bg = 0xF2F2F2,
	sel_bg = 0xB8D8FF, mark_bg = 0xFFF080, bad_bg = 0xFFD0D0,
	bad_ink = 0xC00000, status_bg = 0xE4E4E4;

static face *text_face(const editor &e)
{
	face *f = face_at(e.font_px ? e.font_px : default_px);
	return f ? f : face_at(default_px);
}

static void size(const editor &e, int *w, int *h)
{
	SDL_GetWindowSize(e.win, w, h);
}

static int digits(int n)
{
	int d = 1;
	while (n >= 10)
		n /= 10, d++;
	return d;
}

geom geometry(editor &e)
{
	face *f = text_face(e);
	geom g;
	g.cw = f ? f->cell_w : 8;
	g.lh = f ? f->line_h : 16;
	int w, h;
	size(e, &w, &h);
	/* Room for the last line's number and a cell of space. */
	g.x0 = margin + (e.numbers_off ? 0 : (digits(ln_count(e.lines)) + 1) * g.cw);
	g.cols = std::max(1, (w - g.x0 - margin) / g.cw);
	int bottom = text_bottom(e);
	g.full = std::max(1, bottom / g.lh);
	g.shown = (bottom + g.lh - 1) / g.lh;
	e.cols = g.cols;
	return g;
}

int text_bottom(const editor &e)
{
	int w, h;
	size(e, &w, &h);
	face *f = text_face(e);
	return std::max(h - status_h, f ? f->line_h : 16);
}

/* e.top moved onto the start of its row: an edit or a new width may have
   moved the wraps.  A line's start is always one. */
static void fix_top(editor &e)
{
	e.top = std::clamp(e.top, 0, e.len);
	if (e.top != line_start(e, e.top))
		e.top = row_at(e, e.top).a;
}

/* The rows from e.top, n of them at most. */
static std::vector<row> rows(const editor &e, int n)
{
	std::vector<row> v;
	for (int a = e.top; a >= 0 && (int)v.size() < n; a = v.back().next)
		v.push_back(row_from(e, a));
	return v;
}

/* A place inside a CR LF pair is shown at its line's end. */
static int shown_place(const editor &e, int pos)
{
	pos = std::clamp(pos, 0, e.len);
	return std::min(pos, line_end(e, pos));
}

bar locate(editor &e, int pos)
{
	geom g = geometry(e);
	fix_top(e);
	pos = shown_place(e, pos);
	std::vector<row> v = rows(e, g.shown);
	for (size_t i = 0; i < v.size(); i++)
		if (in_row(v[i], pos))
			return {true, g.x0 + row_col(e, v[i], pos) * g.cw,
				(int)i * g.lh};
	return {false, 0, 0};
}

/* The place nearest x on the row at y; -1 below the text's last row. */
int hit(editor &e, int x, int y)
{
	geom g = geometry(e);
	fix_top(e);
	size_t i = std::max(y, 0) / g.lh;
	std::vector<row> v = rows(e, (int)i + 1);
	if (i >= v.size())
		return -1;
	return row_place(e, v[i], (double)(x - g.x0) / g.cw);
}

/* Scrolls by n rows, down when n > 0; at most until the last row is at
   the top. */
void scroll_rows(editor &e, int n)
{
	geometry(e);
	fix_top(e);
	e.top = n > 0 ? rows_fwd(e, e.top, n) : rows_back(e, e.top, -n);
}

/* Scrolls until the row of pos is wholly in view: to the top when it is
   above, to the bottom when below. */
void reveal_pos(editor &e, int pos)
{
	geom g = geometry(e);
	fix_top(e);
	pos = shown_place(e, pos);
	if (pos >= e.top) {
		for (const row &r : rows(e, g.full))
			if (in_row(r, pos))
				return;
	}
	row r = row_at(e, pos);
	e.top = pos < e.top ? r.a : rows_back(e, r.a, g.full - 1);
}

void reveal(editor &e)
{
	reveal_pos(e, e.cur);
}

void set_title(editor &e)
{
	std::string n = e.name.empty() ? "(new file)" : e.name;
	std::string t = (dirty(e) ? "* " : "") + n + " - orvedit";
	if (t != e.title && e.win) {
		e.title = t;
		SDL_SetWindowTitle(e.win, t.c_str());
	}
}

/* Draws s from x on the row at y, one cell a character, up to right. */
static void text_at(face *f, SDL_Surface *s, int x, int y, std::string_view t,
	uint32_t rgb, int right)
{
	for (int p = 0; p < (int)t.size() && x + f->cell_w <= right; x += f->cell_w) {
		u8char c = u8_decode(t, p);
		face_draw(f, s, x, y, c.ok ? c.cp : 0xFFFD, rgb);
		p += c.len;
	}
}

/* Where the ranges of marks begin to matter for a row at a. */
static size_t first_mark(const editor &e, int a)
{
	auto it = std::partition_point(e.marks.begin(), e.marks.end(),
		[a](const std::pair<int, int> &m) { return m.second <= a; });
	return it - e.marks.begin();
}

/* One row: backgrounds (matches under the selection), then glyphs.  A
   byte that is no character shows as a red mark on pink, a character
   with no glyph (a control character too) as a box. */
static void draw_row(editor &e, const geom &g, face *f, SDL_Surface *ws,
	const row &r, int y, size_t &m)
{
	const unsigned char *t = (const unsigned char *)e.f.text;
	std::string_view s = view_of(e);
	bool sel = has_sel(e);
	int lo = sel ? sel_lo(e) : 0, hi = sel ? sel_hi(e) : 0;
	int col = 0, p = r.a;

	while (p < r.b) {
		u8char c = t[p] < 0x80 ? u8char{t[p], 1, true} : u8_decode(s, p);
		int nc = c.cp == '\t' && c.ok ? tab_next(e, col) : col + 1;
		int x = g.x0 + col * g.cw, w = (nc - col) * g.cw;
		while (m < e.marks.size() && e.marks[m].second <= p)
			m++;
		if (sel && p >= lo && p < hi)
			fill(ws, x, y, w, g.lh, sel_bg);
		else if (m < e.marks.size() && e.marks[m].first <= p)
			fill(ws, x, y, w, g.lh, mark_bg);
		if (!f) {
		} else if (!c.ok) {
			fill(ws, x, y, g.cw, g.lh, bad_bg);
			face_draw(f, ws, x, y, '?', bad_ink);
		} else if (c.cp < 32 || c.cp == 127) {
			if (c.cp != '\t')
				face_box(f, ws, x, y, ink);
		} else if (c.cp != ' ') {
			face_draw(f, ws, x, y, c.cp, ink);
		}
		col = nc;
		p += c.len;
	}
	/* A selected line break: half a cell after the line. */
	if (sel && r.last && r.b >= lo && r.b < hi)
		fill(ws, g.x0 + col * g.cw, y, g.cw / 2, g.lh, sel_bg);
}

static void draw_text(editor &e, SDL_Surface *ws)
{
	geom g = geometry(e);
	face *f = text_face(e);
	size_t m = first_mark(e, e.top);
	int bottom = text_bottom(e);
	fill(ws, 0, 0, ws->w, bottom, 0xFFFFFF);
	if (!e.numbers_off)
		fill(ws, 0, 0, g.x0 - g.cw / 2, bottom, gutter_bg);
	std::vector<row> v = rows(e, g.shown);
	int cur = shown_place(e, e.cur);
	for (size_t i = 0; i < v.size(); i++) {
		const row &r = v[i];
		int y = (int)i * g.lh;
		if (f && !e.numbers_off && r.a == ln_start(e.lines, r.line)) {
			std::string n = std::to_string(r.line + 1);
			int x = g.x0 - (int)(n.size() + 1) * g.cw;
			text_at(f, ws, x, y, n, grey, g.x0);
		}
		draw_row(e, g, f, ws, r, y, m);
		if (in_row(r, cur)) {
			int x = g.x0 + row_col(e, r, cur) * g.cw;
			fill(ws, std::min(x, ws->w - 2) - 1, y, 2, g.lh, ink);
		}
	}
}

/* The status line's right part: the cursor's line and column as people
   count them (from 1, in characters), and the kind of line breaks. */
std::string status_right(const editor &e)
{
	int line = ln_of(e.lines, e.cur);
	int col = char_col(e, e.cur);
	static const char *styles[] = {"", "LF", "CRLF", "CR", "mixed"};
	char b[64];
	snprintf(b, sizeof b, "Ln %d, Col %d  %s", line + 1, col + 1,
		styles[ln_style(e.lines)]);
	std::string s = b;
	while (!s.empty() && s.back() == ' ')
		s.pop_back();
	return s;
}

/* The status line: a question, a notice or the file's name at the left,
   the plug-in's mark before it while there are unsaved changes; where the
   cursor is at the right. */
static void status(editor &e, SDL_Surface *ws)
{
	if (!e.status || e.status->w != ws->w) {
		if (e.status)
			SDL_FreeSurface(e.status);
		e.status = SDL_CreateRGBSurfaceWithFormat(0, ws->w, status_h, 32,
			SDL_PIXELFORMAT_ARGB8888);
		if (!e.status)
			return;
		SDL_SetSurfaceBlendMode(e.status, SDL_BLENDMODE_NONE);
	}
	fill(e.status, 0, 0, ws->w, status_h, status_bg);
	if (face *f = face_at(status_px)) {
		std::string r = status_right(e);
		int y = (status_h - f->line_h) / 2;
		int rx = ws->w - margin - (int)r.size() * f->cell_w;
		text_at(f, e.status, rx, y, r, ink, ws->w - margin);
		text_at(f, e.status, 28, y, status_left(e), ink, rx - f->cell_w);
	}
	if (dirty(e) && e.plot)
		e.plot(e.status);
	SDL_Rect d = {0, ws->h - status_h, ws->w, status_h};
	SDL_BlitSurface(e.status, nullptr, ws, &d);
}

void frame(editor &e)
{
	SDL_Surface *ws = SDL_GetWindowSurface(e.win);
	if (!ws)
		return;
	if (e.follow)
		reveal(e);
	e.follow = false;
	geometry(e);
	fix_top(e);
	draw_text(e, ws);
	status(e, ws);
	SDL_UpdateWindowSurface(e.win);
}

/* Zoom (Ctrl with plus, minus, 0) and line numbers (Ctrl+Shift+L). */
bool view_key(editor &e, const SDL_Keysym &k)
{
	bool ctrl = k.mod & KMOD_CTRL, shift = k.mod & KMOD_SHIFT;
	if (!ctrl)
		return false;
	int px = e.font_px ? e.font_px : default_px;
	const int *end = sizes + sizeof sizes / sizeof *sizes;
	switch (k.sym) {
	case SDLK_PLUS:
	case SDLK_EQUALS:
	case SDLK_KP_PLUS: {
		const int *s = std::upper_bound(sizes, end, px);
		e.font_px = s < end ? *s : px;
		break;
	}
	case SDLK_MINUS:
	case SDLK_KP_MINUS: {
		const int *s = std::lower_bound(sizes, end, px);
		e.font_px = s > sizes ? s[-1] : px;
		break;
	}
	case SDLK_0:
	case SDLK_KP_0:
		e.font_px = default_px;
		break;
	case SDLK_l:
		if (!shift)
			return false;
		e.numbers_off = !e.numbers_off;
		break;
	default:
		return false;
	}
	e.follow = true;
	return true;
}

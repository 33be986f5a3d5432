/* Drawing: the text through rendertext, the selection over it, and the
   status line with the plug-in's mark.  Where things are on the screen
   comes from the layout itself, never from a model of it: a place is
   where the layout draws its cursor bar (locate), a point is what its hit
   test answers (hit).  Layouts that only measure draw on a 1x1 surface,
   where every blit is clipped away. */
#include <algorithm>
#include <cstring>
#include <vector>

#include "textview/textview.h"
#include "textview/host.h"
#include "orvedit/edit.h"

extern "C" int __real_SDL_FillRect(SDL_Surface *s, const SDL_Rect *r,
	Uint32 colour);

static bool recording;
static std::vector<SDL_Rect> bars;

/* The editor is linked with --wrap=SDL_FillRect, so the fills of the
   layout come here: the only ones it makes are cursor bars, each at
   trect[0] on winsurf1. */
extern "C" int __wrap_SDL_FillRect(SDL_Surface *s, const SDL_Rect *r,
	Uint32 colour)
{
	if (recording && r && s == winsurf1)
		bars.push_back(*r);
	return __real_SDL_FillRect(s, r, colour);
}

static void size(const editor &e, int *w, int *h)
{
	SDL_GetWindowSize(e.win, w, h);
}

int text_bottom(const editor &e)
{
	int w, h;
	size(e, &w, &h);
	return std::max(h - status_h, line_h);
}

static int16_t text_width(const editor &e)
{
	int w, h;
	size(e, &w, &h);
	return (int16_t)std::clamp(w - 2 * margin, 2 * cell_w, 32767);
}

/* One pass of the layout over the text onto dst, with the two position
   slots; with q, a hit test whose answer is in *p1.  The bars it draws
   are kept in bars. */
static void layout(editor &e, SDL_Surface *dst, int *p1, int *p2, point *q)
{
	winsurf1 = dst;
	fwin.bottom = text_bottom(e);
	bars.clear();
	recording = true;
	rendertext(0, 0, e.f.text, margin, -e.top, cell_w, glyph_h,
		text_width(e), e.tabs.data(), (int)e.tabs.size(), 0, 0, q,
		nullptr, p1, p2);
	recording = false;
}

static bar first_bar()
{
	if (bars.empty())
		return {false, 0, 0};
	/* The bar stands one pixel left of the place. */
	return {true, bars[0].x + 1, bars[0].y};
}

bar locate(editor &e, int pos)
{
	int p1 = pos, p2 = pos;
	layout(e, e.probe, &p1, &p2, nullptr);
	return first_bar();
}

int hit(editor &e, int x, int y)
{
	point q = {(double)std::max(x, margin), (double)std::max(y, 0)};
	int p1 = -1, p2 = -1;
	layout(e, e.probe, &p1, &p2, &q);
	return p1;
}

/* The view may go down until the last line is at the top. */
void scroll_to(editor &e, int top)
{
	e.top = std::clamp(top, 0, (e.nlines - 1) * line_h);
}

static bool shown(const editor &e, bar b)
{
	return b.ok && b.y >= 0 && b.y + line_h <= text_bottom(e);
}

/* The first hard line the layout takes up when scrolled to top: the lines
   before it are skipped, and it starts just above the window. */
static int first_line(const editor &e)
{
	return std::max(1, e.top / line_h);
}

/* Scrolls until the cursor's row is wholly in view.  The layout skips
   whole hard lines above the window, so the view moves by a hard line at
   a time; a cursor deep inside a line longer than a window may not be
   reachable, and then the view stays where the steps lead. */
void reveal(editor &e)
{
	std::vector<int> tried;
	int rows = std::max(1, text_bottom(e) / line_h);
	for (int i = 0; i < 2 * rows + 8; i++) {
		bar b = locate(e, e.cur);
		if (shown(e, b))
			return;
		tried.push_back(e.top);
		int top = e.top;
		if (b.ok && b.y < 0) {
			top -= line_h;
		} else if (b.ok) {
			top += line_h;
		} else {
			int line = breaks(e.f.text, e.cur) + 1;
			if (e.top > 0 && line <= first_line(e))
				top = (line - 1) * line_h;	/* above */
			else
				top = std::max(top + line_h, (line - rows) * line_h);
		}
		scroll_to(e, top);
		if (std::find(tried.begin(), tried.end(), e.top) != tried.end())
			return;
	}
}

void set_title(editor &e)
{
	std::string t = (dirty(e) && !e.plot ? "* " : "") + e.name + " - orvedit";
	if (t != e.title && e.win) {
		e.title = t;
		SDL_SetWindowTitle(e.win, t.c_str());
	}
}

/* Light blue, as qrect packs it: alpha, red, green, blue from the low
   byte up.  Drawn multiplied onto the text, which stays black. */
static const uint32_t sel_colour = 0xFFu << 24 | 0xD8u << 16 | 0xB8u << 8 | 0xFFu;

/* Whether a position the layout did not reach lies above the window. */
static bool above(const editor &e, int pos)
{
	return e.top >= line_h && breaks(e.f.text, pos) + 1 < first_line(e);
}

/* The selection: from its first place to the end of that row, the rows
   between, and the last row up to its end place. */
static void highlight(editor &e, SDL_Surface *ws)
{
	int lo = std::min(e.anchor, e.cur), hi = std::max(e.anchor, e.cur);
	bar a = locate(e, lo), b = locate(e, hi);
	int bottom = text_bottom(e);
	int left = margin, right = margin + text_width(e);
	/* Rows after the first start past the gutter of the last line. */
	int ln = breaks(e.f.text, hi) + 1;
	left += cell_w * (int)strlen(itostr(ln, 10)) + cell_w / 2;
	if (!a.ok) {
		if (!above(e, lo))
			return;		/* wholly below the window */
		a = {true, left, -line_h};
	}
	if (!b.ok) {
		if (above(e, hi))
			return;		/* wholly above */
		b = {true, right, bottom};
	}
	renderer = SDL_CreateSoftwareRenderer(ws);
	if (!renderer)
		return;
	SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_MOD);
	if (a.y == b.y) {
		qrect(a.x, a.y, b.x - a.x, line_h, sel_colour);
	} else {
		qrect(a.x, a.y, right - a.x, line_h, sel_colour);
		if (b.y > a.y + line_h)
			qrect(left, a.y + line_h, right - left, b.y - a.y - line_h,
				sel_colour);
		qrect(left, b.y, b.x - left, line_h, sel_colour);
	}
	SDL_RenderFlush(renderer);
	SDL_DestroyRenderer(renderer);
	renderer = nullptr;
}

/* The status line: a notice, or the file's name; the plug-in's mark at
   its left end while there are unsaved changes. */
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
	__real_SDL_FillRect(e.status, nullptr, 0xFFE4E4E4);
	std::string t = status_left(e);
	int x = 28, y = (status_h - line_h) / 2, none = -1;
	winsurf1 = e.status;
	fwin.bottom = y + 1;	/* one row: a long notice is cut */
	rendertext(0, 1, t.c_str(), x, y, cell_w, glyph_h,
		(int16_t)std::max(ws->w - x - margin, 2 * cell_w), nullptr, 0, 0, 0,
		nullptr, nullptr, &none, &none);
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
	bool sel = e.anchor >= 0 && e.anchor != e.cur;
	/* With a selection the bars drawn mark its two ends, not the cursor:
	   find the cursor first. */
	if (e.follow && sel)
		reveal(e);
	for (int pass = 0; pass < 2; pass++) {
		__real_SDL_FillRect(ws, nullptr, SDL_MapRGB(ws->format, 255, 255, 255));
		int p1 = sel ? std::min(e.anchor, e.cur) : e.cur;
		int p2 = sel ? std::max(e.anchor, e.cur) : e.cur;
		layout(e, ws, &p1, &p2, nullptr);
		if (!e.follow || sel || shown(e, first_bar()))
			break;
		reveal(e);
		e.follow = false;
	}
	e.follow = false;
	if (sel)
		highlight(e, ws);
	status(e, ws);
	SDL_UpdateWindowSurface(e.win);
}

/* Moving the cursor over the text as it is shown: by rows, by pages,
   and to where the mouse points; words and lines picked by clicks. */
#include <algorithm>
#include <cctype>

#include "orvedit/edit.h"
#include "orvedit/utf8.h"

/* Moves the cursor; with Shift the selection follows it. */
void move_to(editor &e, int pos, bool shift)
{
	if (shift && e.anchor < 0)
		e.anchor = e.cur;
	if (!shift)
		e.anchor = -1;
	e.cur = std::clamp(pos, 0, e.len);
	e.follow = true;
	e.typing = false;
}

/* Up and Down: one displayed row, at the column the moves started
   from; past the first or last row, the text's start or end. */
void vmove(editor &e, int dir, bool shift)
{
	geometry(e);
	row r = row_at(e, e.cur);
	int goal = e.goal_x >= 0 ? e.goal_x : row_col(e, r, e.cur);
	int pos;
	if (dir > 0 && r.next < 0)
		pos = e.len;
	else if (dir < 0 && r.a == 0)
		pos = 0;
	else {
		int a = dir > 0 ? r.next : rows_back(e, r.a, 1);
		pos = row_place(e, row_from(e, a), goal);
	}
	move_to(e, snap(e, pos), shift);
	e.goal_x = goal;
}

/* Page Up and Page Down: the view and the cursor by a window's height
   less a row, the cursor kept on its row of the window. */
void page(editor &e, int dir, bool shift)
{
	geom g = geometry(e);
	reveal(e);
	bar b = locate(e, e.cur);
	int n = std::max(1, g.full - 1), before = e.top;
	scroll_rows(e, dir * n);
	int pos;
	if (e.top == before || !b.ok)
		pos = dir > 0 ? e.len : 0;
	else {
		pos = hit(e, b.x, b.y + g.lh / 2);
		if (pos < 0)
			pos = e.len;
	}
	move_to(e, snap(e, pos), shift);
}

void wheel(editor &e, int notches)
{
	scroll_rows(e, -3 * notches);
	e.follow = false;
}

/* Word characters (letters, digits, _ and every character beyond
   ASCII), blanks, and the rest: a double click takes a run of one. */
static int kind(const editor &e, int p)
{
	u8char c = u8_decode(view_of(e), p);
	if (c.cp == ' ' || c.cp == '\t')
		return 1;
	if (c.cp == '_' || (c.cp < 128 && isalnum(c.cp)) || (c.ok && c.cp >= 128))
		return 2;
	return 3;
}

static void select_word(editor &e, int pos)
{
	int ls = line_start(e, pos), le = line_end(e, pos);
	if (pos >= le && pos > ls)
		pos = prev_char(e, pos);
	if (pos >= le) {
		move_to(e, pos, false);
		return;
	}
	int k = kind(e, pos), a = pos, b = next_char(e, pos);
	while (a > ls && kind(e, prev_char(e, a)) == k)
		a = prev_char(e, a);
	while (b < le && kind(e, b) == k)
		b = next_char(e, b);
	e.anchor = a;
	e.cur = b;
	e.typing = false;
}

/* The line with its break, so that a cut takes it whole. */
static void select_line(editor &e, int pos)
{
	int n = ln_of(e.lines, pos);
	e.anchor = ln_start(e.lines, n);
	e.cur = n + 1 < ln_count(e.lines) ? ln_start(e.lines, n + 1) : e.len;
	e.typing = false;
}

void mouse(editor &e, const SDL_Event &ev)
{
	int x, y;
	if (ev.type == SDL_MOUSEMOTION) {
		if (!e.drag || !(ev.motion.state & SDL_BUTTON_LMASK))
			return;
		x = ev.motion.x;
		y = std::clamp(ev.motion.y, 0, text_bottom(e) - 1);
	} else {
		if (ev.button.button != SDL_BUTTON_LEFT)
			return;
		if (ev.type == SDL_MOUSEBUTTONUP) {
			e.drag = false;
			return;
		}
		x = ev.button.x;
		y = ev.button.y;
		if (y >= text_bottom(e))
			return;		/* the status line */
		e.drag = true;
	}
	int pos = hit(e, x, y);
	if (pos < 0)
		pos = e.len;	/* below the last row */
	pos = snap(e, pos);
	e.goal_x = -1;
	bool extend = ev.type == SDL_MOUSEMOTION || (e.mods & KMOD_SHIFT);
	if (!extend && ev.button.clicks == 2)
		select_word(e, pos);
	else if (!extend && ev.button.clicks >= 3)
		select_line(e, pos);
	else
		move_to(e, pos, extend);
	e.follow = false;
}

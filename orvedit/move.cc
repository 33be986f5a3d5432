/* Moving the cursor over the text as it is shown: by rows, by pages,
   and to where the mouse points. */
#include <algorithm>

#include "orvedit/edit.h"

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

/* The x to hit-test for the place at x: the hit test takes the place
   more than half a cell right of the point, and a space is only half a
   cell wide. */
static int aim(int x)
{
	return x - cell_w / 2 + 1;
}

/* Up and Down: one displayed row, at the x the moves started from. */
void vmove(editor &e, int dir, bool shift)
{
	reveal(e);
	bar b = locate(e, e.cur);
	if (!b.ok)
		return;
	if (e.goal_x < 0)
		e.goal_x = b.x;
	int goal = e.goal_x;
	int y = b.y + dir * line_h;
	/* Past the window's edge: scroll a line first, if there is one. */
	while (y < 0 || y + line_h > text_bottom(e)) {
		int before = e.top;
		scroll_to(e, e.top + dir * line_h);
		if (e.top == before)
			break;
		b = locate(e, e.cur);
		if (!b.ok)
			return;
		y = b.y + dir * line_h;
	}
	int pos;
	if (y < 0)
		pos = 0;	/* Up on the first row: the start */
	else if (y + line_h > text_bottom(e))
		pos = e.len;
	else {
		pos = hit(e, aim(goal), y + line_h / 2);
		if (pos < 0)
			pos = dir > 0 ? e.len : 0;
	}
	move_to(e, snap(e, pos), shift);
	e.goal_x = goal;
}

/* Page Up and Page Down: the view and the cursor by a window's height. */
void page(editor &e, int dir, bool shift)
{
	reveal(e);
	bar b = locate(e, e.cur);
	int rows = std::max(1, text_bottom(e) / line_h - 1);
	int before = e.top;
	scroll_to(e, e.top + dir * rows * line_h);
	int pos;
	if (e.top == before || !b.ok)
		pos = dir > 0 ? e.len : 0;
	else {
		pos = hit(e, aim(b.x), b.y + line_h / 2);
		if (pos < 0)
			pos = e.len;
	}
	move_to(e, snap(e, pos), shift);
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
	if (pos < 0) {
		/* Below the last line, or left of the first character. */
		bar end = locate(e, e.len);
		pos = end.ok && y >= end.y ? e.len : 0;
	}
	e.goal_x = -1;
	bool extend = ev.type == SDL_MOUSEMOTION || (e.mods & KMOD_SHIFT);
	move_to(e, snap(e, pos), extend);
	e.follow = false;
}

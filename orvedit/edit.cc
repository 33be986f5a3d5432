/* The editor's state and what keys and the mouse do to it.  Every change
   of the text is one replace(): delete a run, insert a string, both
   through editbuf, and a record in the history for undo and redo. */
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "orvedit/edit.h"

bool dirty(const editor &e)
{
	return e.saved != (long)e.done;
}

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
static int seq_len(const editor &e, int pos)
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
static int next_char(const editor &e, int pos)
{
	if (pos >= e.len)
		return e.len;
	return pos + seq_len(e, pos);
}

static int prev_char(const editor &e, int pos)
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
static int snap(const editor &e, int pos)
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

static int line_start(const editor &e, int pos)
{
	while (pos > 0 && !is_break(e.f.text[pos - 1]))
		pos--;
	return pos;
}

static int line_end(const editor &e, int pos)
{
	return pos + (int)strcspn(e.f.text + pos, "\r\n");
}

static bool has_sel(const editor &e)
{
	return e.anchor >= 0 && e.anchor != e.cur;
}

static int sel_lo(const editor &e)
{
	return std::min(e.anchor, e.cur);
}

static int sel_hi(const editor &e)
{
	return std::max(e.anchor, e.cur);
}

/* An edit changes what a save or a quit would do: both ask anew. */
static void edited(editor &e)
{
	e.quit_asked = false;
	e.notice.clear();
	e.follow = true;
	e.goal_x = -1;
	set_title(e);
}

/* Inserts s at pos through editbuf, which leaves the text as it was when
   its block cannot grow.  Whether the text took s is read off the buffer
   itself. */
static bool insert(editor &e, int pos, const std::string &s)
{
	int64_t want = (int64_t)e.len + (int64_t)s.size();

	ed_insert(&e.f, s.c_str(), pos);
	if (want + 1 > e.f.cap || e.f.text[want] != 0 ||
	    memcmp(e.f.text + pos, s.data(), s.size()) != 0)
		return false;
	e.len = (int)want;
	e.nlines += breaks(s.data(), s.size());
	return true;
}

/* The text at pos, n bytes of it, becomes s.  Through editbuf alone.
   False, with the text as it was, when memory ran out. */
static bool splice(editor &e, int pos, int n, const std::string &s)
{
	std::string del;
	if (n > 0) {
		try {
			del.assign(e.f.text + pos, n);
		} catch (const std::bad_alloc &) {
			return false;
		}
		e.nlines -= breaks(e.f.text + pos, n);
		ed_delete(&e.f, n, pos);
		e.len -= n;
	}
	if (s.empty() || insert(e, pos, s))
		return true;
	/* A delete keeps the block: what it took fits back without one. */
	if (n > 0)
		insert(e, pos, del);
	return false;
}

/* Says that an edit was refused for want of memory. */
static void no_room(editor &e, const char *what)
{
	e.notice = std::string("out of memory: ") + what;
	e.typing = false;
}

/* Room in t for n bytes more, growing it by halves at least. */
static void grow(std::string &t, size_t n)
{
	if (t.capacity() < t.size() + n)
		t.reserve(std::max(t.size() + n, 2 * t.capacity()));
}

/* Replaces n bytes at pos by s as one change that can be undone.  Typed
   text joins the change before it while typing goes on at its end, so
   that undo takes back a word rather than a letter. */
static void replace(editor &e, int pos, int n, const std::string &s,
	bool typed)
{
	/* The block's size is a 32-bit count: refuse what would not fit. */
	if ((int64_t)e.len - n + (int64_t)s.size() + 1 + 100 > INT32_MAX) {
		e.notice = "too large: not inserted";
		return;
	}
	if (n == 0 && s.empty())
		return;
	change *last = e.done > 0 ? &e.hist[e.done - 1] : nullptr;
	bool join = typed && e.typing && last && e.done == e.hist.size() &&
		(long)e.done != e.saved && n == 0 &&
		last->pos + (int)last->ins.size() == pos &&
		!last->ins.empty() && !(last->ins.back() == ' ' && s != " ");
	/* What the history needs is had before the text changes: when
	   memory runs out, nothing has happened. */
	change c;
	try {
		if (join) {
			grow(last->ins, s.size());
		} else {
			c = {pos, std::string(e.f.text + pos, n), s, e.cur, e.anchor,
				pos + (int)s.size()};
			if (e.hist.capacity() <= e.done)
				e.hist.reserve(std::max<size_t>(16, 2 * e.done));
		}
	} catch (const std::bad_alloc &) {
		no_room(e, "the edit was not made");
		return;
	}
	if (!splice(e, pos, n, s)) {
		no_room(e, "the edit was not made");
		return;
	}
	e.cur = pos + (int)s.size();
	e.anchor = -1;
	if (join) {
		last->ins += s;
		last->cur_after = e.cur;
	} else {
		e.hist.resize(e.done);
		if (e.saved > (long)e.done)
			e.saved = -1;	/* the saved text can no longer be reached */
		e.hist.push_back(std::move(c));
		e.done++;
	}
	e.typing = typed;
	edited(e);
}

static void undo(editor &e)
{
	if (e.done == 0) {
		e.notice = "nothing to undo";
		return;
	}
	const change &c = e.hist[e.done - 1];
	if (!splice(e, c.pos, (int)c.ins.size(), c.del)) {
		no_room(e, "nothing undone");
		return;
	}
	e.done--;
	e.cur = c.cur_before;
	e.anchor = c.anchor_before;
	e.typing = false;
	edited(e);
}

static void redo(editor &e)
{
	if (e.done == e.hist.size()) {
		e.notice = "nothing to redo";
		return;
	}
	const change &c = e.hist[e.done];
	if (!splice(e, c.pos, (int)c.del.size(), c.ins)) {
		no_room(e, "nothing redone");
		return;
	}
	e.done++;
	e.cur = c.cur_after;
	e.anchor = -1;
	e.typing = false;
	edited(e);
}

/* Text typed or pasted takes the place of the selection. */
static void put(editor &e, const std::string &s, bool typed)
{
	if (has_sel(e))
		replace(e, sel_lo(e), sel_hi(e) - sel_lo(e), s, false);
	else
		replace(e, e.cur, 0, s, typed);
}

/* Backspace (back) and Delete: the selection, else one character. */
static void erase(editor &e, bool back)
{
	if (has_sel(e)) {
		replace(e, sel_lo(e), sel_hi(e) - sel_lo(e), "", false);
		return;
	}
	int a = back ? prev_char(e, e.cur) : e.cur;
	int b = back ? e.cur : next_char(e, e.cur);
	if (b > a)
		replace(e, a, b - a, "", false);
}

/* Copy and cut.  A selection larger than the display can take is
   refused whole: handing it over would end the connection, and with it
   the editor. */
static void copy(editor &e, bool cut)
{
	if (!has_sel(e))
		return;
	size_t n = sel_hi(e) - sel_lo(e), most = clip_room(e);
	if (n > most) {
		char b[128];
		snprintf(b, sizeof b, "%s refused: %.1f MB selected, the display "
			"takes at most %.1f MB", cut ? "cut" : "copy", n / 1e6,
			most / 1e6);
		e.notice = b;
		return;
	}
	std::string s(e.f.text + sel_lo(e), n);
	if (SDL_SetClipboardText(s.c_str()) != 0) {
		e.notice = std::string("clipboard: ") + SDL_GetError();
		return;
	}
	if (cut)
		replace(e, sel_lo(e), (int)n, "", false);
}

static void paste(editor &e)
{
	char *t = SDL_GetClipboardText();
	if (t && *t)
		put(e, t, false);
	else if (clip_offered(e))
		e.notice = "nothing pasted: the clipboard's text did not come "
			"(too large for the display to pass, or not text)";
	else
		e.notice = "nothing pasted: the clipboard is empty";
	SDL_free(t);
}

/* Moves the cursor; with Shift the selection follows it. */
static void move_to(editor &e, int pos, bool shift)
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
static void vmove(editor &e, int dir, bool shift)
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
static void page(editor &e, int dir, bool shift)
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

/* A quit request: with unsaved changes the first one only warns. */
static void ask_quit(editor &e)
{
	if (!dirty(e) || e.quit_asked) {
		e.quit = true;
		return;
	}
	e.quit_asked = true;
	e.notice = "unsaved changes: Ctrl+Q again quits without saving";
}

static void key(editor &e, const SDL_Keysym &k)
{
	bool ctrl = k.mod & KMOD_CTRL, shift = k.mod & KMOD_SHIFT;
	int goal = e.goal_x;
	e.goal_x = -1;

	if (ctrl) {
		switch (k.sym) {
		case SDLK_s: edit_save(e); return;
		case SDLK_q: ask_quit(e); return;
		case SDLK_c: copy(e, false); return;
		case SDLK_x: copy(e, true); return;
		case SDLK_v: paste(e); return;
		case SDLK_z: shift ? redo(e) : undo(e); return;
		case SDLK_y: redo(e); return;
		case SDLK_a:
			e.anchor = 0;
			e.cur = e.len;
			return;
		case SDLK_HOME: move_to(e, 0, shift); return;
		case SDLK_END: move_to(e, e.len, shift); return;
		}
		return;
	}
	/* Without Shift a move leaves the selection, from its end. */
	bool sel = has_sel(e) && !shift;
	switch (k.sym) {
	case SDLK_RETURN:
	case SDLK_KP_ENTER: put(e, "\n", false); break;
	case SDLK_TAB: put(e, "\t", false); break;
	case SDLK_BACKSPACE: erase(e, true); break;
	case SDLK_DELETE: erase(e, false); break;
	case SDLK_LEFT:
		move_to(e, sel ? sel_lo(e) : prev_char(e, e.cur), shift);
		break;
	case SDLK_RIGHT:
		move_to(e, sel ? sel_hi(e) : next_char(e, e.cur), shift);
		break;
	case SDLK_HOME: move_to(e, line_start(e, e.cur), shift); break;
	case SDLK_END: move_to(e, line_end(e, e.cur), shift); break;
	case SDLK_UP:
		e.goal_x = goal;
		vmove(e, -1, shift);
		break;
	case SDLK_DOWN:
		e.goal_x = goal;
		vmove(e, 1, shift);
		break;
	case SDLK_PAGEUP: page(e, -1, shift); break;
	case SDLK_PAGEDOWN: page(e, 1, shift); break;
	}
}

/* Typed text, as its UTF-8 bytes, with the modifiers of the key events
   before it in the queue: what is held now may have been pressed long
   after this text was typed.  A Ctrl or left Alt chord is a command, not
   text; AltGr, which layouts send as right Alt or as Ctrl+Alt, types. */
static void text(editor &e, const char *t)
{
	Uint16 m = e.mods;
	bool ctrl = m & KMOD_CTRL, alt = m & KMOD_ALT;
	if ((ctrl && !alt) || ((m & KMOD_LALT) && !ctrl))
		return;
	if (*t)
		put(e, t, true);
}

static void mouse(editor &e, const SDL_Event &ev)
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

static void handle(editor &e, const SDL_Event &ev)
{
	switch (ev.type) {
	case SDL_QUIT:
		ask_quit(e);
		break;
	case SDL_WINDOWEVENT:
		if (ev.window.event == SDL_WINDOWEVENT_CLOSE)
			ask_quit(e);
		break;
	case SDL_KEYDOWN:
		e.mods = ev.key.keysym.mod;
		key(e, ev.key.keysym);
		break;
	case SDL_KEYUP:
		e.mods = ev.key.keysym.mod;
		break;
	case SDL_TEXTINPUT:
		text(e, ev.text.text);
		break;
	case SDL_MOUSEBUTTONDOWN:
	case SDL_MOUSEBUTTONUP:
	case SDL_MOUSEMOTION:
		mouse(e, ev);
		break;
	case SDL_MOUSEWHEEL: {
		int dy = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ?
			-ev.wheel.y : ev.wheel.y;
		scroll_to(e, e.top - dy * 3 * line_h);
		e.follow = false;
		break;
	}
	}
}

/* SIGINT (Ctrl+C in the terminal that started the editor) is a quit
   request like Ctrl+Q: the handler only notes it, the loop asks. */
static volatile sig_atomic_t interrupted;

static void on_int(int)
{
	interrupted = 1;
}

static void catch_int()
{
	struct sigaction sa = {};
	sa.sa_handler = on_int;
	sigemptyset(&sa.sa_mask);
	sigaction(SIGINT, &sa, nullptr);
}

static void signals(editor &e)
{
	if (interrupted) {
		interrupted = 0;
		ask_quit(e);
	}
}

bool edit_pump(editor &e)
{
	SDL_Event ev;
	signals(e);
	while (!e.quit && SDL_PollEvent(&ev))
		handle(e, ev);
	if (!e.quit)
		frame(e);
	return !e.quit;
}

/* Waits a while at most, so that a signal noted meanwhile is seen even
   when no event comes. */
int edit_run(editor &e)
{
	frame(e);
	SDL_Event ev;
	while (!e.quit) {
		if (SDL_WaitEventTimeout(&ev, 250))
			handle(e, ev);
		edit_pump(e);
	}
	return 0;
}

std::string plugin_path(const std::string &exe)
{
	std::string dir = exe.substr(0, exe.rfind('/') + 1);
	std::string here = dir + "plotplug.so";
	if (access(here.c_str(), F_OK) == 0)
		return here;
	return dir + ORV_PLUGIN_FROM_BIN;
}

bool edit_open(editor &e, const char *path, const edit_opts &o,
	std::string &err)
{
	e = editor{};
	e.name = path;
	e.f.path = e.name.data();
	e.anchor = -1;
	e.goal_x = -1;
	e.saved = 0;
	e.tabs = o.tabs;
	e.clip_max = o.clip_max;
	struct stat s;
	if (stat(path, &s) == 0 && S_ISDIR(s.st_mode)) {
		err = e.name + ": is a directory";
		return false;
	}

	/* The plug-in takes SDL_FillRect from this process, which has
	   SDL linked already. */
	if (!o.plugin.empty()) {
		e.plug = dlopen(o.plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
		if (e.plug) {
			auto init = (void (*)())dlsym(e.plug, "init_me");
			e.plot = (void (*)(SDL_Surface *))dlsym(e.plug, "plot_g2");
			if (init && e.plot)
				init();
			else
				e.plot = nullptr;
		}
	}

	/* Closing the window is a quit request like Ctrl+Q, which may be
	   refused; SDL would follow it with a second one of its own. */
	SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
	/* The frame is drawn on the window's surface in memory: SDL need
	   not load an OpenGL driver to show it. */
	SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
	e.win = SDL_CreateWindow("orvedit", SDL_WINDOWPOS_UNDEFINED,
		SDL_WINDOWPOS_UNDEFINED, o.w, o.h,
		SDL_WINDOW_RESIZABLE | (o.hidden ? SDL_WINDOW_HIDDEN : 0));
	if (!e.win) {
		err = std::string("cannot open a window: ") + SDL_GetError();
		edit_close(e);
		return false;
	}
	SDL_SetWindowMinimumSize(e.win, 200, 100);
	e.probe = SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32,
		SDL_PIXELFORMAT_ARGB8888);
	catch_signals();
	catch_int();
	load(e);
	if (e.ro)
		e.notice = e.name + " is read-only: " + e.ro_why;
	e.follow = true;
	set_title(e);
	SDL_StartTextInput();
	return true;
}

void edit_close(editor &e)
{
	free(e.f.text);
	e.f.text = nullptr;
	if (e.status)
		SDL_FreeSurface(e.status);
	if (e.probe)
		SDL_FreeSurface(e.probe);
	if (e.win)
		SDL_DestroyWindow(e.win);
	if (e.plug)
		dlclose(e.plug);
	e.status = e.probe = nullptr;
	e.win = nullptr;
	e.plug = nullptr;
	e.plot = nullptr;
}

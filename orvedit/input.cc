/* What keys, the mouse, the window and signals ask of the editor, and
   the loop that reads them. */
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "orvedit/edit.h"

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

/* The line break that Return types: the file's own, or where a file
   mixes them, the one that ends the cursor's line. */
static std::string line_break(const editor &e)
{
	eol k = ln_style(e.lines);
	if (k == EOL_MIXED) {
		int n = ln_of(e.lines, e.cur);
		k = n + 1 < ln_count(e.lines) ? (eol)e.lines.brk[n + 1] :
			n > 0 ? (eol)e.lines.brk[n] : EOL_LF;
	}
	const char *b = eol_bytes(k);
	return *b ? b : "\n";
}

/* Pasted text takes the file's line breaks, where the file has one kind
   of them other than LF: a CR LF file stays CR LF throughout. */
static std::string as_file_breaks(const editor &e, const char *t)
{
	eol k = ln_style(e.lines);
	if (k != EOL_CRLF && k != EOL_CR)
		return t;
	std::string out, br = eol_bytes(k);
	for (const char *p = t; *p; p++) {
		if (*p == '\r' && p[1] == '\n')
			p++;
		if (*p == '\r' || *p == '\n')
			out += br;
		else
			out += *p;
	}
	return out;
}

static void paste(editor &e)
{
	char *t = SDL_GetClipboardText();
	if (t && *t)
		put(e, as_file_breaks(e, t), false);
	else if (clip_offered(e))
		e.notice = "nothing pasted: the clipboard's text did not come "
			"(too large for the display to pass, or not text)";
	else
		e.notice = "nothing pasted: the clipboard is empty";
	SDL_free(t);
}

/* A quit request: with unsaved changes it asks save, discard or cancel
   first (files.cc). */
void ask_quit(editor &e)
{
	unsaved_then(e, "quit", end_run);
}

/* Ctrl+Backspace and Ctrl+Delete: the selection, else up to pos. */
static void erase_to(editor &e, int pos)
{
	if (has_sel(e) || pos == e.cur) {
		erase(e, pos < e.cur);
		return;
	}
	int lo = std::min(pos, e.cur), hi = std::max(pos, e.cur);
	replace(e, lo, hi - lo, "", false);
}

/* F1: the keys, a page at a time on the status line. */
static const char *const keys_help[] = {
	"Ctrl+S save  Ctrl+Q quit  Ctrl+Z undo  Ctrl+Shift+Z or Ctrl+Y redo",
	"Ctrl+C copy  Ctrl+X cut  Ctrl+V paste  middle button: paste the selection",
	"Ctrl+F find (Enter, F3 next; Shift+F3 previous)  Ctrl+H or Ctrl+R replace",
	"Ctrl+G or Ctrl+L go to line  Ctrl+Home, Ctrl+End start and end  Ctrl+A all",
	"Ctrl+Left, Ctrl+Right by words  Ctrl+Backspace, Ctrl+Delete delete a word",
	"Shift with a move or a click selects  double click: a word, triple: a line",
};

static void help(editor &e, size_t page)
{
	size_t n = sizeof keys_help / sizeof *keys_help;
	char head[64];
	snprintf(head, sizeof head, "Keys %zu/%zu (F1 more, Esc ends): ",
		page + 1, n);
	ask_choice(e, head + std::string(keys_help[page]), "q",
		[](editor &, const std::string &) {});
	e.ask.key = [page, n](editor &e, const SDL_Keysym &k) {
		if (k.sym != SDLK_F1 && k.sym != SDLK_SPACE && k.sym != SDLK_RETURN)
			return false;
		if (page + 1 < n)
			help(e, page + 1);
		else
			e.ask = prompt{};
		return true;
	};
}

static void key(editor &e, const SDL_Keysym &k)
{
	bool ctrl = k.mod & KMOD_CTRL, shift = k.mod & KMOD_SHIFT;
	int goal = e.goal_x;
	e.goal_x = -1;

	if (prompt_key(e, k))
		return;
	/* The view's keys: zoom, line numbers (view.cc). */
	if (view_key(e, k))
		return;
	if (ctrl) {
		switch (k.sym) {
		/* Files (files.cc). */
		case SDLK_s: shift ? save_as(e) : (void)edit_save(e); return;
		case SDLK_o: ask_open(e); return;
		case SDLK_n: ask_new(e); return;
		case SDLK_q: ask_quit(e); return;
		case SDLK_f: find_start(e); return;
		case SDLK_h:
		case SDLK_r: replace_start(e); return;
		case SDLK_g:
		case SDLK_l: goto_start(e); return;
		case SDLK_LEFT:
			move_to(e, word_left(e, e.cur), shift);
			return;
		case SDLK_RIGHT:
			move_to(e, word_right(e, e.cur), shift);
			return;
		case SDLK_BACKSPACE:
			erase_to(e, word_left(e, e.cur));
			return;
		case SDLK_DELETE:
			erase_to(e, word_right(e, e.cur));
			return;
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
	case SDLK_KP_ENTER: put(e, line_break(e), false); break;
	case SDLK_F3: find_next(e, shift); break;
	case SDLK_F1: help(e, 0); break;
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
	if (prompt_text(e, t))
		return;
	if (*t)
		put(e, t, true);
}

/* The middle button pastes the PRIMARY selection where it is pressed. */
static void middle(editor &e, int x, int y)
{
	int pos = hit(e, x, y);
	if (pos < 0)
		pos = e.len;
	move_to(e, snap(e, pos), false);
	char *t = SDL_GetPrimarySelectionText();
	if (t && *t)
		put(e, as_file_breaks(e, t), false);
	SDL_free(t);
}

/* A selection of at most this much is offered as PRIMARY as it changes:
   SDL hands it over whole at every change. */
static const int primary_most = 1 << 20;

/* PRIMARY is a selection of the window systems that share it between
   programs, X11 and Wayland; elsewhere nobody could read it. */
static bool shares_primary()
{
	const char *d = SDL_GetCurrentVideoDriver();
	return d && (!strcmp(d, "x11") || !strcmp(d, "wayland"));
}

static void offer_primary(editor &e)
{
	if (!has_sel(e) || !shares_primary())
		return;
	std::pair<int, int> now = {sel_lo(e), sel_hi(e)};
	int n = now.second - now.first;
	if (now == e.primary || n > primary_most || (size_t)n > clip_room(e))
		return;
	e.primary = now;
	SDL_SetPrimarySelectionText(std::string(e.f.text + now.first, n).c_str());
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
		e.ask_eat = false;	/* its text, if any, came before */
		break;
	case SDL_TEXTINPUT:
		text(e, ev.text.text);
		break;
	case SDL_MOUSEBUTTONDOWN:
		if (ev.button.button == SDL_BUTTON_MIDDLE) {
			middle(e, ev.button.x, ev.button.y);
			break;
		}
		/* fall through */
	case SDL_MOUSEBUTTONUP:
	case SDL_MOUSEMOTION:
		mouse(e, ev);
		break;
	case SDL_MOUSEWHEEL: {
		int dy = ev.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ?
			-ev.wheel.y : ev.wheel.y;
		wheel(e, dy);
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

void catch_int()
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
	files_tick(e);
	while (!e.quit && SDL_PollEvent(&ev))
		handle(e, ev);
	offer_primary(e);
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

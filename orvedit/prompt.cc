/* Questions on the status line: a line of text to type (a pattern, a
   line number, a file name) or a choice of keys (save, discard,
   cancel).  While one is open, keys and text go to it first. */
#include "orvedit/edit.h"

void ask_line(editor &e, const std::string &label, const std::string &init,
	answer done, prompt_hook change, prompt_hook cancel)
{
	e.ask = prompt{};
	e.ask.open = true;
	e.ask.label = label;
	e.ask.input = init;
	e.ask.done = std::move(done);
	e.ask.change = std::move(change);
	e.ask.cancel = std::move(cancel);
}

void ask_choice(editor &e, const std::string &question, const std::string &keys,
	answer done)
{
	e.ask = prompt{};
	e.ask.open = true;
	e.ask.label = question;
	e.ask.keys = keys;
	e.ask.done = std::move(done);
}

/* Closes the prompt before its answer runs, which may open another.  a
   is a copy: the line typed goes with the prompt. */
static void answer_with(editor &e, std::string a)
{
	answer done = std::move(e.ask.done);
	e.ask = prompt{};
	if (done)
		done(e, a);
}

static void cancel(editor &e)
{
	prompt_hook c = std::move(e.ask.cancel);
	e.ask = prompt{};
	e.notice.clear();
	if (c)
		c(e);
}

/* The last character of s, a whole UTF-8 sequence. */
static void drop_char(std::string &s)
{
	size_t n = s.size();
	while (n > 0 && ((unsigned char)s[n - 1] & 0xC0) == 0x80)
		n--;
	s.resize(n > 0 ? n - 1 : 0);
}

bool prompt_key(editor &e, const SDL_Keysym &k)
{
	e.ask_eat = false;
	if (!e.ask.open)
		return false;
	if (e.ask.key && e.ask.key(e, k))
		return true;
	if (k.sym == SDLK_ESCAPE || ((k.mod & KMOD_CTRL) && k.sym == SDLK_g &&
	    !e.ask.keys.empty())) {
		cancel(e);
		return true;
	}
	if (!e.ask.keys.empty()) {
		char c = k.sym >= 'a' && k.sym <= 'z' ? (char)k.sym : 0;
		if (c && e.ask.keys.find(c) != std::string::npos) {
			/* The window system sends the letter as text next. */
			e.ask_eat = !(k.mod & (KMOD_CTRL | KMOD_ALT));
			answer_with(e, std::string(1, c));
		}
		return true;	/* anything else waits for an answer */
	}
	switch (k.sym) {
	case SDLK_RETURN:
	case SDLK_KP_ENTER:
		answer_with(e, e.ask.input);
		return true;
	case SDLK_BACKSPACE:
		drop_char(e.ask.input);
		if (e.ask.change)
			e.ask.change(e);
		return true;
	case SDLK_TAB:
		if (e.ask.complete)
			e.ask.input = e.ask.complete(e.ask.input);
		return true;
	}
	/* Commands stay out of a line being typed; Ctrl+Q still asks. */
	if ((k.mod & KMOD_CTRL) && k.sym == SDLK_q)
		return false;
	return true;
}

bool prompt_text(editor &e, const char *t)
{
	if (e.ask_eat) {
		e.ask_eat = false;
		return true;
	}
	if (!e.ask.open)
		return false;
	if (e.ask.keys.empty()) {
		e.ask.input += t;
		if (e.ask.change)
			e.ask.change(e);
	}
	return true;
}

/* The status line's left part: the open question, a notice, or the
   file's name. */
std::string status_left(const editor &e)
{
	if (e.ask.open)
		return e.ask.label + e.ask.input +
			(e.ask.note.empty() ? "" : "   [" + e.ask.note + "]");
	if (!e.notice.empty())
		return e.notice;
	std::string n = e.name.empty() ? "(new file)" : e.name;
	return e.ro ? n + "  [read-only: " + e.ro_why + "]" : n;
}

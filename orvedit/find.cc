/* Finding and going: search as the pattern is typed, next and previous,
   replace one at a time or all, and go to a line. */
#include <algorithm>
#include <cstdlib>

#include "orvedit/edit.h"
#include "orvedit/search.h"
#include "orvedit/utf8.h"

/* Matches are marked this far either side of the cursor: more than a
   window shows, less than a frame's time to find. */
static const int mark_reach = 1 << 16;

/* Marks the matches of the last pattern around the cursor. */
static void mark(editor &e)
{
	e.marks.clear();
	if (e.find.empty())
		return;
	pattern p = sr_pattern(e.find);
	int lo = std::max(0, e.cur - mark_reach);
	int hi = std::min(e.len, e.cur + mark_reach);
	/* In order, without overlaps: "aa" in "aaa" marks the first. */
	for (int at : sr_all(view_of(e), p, lo, hi))
		if (e.marks.empty() || at >= e.marks.back().second)
			e.marks.push_back({at, at + (int)p.p.size()});
}

/* Selects the match at, or says there is none; the cursor at its end. */
static bool land(editor &e, int at, bool wrapped, const char *where)
{
	if (at < 0) {
		e.ask.note = "not found";
		e.notice = "not found: " + e.find;
		return false;
	}
	e.anchor = at;
	e.cur = at + (int)e.find.size();
	e.follow = true;
	e.goal_x = -1;
	e.ask.note = wrapped ? where : "";
	e.notice = wrapped ? std::string(where) : "";
	mark(e);
	return true;
}

/* The next match after the cursor (or after from), or the previous one
   before the selection. */
static bool seek(editor &e, bool back)
{
	if (e.find.empty()) {
		e.notice = "no pattern: Ctrl+F first";
		return false;
	}
	pattern p = sr_pattern(e.find);
	bool wrapped = false;
	int at;
	if (back)
		at = sr_prev(view_of(e), p, has_sel(e) ? sel_lo(e) : e.cur, wrapped);
	else
		at = sr_next(view_of(e), p, has_sel(e) ? sel_lo(e) + 1 : e.cur,
			wrapped);
	return land(e, at, wrapped,
		back ? "wrapped to the end" : "wrapped to the start");
}

void find_next(editor &e, bool back)
{
	seek(e, back);
}

/* Enter and F3 go on to the next match, Shift for the previous one; the
   question stays open until Escape. */
static bool find_key(editor &e, const SDL_Keysym &k)
{
	bool shift = k.mod & KMOD_SHIFT;
	if (k.sym == SDLK_RETURN || k.sym == SDLK_KP_ENTER || k.sym == SDLK_F3) {
		seek(e, shift);
		return true;
	}
	return false;
}

void find_start(editor &e)
{
	int from = has_sel(e) ? sel_lo(e) : e.cur;
	std::string init;
	/* A short selection on one line is what is sought. */
	if (has_sel(e) && sel_hi(e) - sel_lo(e) <= 200) {
		std::string s(e.f.text + sel_lo(e), sel_hi(e) - sel_lo(e));
		if (s.find_first_of("\r\n") == std::string::npos)
			init = s;
	}
	if (init.empty())
		init = e.find;
	ask_line(e, "Find: ", init, nullptr, [from](editor &e) {
		/* As it is typed: the first match from where the search
		   began. */
		e.find = e.ask.input;
		if (e.find.empty()) {
			e.marks.clear();
			e.ask.note.clear();
			return;
		}
		bool wrapped = false;
		land(e, sr_next(view_of(e), sr_pattern(e.find), from, wrapped),
			wrapped, "wrapped to the start");
	}, [](editor &e) {
		e.marks.clear();
	});
	e.ask.key = find_key;
	if (!init.empty())
		e.ask.change(e);
}

/* Replaces every match of the pattern from the cursor on, as one change
   that one undo takes back. */
static void replace_all(editor &e, const std::string &with)
{
	pattern p = sr_pattern(e.find);
	std::string_view t = view_of(e);
	std::vector<int> at = sr_all(t, p, 0, e.len);
	std::string out;
	int lo = -1, last = 0, n = 0;
	for (int a : at) {
		if (a < last)
			continue;	/* overlaps one replaced already */
		if (lo < 0)
			lo = last = a;
		out.append(t.substr(last, a - last));
		out += with;
		last = a + (int)p.p.size();
		n++;
	}
	if (n == 0) {
		e.notice = "not found: " + e.find;
		return;
	}
	replace(e, lo, last - lo, out, false);
	e.marks.clear();
	e.notice = "replaced " + std::to_string(n) +
		(n == 1 ? " match" : " matches");
}

/* One match at a time: the match is selected and the question asks. */
static void replace_step(editor &e, const std::string &with, int done)
{
	if (!has_sel(e) && !seek(e, false)) {
		e.notice = "replaced " + std::to_string(done);
		return;
	}
	ask_choice(e, "Replace? y yes, n no, a all, q quit", "ynaq",
		[with, done](editor &e, const std::string &a) {
		if (a == "q") {
			e.notice = "replaced " + std::to_string(done);
			e.marks.clear();
			return;
		}
		if (a == "a") {
			replace_all(e, with);
			return;
		}
		int n = done;
		if (a == "y") {
			replace(e, sel_lo(e), sel_hi(e) - sel_lo(e), with, false);
			n++;
		}
		/* Up to the end of the text: going round again could meet
		   what was just put in. */
		bool wrapped = false;
		int at = sr_next(view_of(e), sr_pattern(e.find), e.cur, wrapped);
		if (at < 0 || wrapped) {
			e.anchor = -1;
			e.marks.clear();
			e.notice = "replaced " + std::to_string(n) +
				"; no more matches to the end";
			return;
		}
		land(e, at, false, "");
		replace_step(e, with, n);
	});
}

void replace_start(editor &e)
{
	std::string init = e.find;
	if (has_sel(e) && sel_hi(e) - sel_lo(e) <= 200)
		init.assign(e.f.text + sel_lo(e), sel_hi(e) - sel_lo(e));
	ask_line(e, "Replace: ", init, [](editor &e, const std::string &pat) {
		if (pat.empty())
			return;
		e.find = pat;
		ask_line(e, "Replace " + pat + " with: ", "",
			[](editor &e, const std::string &with) {
			e.anchor = -1;
			if (seek(e, false))
				replace_step(e, with, 0);
		});
	});
}

/* "LINE" or "LINE:COLUMN", both counted from 1; false if it is neither. */
bool line_col(const std::string &s, int &line, int &col)
{
	char *end;
	long l = strtol(s.c_str(), &end, 10), c = 1;
	if (end == s.c_str() || l < 1)
		return false;
	if (*end == ':') {
		const char *p = end + 1;
		c = strtol(p, &end, 10);
		if (end == p || c < 1)
			return false;
	}
	if (*end)
		return false;
	line = (int)std::min<long>(l, 1 << 30);
	col = (int)std::min<long>(c, 1 << 30);
	return true;
}

void go_to(editor &e, int line, int col)
{
	int n = std::clamp(line, 1, ln_count(e.lines)) - 1;
	int a = ln_start(e.lines, n), b = ln_end(e.lines, n);
	e.cur = u8_at_col(view_of(e), a, b, col - 1, 1);
	e.anchor = -1;
	e.goal_x = -1;
	e.follow = true;
	e.typing = false;
}

void goto_start(editor &e)
{
	ask_line(e, "Go to line (LINE or LINE:COLUMN): ", "",
		[](editor &e, const std::string &s) {
		int line, col;
		if (!line_col(s, line, col)) {
			e.notice = "not a line number: " + s;
			return;
		}
		go_to(e, line, col);
	});
}

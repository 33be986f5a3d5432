/* Changes of the text and their history.  Every change is one replace():
   delete a run, insert a string, both through editbuf, and a record in
   the history for undo and redo. */
#include <algorithm>
#include <cstring>
#include <new>

#include "orvedit/edit.h"

bool dirty(const editor &e)
{
	return e.saved != (long)e.done;
}

/* An edit changes what a save or a quit would do: both ask anew. */
void edited(editor &e)
{
	e.marks.clear();
	e.edits++;
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
	ln_edit(e.lines, view_of(e), pos, 0, (int)s.size());
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
		ed_delete(&e.f, n, pos);
		e.len -= n;
		ln_edit(e.lines, view_of(e), pos, n, 0);
	}
	if (s.empty() || insert(e, pos, s))
		return true;
	/* A delete keeps the block: what it took fits back without one. */
	if (n > 0)
		insert(e, pos, del);
	return false;
}

/* Says that an edit was refused for want of memory. */
void no_room(editor &e, const char *what)
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
void replace(editor &e, int pos, int n, const std::string &s,
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

void undo(editor &e)
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

void redo(editor &e)
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
void put(editor &e, const std::string &s, bool typed)
{
	if (has_sel(e))
		replace(e, sel_lo(e), sel_hi(e) - sel_lo(e), s, false);
	else
		replace(e, e.cur, 0, s, typed);
}

/* Backspace (back) and Delete: the selection, else one character. */
void erase(editor &e, bool back)
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

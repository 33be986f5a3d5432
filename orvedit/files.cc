/* Which file the buffer is: Save As, Open, New, the question before
   unsaved changes are dropped, and the file changed on disk.  Also the
   loop's timed work: the recovery file after a pause, the look at the
   file on disk, a termination signal. */
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include "orvedit/edit.h"

/* ~/ at the start of a typed name is the home folder. */
static std::string expand(const std::string &n)
{
	const char *h = getenv("HOME");
	if (h && n.compare(0, 2, "~/") == 0)
		return h + n.substr(1);
	return n;
}

/* Tab in a file name: what every entry of the folder that starts with
   the last part typed shares; a lone folder gets its slash.  Hidden
   entries only when a dot is typed. */
std::string complete_name(const std::string &in)
{
	size_t k = in.rfind('/');
	std::string head = k == std::string::npos ? "" : in.substr(0, k + 1);
	std::string part = in.substr(head.size());
	std::string dir = head.empty() ? "." : expand(head);
	DIR *d = opendir(dir.c_str());
	if (!d)
		return in;
	std::string common;
	int found = 0;
	while (dirent *de = readdir(d)) {
		std::string n = de->d_name;
		if (n == "." || n == ".." || n.compare(0, part.size(), part) != 0 ||
		    (n[0] == '.' && part.empty()))
			continue;
		if (found++ == 0) {
			common = n;
			continue;
		}
		size_t i = 0;
		while (i < common.size() && i < n.size() && common[i] == n[i])
			i++;
		common.resize(i);
	}
	closedir(d);
	if (found == 0)
		return in;
	struct stat s;
	if (found == 1 && stat((dir + "/" + common).c_str(), &s) == 0 &&
	    S_ISDIR(s.st_mode))
		common += "/";
	return head + common;
}

/* A line for a file name, with Tab completing it. */
static void ask_name(editor &e, const std::string &label,
	const std::string &init, answer done)
{
	ask_line(e, label, init, std::move(done));
	e.ask.complete = complete_name;
}

/* The folder of the buffer's file, as the start of a name to type. */
static std::string folder(const editor &e)
{
	size_t k = e.name.rfind('/');
	return k == std::string::npos ? "" : e.name.substr(0, k + 1);
}

static bool is_dir(const std::string &p)
{
	struct stat s;
	return stat(p.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

/* Saves under the name n.  When the save fails, the buffer keeps the
   name it had, and is as unsaved as before. */
static void write_as(editor &e, const std::string &n)
{
	std::string name = e.name, ro_why = e.ro_why;
	disk seen = e.seen;
	bool ro = e.ro;
	std::string rec = e.rec;

	set_file(e, n);
	e.ro = false;
	e.ro_why.clear();
	e.overwrite = true;
	e.rec.clear();
	if (edit_save(e)) {
		if (!rec.empty())
			unlink(rec.c_str());
		return;
	}
	std::string why = e.notice;
	set_file(e, name);
	e.ro = ro;
	e.ro_why = ro_why;
	e.seen = seen;
	e.overwrite = false;
	e.rec = rec;
	e.notice = why;
}

static void save_to(editor &e, const std::string &typed)
{
	std::string n = expand(typed);
	if (n.empty() || n.back() == '/' || is_dir(n)) {
		e.notice = "not saved: " + (n.empty() ? "no name given" :
			n + " is a folder");
		return;
	}
	/* The same name is a plain save, with its check for a change on
	   disk. */
	if (n == e.name) {
		edit_save(e);
		return;
	}
	struct stat s;
	if (lstat(n.c_str(), &s) != 0) {
		write_as(e, n);
		return;
	}
	/* The keys before the name, which may be long. */
	ask_choice(e, "file exists: o overwrite it, c cancel (" + n + ")", "oc",
		[n](editor &e, const std::string &a) {
			if (a == "o")
				write_as(e, n);
		});
}

void save_as(editor &e)
{
	ask_name(e, "save as: ", e.name.empty() ? folder(e) : e.name,
		save_to);
}

/* Runs then once the buffer's changes are saved or may go: at once when
   there are none, else after asking save, discard or cancel. */
void unsaved_then(editor &e, const char *what, const prompt_hook &then)
{
	if (!dirty(e)) {
		then(e);
		return;
	}
	ask_choice(e, std::string(what) + " with unsaved changes: s save, "
		"d discard, c cancel", "sdc",
		[then](editor &e, const std::string &a) {
			if (a == "d") {
				rec_drop(e);
				then(e);
			} else if (a == "s" && e.name.empty()) {
				/* A name first; a question about it ends the chain. */
				ask_name(e, "save as: ", "",
					[then](editor &e, const std::string &n) {
						save_to(e, n);
						if (!dirty(e) && !e.ask.open)
							then(e);
					});
			} else if (a == "s" && edit_save(e)) {
				then(e);
			}
		});
}

/* The end of a run the user asked for: nothing is left to recover. */
void end_run(editor &e)
{
	rec_drop(e);
	e.quit = true;
}

static void open_file(editor &e, const std::string &typed)
{
	std::string n = expand(typed);
	if (n.empty())
		return;
	if (is_dir(n)) {
		e.notice = n + " is a folder";
		return;
	}
	edit_reset(e, n);
}

void ask_open(editor &e)
{
	unsaved_then(e, "open", [](editor &e) {
		ask_name(e, "open: ", folder(e), open_file);
	});
}

void ask_new(editor &e)
{
	unsaved_then(e, "new", [](editor &e) { edit_reset(e, ""); });
}

/* The file read again in place of the text, as one change that undo
   takes back, and counted as saved.  The cursor keeps its line and
   column where the new text has them. */
void reload(editor &e)
{
	disk d = look(e.target);
	ed_file f = {};
	f.path = e.name.data();
	read_file(&f, 100);
	std::string t(f.text, strlen(f.text));
	bool whole = (off_t)t.size() >= st.st_size;
	free(f.text);

	int line = ln_of(e.lines, e.cur);
	int col = e.cur - ln_start(e.lines, line);
	replace(e, 0, e.len, t, false);
	if (std::string_view(e.f.text, e.len) != t)
		return;	/* refused, and said why */
	e.saved = (long)e.done;
	e.seen = d;
	e.typing = false;
	line = std::min(line, ln_count(e.lines) - 1);
	int a = ln_start(e.lines, line), b = ln_end(e.lines, line);
	e.cur = snap(e, std::min(a + col, b));
	e.anchor = -1;
	if (!whole) {
		e.ro = true;
		e.ro_why = "not loaded whole (a NUL byte, too large, or unreadable)";
	}
	rec_drop(e);
	e.notice = e.name + " changed on disk: read again (Ctrl+Z undoes)";
	set_title(e);
}

/* Another program changed, replaced or removed the file. */
static void poll_disk(editor &e)
{
	if (e.name.empty() || e.ask.open)
		return;
	disk d = look(e.target);
	if (same(d, e.seen))
		return;
	if (!d.there) {
		/* Its text is now only here: a quit must ask. */
		e.seen = d;
		e.saved = -1;
		e.notice = e.name + " was removed on disk: Ctrl+S writes it again";
		set_title(e);
		return;
	}
	if (!dirty(e)) {
		reload(e);
		return;
	}
	ask_choice(e, "the file changed on disk: r reload it (undo brings "
		"mine back), k keep mine", "rk",
		[d](editor &e, const std::string &a) {
			if (a == "r") {
				reload(e);
			} else {
				/* Asked once: a save now writes without asking again. */
				e.seen = d;
				e.notice = "kept your text: Ctrl+S overwrites the file";
			}
		});
}

void files_tick(editor &e)
{
	if (int sig = term_signal()) {
		if (dirty(e))
			rec_write(e);
		die_of(sig);
	}
	Uint64 now = SDL_GetTicks64();
	if (e.edits != e.seen_edits) {
		e.seen_edits = e.edits;
		e.changed_at = now;
	}
	if (dirty(e) && e.edits != e.rec_edits && now - e.changed_at >= e.rec_delay)
		rec_write(e);
	else if (!dirty(e) && !e.rec.empty())
		rec_drop(e);	/* undone back to the file */
	if (now - e.polled_at >= e.disk_every) {
		e.polled_at = now;
		poll_disk(e);
	}
}

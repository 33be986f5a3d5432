/* orvedit's editor: one file in one window.  The text lives in an
   ed_file and every edit goes through editbuf; the view (rows.cc,
   view.cc) lays it out in rows of a monospaced face and draws it;
   plotplug marks unsaved changes on the status line.

   A program (orvedit's main, a test, a benchmark) opens an editor with
   edit_open, feeds it SDL events with edit_pump or edit_run, and ends it
   with edit_close.  Not reentrant: the host's faces and globals are
   process-wide, so one editor at a time. */
#ifndef ORV_ORVEDIT_EDIT_H
#define ORV_ORVEDIT_EDIT_H

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <sys/types.h>

#include <SDL.h>

#include "editbuf/editbuf.h"
#include "orvedit/lines.h"

/* Status line height, margin left of the text. */
constexpr int status_h = 24, margin = 4;

/* One undoable edit: at pos, the bytes del were replaced by ins. */
struct change {
	int pos;
	std::string del, ins;
	int cur_before, anchor_before, cur_after;
};

/* What a file looked like on disk when it was read or last saved. */
struct disk {
	bool there;
	dev_t dev;
	ino_t ino;
	off_t size;
	timespec mtime;
};

/* A cursor bar as the layout drew it: x of the place, top of its row. */
struct bar {
	bool ok;
	int x, y;
};

struct editor;
using answer = std::function<void(editor &, const std::string &)>;
using prompt_hook = std::function<void(editor &)>;

/* A question on the status line (prompt.cc).  A line of text when keys is
   empty, else a choice: one of the letters in keys answers. */
struct prompt {
	bool open;
	std::string label;	/* the question, before what is typed */
	std::string input;	/* typed so far */
	std::string note;	/* shown after it: "not found" */
	std::string keys;	/* letters that answer a choice */
	answer done;		/* the line typed, or the letter */
	prompt_hook change;	/* after every edit of the line */
	prompt_hook cancel;	/* Escape */
	/* Keys the asker handles itself (F3 in a search); true if taken. */
	std::function<bool(editor &, const SDL_Keysym &)> key;
	/* Tab: the line completed (a file name). */
	std::function<std::string(const std::string &)> complete;
};

struct editor {
	ed_file f;
	std::string name;	/* FILE as given */
	std::string target;	/* what a save replaces: links followed */
	int len;		/* length of the text, kept by every edit */
	line_index lines;	/* where each line starts, kept by every edit */
	int cur;		/* cursor: a byte position */
	int anchor;		/* other end of the selection, or -1 */
	int goal_x;		/* column kept by Up and Down, or -1 */
	int top;		/* first byte of the first row shown */
	bool follow;		/* the next frame brings the cursor into view */
	bool drag;		/* left button held in the text */
	Uint16 mods;		/* modifiers as of the last key event handled */
	size_t clip_max;	/* most bytes a copy may hand over, 0: ask */
	std::vector<int32_t> tabs;	/* tab stops, percent of the width */

	bool ro;		/* saving writes nothing */
	std::string ro_why;
	disk seen;		/* the file as read or last saved */
	bool overwrite;		/* told it changed on disk: next save writes */
	bool quit_asked;	/* told of unsaved changes: next request quits */
	bool quit;		/* the run is over */
	std::string notice;	/* status line; empty: the file's name */
	prompt ask;		/* the open question, if ask.open */
	std::string find;	/* the last pattern sought */
	std::pair<int, int> primary;	/* the selection last offered as PRIMARY */

	std::vector<change> hist;
	size_t done;		/* changes in effect: hist[0 .. done) */
	long saved;		/* done at the last save, -1 when unreachable */
	bool typing;		/* the last change was typed and may grow */

	SDL_Window *win;
	SDL_Surface *status;	/* the status line, drawn then copied in */
	std::string title;
	void *plug;		/* plotplug, or null */
	void (*plot)(SDL_Surface *);

	/* The view (view.cc).  marks: ranges [lo, hi) shown as matches, in
	   order and not overlapping. */
	std::vector<std::pair<int, int>> marks;
	int font_px;		/* size of the text's face; 0: the default */
	bool numbers_off;	/* no line numbers */
	int cols;		/* cells in a row, as the view last found */
	/* Files and recovery (files.cc, recover.cc). */
	unsigned long edits;	/* changes made, counted by edited() */
	unsigned long seen_edits;	/* edits when the loop last looked */
	unsigned long rec_edits;	/* edits in the recovery file */
	Uint64 changed_at;	/* ticks when a change was last seen */
	Uint64 polled_at;	/* ticks when the file on disk was last looked at */
	Uint32 rec_delay;	/* ms without a change before the recovery is written */
	Uint32 disk_every;	/* ms between looks at the file on disk */
	std::string rec;	/* the recovery file written, or empty */
	/* A letter answered a choice: the text its key sends is not typed. */
	bool ask_eat;

	/* The editor owns its window, surfaces, plug-in and text: they go
	   with it (edit_close). */
	editor() = default;
	editor(const editor &) = delete;
	editor &operator=(const editor &) = delete;
	~editor();
};

struct edit_opts {
	int w = 800, h = 480;		/* window size */
	std::vector<int32_t> tabs;	/* tab stops, percent of the width */
	std::string plugin;		/* plotplug.so to load, or empty */
	bool hidden = false;		/* no window shown (benchmarks) */
	size_t clip_max = 0;		/* copy limit; 0: what the display takes */
	int line = 0, col = 1;		/* where the cursor starts: 0 the start */
	Uint32 rec_delay = 2000;	/* ms after typing stops: recovery written */
	Uint32 disk_every = 500;	/* ms between looks at the file on disk */
};

/* Opens FILE in a new window; SDL's video must be up.  An empty FILE is
   a new buffer without a name.  A FILE that is a directory or a window
   that cannot be made: false, with err set.  e is a fresh editor. */
bool edit_open(editor &e, const char *path, const edit_opts &o,
	std::string &err);
/* Gives back what the editor holds; its destructor does. */
void edit_close(editor &e);

/* Handles every event waiting in SDL's queue, then draws a frame.  False
   once the editor has quit. */
bool edit_pump(editor &e);
/* Waits for events and handles them until the editor quits; the exit
   status (0). */
int edit_run(editor &e);

/* Ctrl+S: saves, or says on the status line why not.  True if the file
   was written. */
bool edit_save(editor &e);

/* Where plotplug lies for the program at exe: beside it, else in the
   library folder of the tree it is installed in. */
std::string plugin_path(const std::string &exe);

/* --- inside the editor --- */

/* text.cc: the text; character boundaries after and before pos (a UTF-8 sequence, a CR LF
   pair), and the one at or before pos; the line around pos, without its
   break; the selection. */
std::string_view view_of(const editor &e);
int next_char(const editor &e, int pos);
int prev_char(const editor &e, int pos);
int snap(const editor &e, int pos);
int line_start(const editor &e, int pos);
int line_end(const editor &e, int pos);
/* The end of the word at or after pos, the start of the one before. */
int word_right(const editor &e, int pos);
int word_left(const editor &e, int pos);
bool has_sel(const editor &e);
int sel_lo(const editor &e);
int sel_hi(const editor &e);

/* hist.cc: every change of the text, as one step of the history. */
bool dirty(const editor &e);
void edited(editor &e);
void replace(editor &e, int pos, int n, const std::string &s, bool typed);
void undo(editor &e);
void redo(editor &e);
void put(editor &e, const std::string &s, bool typed);
void erase(editor &e, bool back);
void no_room(editor &e, const char *what);

/* move.cc: the cursor moved over the text as shown. */
void move_to(editor &e, int pos, bool shift);
void vmove(editor &e, int dir, bool shift);
void page(editor &e, int dir, bool shift);
void mouse(editor &e, const SDL_Event &ev);
void wheel(editor &e, int notches);

/* prompt.cc: questions on the status line.  ask_line and ask_choice
   replace any open question; its answer runs after it closed. */
void ask_line(editor &e, const std::string &label, const std::string &init,
	answer done, prompt_hook change = {}, prompt_hook cancel = {});
void ask_choice(editor &e, const std::string &question, const std::string &keys,
	answer done);
bool prompt_key(editor &e, const SDL_Keysym &k);
bool prompt_text(editor &e, const char *t);
std::string status_left(const editor &e);

/* find.cc: search, replace, go to a line. */
void find_start(editor &e);
void find_next(editor &e, bool back);
void replace_start(editor &e);
void goto_start(editor &e);
bool line_col(const std::string &s, int &line, int &col);
void go_to(editor &e, int line, int col);

/* input.cc: requests and signals. */
void ask_quit(editor &e);
void catch_int();

/* rows.cc: the text cut into rows, each hard line wrapped at e.cols
   cells.  A row starts at a line's start or where the row before it
   wrapped; a place at a wrap belongs to the row after it, the end of a
   line to its last row. */
struct row {
	int a, b;	/* its bytes [a, b), hanging blanks included */
	int next;	/* the next row's start, -1 after the last row */
	int line;	/* its hard line, from 0 */
	bool last;	/* the last row of its line */
};
row row_from(const editor &e, int a);
row row_at(const editor &e, int pos);
bool in_row(const row &r, int pos);
int rows_back(const editor &e, int a, int n);
int rows_fwd(const editor &e, int a, int n);
int tab_next(const editor &e, int col);
/* Cells from the row's start to pos; the place nearest column col. */
int row_col(const editor &e, const row &r, int pos);
int row_place(const editor &e, const row &r, double col);
/* Characters from pos's line start to pos: its column, from 0. */
int char_col(const editor &e, int pos);

/* view.cc: drawing, and where things are on the screen. */
struct geom {
	int cw, lh;	/* cell width, row height */
	int x0;		/* left of the text, past the line numbers */
	int cols;	/* cells in a row */
	int full;	/* rows wholly in the window */
	int shown;	/* rows drawn, the last maybe cut */
};
geom geometry(editor &e);
void frame(editor &e);
bar locate(editor &e, int pos);
int hit(editor &e, int x, int y);
int text_bottom(const editor &e);
void scroll_rows(editor &e, int n);
void reveal(editor &e);
void reveal_pos(editor &e, int pos);
void set_title(editor &e);
bool view_key(editor &e, const SDL_Keysym &k);
std::string status_right(const editor &e);

/* save.cc: loading; what a file looks like on disk; the file a buffer
   is saved to; termination signals, noted and then acted on by the loop
   (term_signal, then die_of); during a save a second one removes the
   named temporary at once. */
void load(editor &e);
void catch_signals();
/* All n bytes to fd, through short writes and interruptions. */
bool write_all(int fd, const char *p, size_t n);
disk look(const std::string &path);
bool same(const disk &a, const disk &b);
void set_file(editor &e, const std::string &name);
int term_signal();
[[noreturn]] void die_of(int sig);

/* edit.cc: the buffer started over on another file (empty: none), the
   window, plug-in and options kept. */
void edit_reset(editor &e, const std::string &path);

/* files.cc: Save As, Open, New, the question before unsaved changes go,
   a file changed on disk, and the loop's timed work (files_tick). */
void save_as(editor &e);
void ask_open(editor &e);
void ask_new(editor &e);
void unsaved_then(editor &e, const char *what, const prompt_hook &then);
void end_run(editor &e);
void reload(editor &e);
std::string complete_name(const std::string &in);
void files_tick(editor &e);

/* recover.cc: the recovery file of the buffer, written, removed, and
   offered when the file is opened; a lost display writes it too. */
std::string rec_path(const editor &e);
bool rec_write(editor &e);
void rec_drop(editor &e);
void rec_offer(editor &e);
void rec_guard(editor &e);
void rec_unguard(const editor &e);

/* clip.cc: the most bytes a copy may hand to the display; whether some
   program offers a text on the clipboard. */
size_t clip_room(const editor &e);
bool clip_offered(const editor &e);

#endif

/* What keys, the mouse and the window do to the text: typed through SDL's
   event queue, checked on the buffer and on the bytes saved. */
#include "tests/orvedit/fixture.h"

namespace {

class Edit : public Editing {
protected:
	void open(const std::string &bytes)
	{
		ASSERT_TRUE(s.open(file(bytes))) << SDL_GetError();
	}
};

TEST_F(Edit, TypingAndSavingANewFile)
{
	umask(022);
	std::string p = dir / "new.txt";
	ASSERT_TRUE(s.open(p));
	EXPECT_EQ(names(dir.path), std::vector<std::string>{})
		<< "a missing file is made on the first save only";
	s.type("h\xC3\xA9llo").key(SDLK_RETURN).key(SDLK_TAB).type("x");
	EXPECT_FALSE(s.e.ro);
	s.ctrl(SDLK_s);
	/* Exactly the buffer: no newline added at the end. */
	EXPECT_EQ(readfile(p), "h\xC3\xA9llo\n\tx");
	EXPECT_EQ(mode_of(p) & 07777, 0644u);
	EXPECT_EQ(names(dir.path), std::vector<std::string>{"new.txt"});
	EXPECT_NE(s.e.notice.find("saved"), std::string::npos) << s.e.notice;
}

/* Keys, then a typed "|" shows where the cursor went. */
struct move_case {
	const char *name, *text;
	std::vector<std::pair<SDL_Keycode, Uint16>> keys;
	const char *want;
};

void PrintTo(const move_case &c, std::ostream *o)
{
	*o << c.name;
}

class Moves : public Edit, public ::testing::WithParamInterface<move_case> {};

TEST_P(Moves, CursorLandsThere)
{
	const move_case &c = GetParam();
	open(c.text);
	EXPECT_EQ(s.e.cur, 0) << "the cursor starts at the start";
	for (auto [k, mod] : c.keys)
		s.key(k, mod);
	s.type("|");
	EXPECT_EQ(s.text(), c.want);
}

const Uint16 S = KMOD_LSHIFT, C = KMOD_LCTRL;
const move_case moves[] = {
	{"right", "abc\ndef", {{SDLK_RIGHT, 0}, {SDLK_RIGHT, 0}}, "ab|c\ndef"},
	{"left_stops_at_start", "abc", {{SDLK_LEFT, 0}}, "|abc"},
	{"right_stops_at_end", "ab", {{SDLK_RIGHT, 0}, {SDLK_RIGHT, 0}, {SDLK_RIGHT, 0}}, "ab|"},
	{"end_of_line", "abc\ndef", {{SDLK_END, 0}}, "abc|\ndef"},
	{"home_of_line", "abc\ndef", {{SDLK_DOWN, 0}, {SDLK_END, 0}, {SDLK_HOME, 0}}, "abc\n|def"},
	{"down_keeps_column", "abcdef\nabcdef", {{SDLK_RIGHT, 0}, {SDLK_RIGHT, 0}, {SDLK_DOWN, 0}}, "abcdef\nab|cdef"},
	{"down_through_short_line", "abcdef\nx\nabcdef",
		{{SDLK_END, 0}, {SDLK_LEFT, 0}, {SDLK_DOWN, 0}, {SDLK_DOWN, 0}}, "abcdef\nx\nabcde|f"},
	{"up_to_first_row", "abc\ndef", {{SDLK_DOWN, 0}, {SDLK_RIGHT, 0}, {SDLK_UP, 0}}, "a|bc\ndef"},
	{"up_on_first_row_goes_to_start", "abc", {{SDLK_END, 0}, {SDLK_UP, 0}}, "|abc"},
	{"down_on_last_row_goes_to_end", "abc\ndef", {{SDLK_DOWN, 0}, {SDLK_DOWN, 0}}, "abc\ndef|"},
	{"ctrl_end_and_home", "ab\ncd", {{SDLK_END, C}, {SDLK_HOME, C}, {SDLK_RIGHT, 0}}, "a|b\ncd"},
	{"ctrl_end", "ab\ncd", {{SDLK_END, C}}, "ab\ncd|"},
	/* A CR LF pair is one line break, stepped over and deleted whole. */
	{"crlf_end_stops_before_it", "ab\r\ncd", {{SDLK_END, 0}}, "ab|\r\ncd"},
	{"crlf_right_steps_over_it", "ab\r\ncd", {{SDLK_END, 0}, {SDLK_RIGHT, 0}}, "ab\r\n|cd"},
	{"crlf_backspace_takes_it", "ab\r\ncd", {{SDLK_END, 0}, {SDLK_RIGHT, 0}, {SDLK_BACKSPACE, 0}}, "ab|cd"},
	{"crlf_home_of_second_line", "ab\r\ncd", {{SDLK_END, C}, {SDLK_HOME, 0}}, "ab\r\n|cd"},
	/* A UTF-8 sequence is one character to move over. */
	{"right_over_utf8", "\xC3\xA9x", {{SDLK_RIGHT, 0}}, "\xC3\xA9|x"},
	{"left_over_utf8", "a\xE2\x82\xAC", {{SDLK_END, 0}, {SDLK_LEFT, 0}}, "a|\xE2\x82\xAC"},
	/* Shift selects; a typed character replaces the selection. */
	{"shift_right_selects", "abcd", {{SDLK_RIGHT, S}, {SDLK_RIGHT, S}}, "|cd"},
	{"shift_end_selects_line", "ab\ncd", {{SDLK_END, S}}, "|\ncd"},
	{"shift_down_selects_rows", "ab\ncd\nef", {{SDLK_RIGHT, 0}, {SDLK_DOWN, S}}, "a|d\nef"},
	{"left_ends_selection_at_start", "abcd", {{SDLK_END, 0}, {SDLK_LEFT, S}, {SDLK_LEFT, S}, {SDLK_LEFT, 0}}, "ab|cd"},
	{"select_all", "ab\ncd", {{SDLK_a, C}}, "|"},
	/* Editing keys. */
	{"backspace_utf8", "a\xC3\xA9" "b", {{SDLK_RIGHT, 0}, {SDLK_RIGHT, 0}, {SDLK_BACKSPACE, 0}}, "a|b"},
	{"delete_utf8", "\xE2\x82\xAC" "x", {{SDLK_DELETE, 0}}, "|x"},
	{"backspace_at_start", "ab", {{SDLK_BACKSPACE, 0}}, "|ab"},
	{"delete_at_end", "ab", {{SDLK_END, 0}, {SDLK_DELETE, 0}}, "ab|"},
	{"backspace_joins_lines", "ab\ncd", {{SDLK_DOWN, 0}, {SDLK_BACKSPACE, 0}}, "ab|cd"},
	{"delete_removes_selection", "abcd", {{SDLK_RIGHT, S}, {SDLK_RIGHT, S}, {SDLK_DELETE, 0}}, "|cd"},
	{"return_and_tab", "ab", {{SDLK_RIGHT, 0}, {SDLK_RETURN, 0}, {SDLK_TAB, 0}}, "a\n\t|b"},
	/* A byte that is no well-formed sequence is one character; a
	   sequence is at most four bytes. */
	{"delete_one_stray_byte", "\x80\x80\x80", {{SDLK_DELETE, 0}}, "|\x80\x80"},
	{"backspace_one_stray_byte", "\xC3\xA9\xA9", {{SDLK_END, 0}, {SDLK_BACKSPACE, 0}}, "\xC3\xA9|"},
	{"delete_four_byte_sequence", "\xF0\x9F\x98\x80\x80", {{SDLK_DELETE, 0}}, "|\x80"},
	{"backspace_after_four_bytes", "\xF0\x9F\x98\x80\x80", {{SDLK_END, 0}, {SDLK_BACKSPACE, 0}, {SDLK_BACKSPACE, 0}}, "|"},
	{"delete_cut_off_sequence", "\xE2\x82x", {{SDLK_DELETE, 0}}, "|\x82x"},
	{"delete_overlong_lead", "\xC0\xAF", {{SDLK_DELETE, 0}}, "|\xAF"},
	{"right_over_surrogate_bytes", "\xED\xA0\x80", {{SDLK_RIGHT, 0}}, "\xED|\xA0\x80"},
	/* Ctrl moves and deletes by words. */
	{"word_right_to_its_end", "foo bar_baz qux", {{SDLK_RIGHT, C}, {SDLK_RIGHT, C}}, "foo bar_baz| qux"},
	{"word_left_to_its_start", "foo bar baz", {{SDLK_END, 0}, {SDLK_LEFT, C}, {SDLK_LEFT, C}}, "foo |bar baz"},
	{"word_of_utf8", "\xC3\xA9t\xC3\xA9 x", {{SDLK_RIGHT, C}}, "\xC3\xA9t\xC3\xA9| x"},
	{"word_shift_selects", "foo bar", {{SDLK_RIGHT, C | S}}, "| bar"},
	{"word_ctrl_backspace", "foo bar", {{SDLK_END, 0}, {SDLK_BACKSPACE, C}}, "foo |"},
	{"word_ctrl_delete", "foo bar baz", {{SDLK_RIGHT, C}, {SDLK_DELETE, C}}, "foo| baz"},
};

INSTANTIATE_TEST_SUITE_P(Keys, Moves, ::testing::ValuesIn(moves),
	[](const auto &i) { return std::string(i.param.name); });

TEST_F(Edit, CopyCutAndPasteThroughTheClipboard)
{
	open("hello world");
	s.key(SDLK_RIGHT, S, 5).ctrl(SDLK_c);
	char *t = SDL_GetClipboardText();
	EXPECT_STREQ(t, "hello");
	SDL_free(t);
	s.key(SDLK_END, C).ctrl(SDLK_v);
	EXPECT_EQ(s.text(), "hello worldhello");
	/* Cut: " worldhello" from after "hello", pasted at the start. */
	s.key(SDLK_HOME).key(SDLK_RIGHT, 0, 5).key(SDLK_END, S).ctrl(SDLK_x);
	EXPECT_EQ(s.text(), "hello");
	s.key(SDLK_HOME).ctrl(SDLK_v);
	EXPECT_EQ(s.text(), " worldhellohello");
	/* Copy without a selection leaves the clipboard alone. */
	s.ctrl(SDLK_c).key(SDLK_END).ctrl(SDLK_v);
	EXPECT_EQ(s.text(), " worldhellohello worldhello");
	/* A paste replaces the selection. */
	SDL_SetClipboardText("X\nY");
	s.key(SDLK_HOME).key(SDLK_RIGHT, S, 6).ctrl(SDLK_v);
	EXPECT_EQ(s.text(), "X\nYhellohello worldhello");
}

TEST_F(Edit, UndoAndRedoEveryEditBackToTheLoadedText)
{
	const std::string loaded = "one\ntwo \xC3\xA9\n";
	std::string p = file(loaded);
	ASSERT_TRUE(s.open(p));
	s.type("A").type("B").type(" ").type("C");
	s.key(SDLK_RETURN).key(SDLK_END, C).key(SDLK_BACKSPACE);
	s.key(SDLK_HOME, C).key(SDLK_RIGHT, S, 3).type("\xE2\x82\xAC");
	SDL_SetClipboardText("pasted");
	s.key(SDLK_END).ctrl(SDLK_v).key(SDLK_DELETE);
	const std::string edited = s.text();
	EXPECT_EQ(edited, "\xE2\x82\xAC" "Cpastedone\ntwo \xC3\xA9");
	EXPECT_TRUE(dirty(s.e));

	for (int i = 0; i < 40 && s.text() != loaded; i++)
		s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), loaded);
	EXPECT_FALSE(dirty(s.e)) << "back at the loaded text";
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), loaded);
	EXPECT_EQ(s.e.notice, "nothing to undo");

	for (int i = 0; i < 40 && s.text() != edited; i++)
		s.key(SDLK_z, KMOD_LCTRL | KMOD_LSHIFT);
	EXPECT_EQ(s.text(), edited);
	EXPECT_TRUE(dirty(s.e));
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), edited);
	EXPECT_FALSE(dirty(s.e));
	/* Undo past the save: unsaved again, and a new edit there makes the
	   saved text unreachable by redo. */
	s.ctrl(SDLK_z);
	EXPECT_TRUE(dirty(s.e));
	s.type("x");
	for (int i = 0; i < 5; i++)
		s.ctrl(SDLK_y);
	EXPECT_TRUE(dirty(s.e));
}

TEST_F(Edit, OneDeleteInAThousandStrayBytesTakesOne)
{
	open("x" + std::string(1000, '\x80') + "y");
	s.key(SDLK_RIGHT).key(SDLK_DELETE);
	EXPECT_EQ(s.text(), "x" + std::string(999, '\x80') + "y");
	s.key(SDLK_END).key(SDLK_LEFT).key(SDLK_BACKSPACE);
	EXPECT_EQ(s.text(), "x" + std::string(998, '\x80') + "y");
}

/* Events queued while the editor was busy are read with the modifiers
   that were held when they were made, not with those held now. */
TEST_F(Edit, TextTypedBeforeACommandIsKeptWhileBusy)
{
	std::string p = file("");
	ASSERT_TRUE(s.open(p));
	for (const char *c : {"a", "b", "c"})
		s.queue_text(c);
	s.queue_key(SDLK_s, KMOD_LCTRL);
	/* Ctrl is down again by the time the queue is read. */
	SDL_SetModState(KMOD_LCTRL);
	s.pump();
	SDL_SetModState(KMOD_NONE);
	EXPECT_EQ(readfile(p), "abc");
	EXPECT_FALSE(dirty(s.e));
}

struct chord_case {
	const char *name;
	Uint16 mod;
	const char *text, *want;
};

void PrintTo(const chord_case &c, std::ostream *o)
{
	*o << c.name;
}

class Chords : public Edit, public ::testing::WithParamInterface<chord_case> {};

/* Text that comes with a Ctrl or Alt chord is a command's, not typed. */
TEST_P(Chords, TypeOnlyWithoutCtrlOrAlt)
{
	const chord_case &c = GetParam();
	open("");
	s.queue_text(c.text, c.mod);
	s.pump();
	EXPECT_EQ(s.text(), c.want);
}

const chord_case chords[] = {
	{"plain", 0, "a", "a"},
	{"shift", KMOD_LSHIFT, "A", "A"},
	{"ctrl_minus", KMOD_LCTRL, "-", ""},
	{"left_alt", KMOD_LALT, "f", ""},
	{"altgr_as_right_alt", KMOD_RALT, "@", "@"},
	{"altgr_as_ctrl_alt", KMOD_LCTRL | KMOD_LALT, "@", "@"},
};

INSTANTIATE_TEST_SUITE_P(Keys, Chords, ::testing::ValuesIn(chords),
	[](const auto &i) { return std::string(i.param.name); });

/* A selection larger than the display can take is not handed over, and
   a cut of it deletes nothing. */
TEST_F(Edit, CopyLargerThanTheDisplayTakesIsRefused)
{
	open("0123456789abc");
	s.e.clip_max = 10;
	SDL_SetClipboardText("before");
	s.key(SDLK_RIGHT, S, 11).ctrl(SDLK_c);
	EXPECT_NE(s.e.notice.find("copy refused"), std::string::npos) << s.e.notice;
	char *t = SDL_GetClipboardText();
	EXPECT_STREQ(t, "before");
	SDL_free(t);
	s.ctrl(SDLK_x);
	EXPECT_NE(s.e.notice.find("cut refused"), std::string::npos) << s.e.notice;
	EXPECT_EQ(s.text(), "0123456789abc");
	s.key(SDLK_LEFT, S).ctrl(SDLK_x);
	EXPECT_EQ(s.text(), "abc");
	t = SDL_GetClipboardText();
	EXPECT_STREQ(t, "0123456789");
	SDL_free(t);
}

TEST_F(Edit, PastingNothingSaysSo)
{
	open("text");
	SDL_SetClipboardText("");
	s.ctrl(SDLK_v);
	EXPECT_EQ(s.text(), "text");
	EXPECT_NE(s.e.notice.find("nothing pasted"), std::string::npos) << s.e.notice;
}

TEST_F(Edit, TypingIsUndoneAWordAtATime)
{
	open("");
	for (const char *c : {"a", "b", " ", "c", "d"})
		s.type(c);
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "ab ");
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "");
}

/* The place of a position as the view shows it, and a click there. */
TEST_F(Edit, ClickPlacesTheCursorThroughTheHitTest)
{
	open("first line\nsecond line\nthird");
	geom g = geometry(s.e);
	bar b = locate(s.e, 14);	/* "sec|ond" */
	ASSERT_TRUE(b.ok);
	EXPECT_EQ(b.x, g.x0 + 3 * g.cw);
	EXPECT_EQ(b.y, g.lh);
	/* A click goes to the nearest place between two characters. */
	s.click(b.x + g.cw / 3, b.y + g.lh / 2).type("|");
	EXPECT_EQ(s.text(), "first line\nsec|ond line\nthird");
	/* Below the last line: the end; in the gutter: the line's start. */
	s.click(300, 200).type("$");
	EXPECT_EQ(s.text(), "first line\nsec|ond line\nthird$");
	s.click(margin + 1, g.lh + g.lh / 2).type("^");
	EXPECT_EQ(s.text(), "first line\n^sec|ond line\nthird$");
}

TEST_F(Edit, DragSelects)
{
	open("alpha beta gamma");
	bar a = locate(s.e, 6), b = locate(s.e, 10);
	s.drag(a.x + 1, a.y + 5, b.x - 1, b.y + 5).ctrl(SDLK_c);
	char *t = SDL_GetClipboardText();
	EXPECT_STREQ(t, "beta");
	SDL_free(t);
}

std::string numbered(int n)
{
	std::string t;
	for (int i = 1; i <= n; i++)
		t += "line " + std::to_string(i) + (i < n ? "\n" : "");
	return t;
}

/* The line the cursor is on, counted from 1. */
int line_of(const session &s)
{
	return 1 + (int)std::count(s.e.f.text, s.e.f.text + s.e.cur, '\n');
}

/* The line of the view's first row, counted from 1. */
int top_line(const session &s)
{
	return 1 + ln_of(s.e.lines, s.e.top);
}

TEST_F(Edit, WheelScrollsAndAClickThereLands)
{
	open(numbered(200));
	geom g = geometry(s.e);
	s.wheel(-1);
	EXPECT_EQ(top_line(s), 4) << "three rows a notch";
	EXPECT_EQ(s.e.cur, 0) << "scrolling leaves the cursor";
	s.click(margin + 1, g.lh / 2).type("|");
	EXPECT_EQ(line_of(s), 4);
	EXPECT_EQ(s.text().find("|line 4\n"), s.text().find("line 4\n") - 1);
	s.wheel(10);
	EXPECT_EQ(s.e.top, 0) << "not above the start";
	s.wheel(-1000);
	EXPECT_EQ(top_line(s), 200) << "down to the last line at most";
}

TEST_F(Edit, PageDownAndUpMoveViewAndCursorByAWindow)
{
	open(numbered(200));
	int rows = geometry(s.e).full - 1;
	s.key(SDLK_PAGEDOWN);
	EXPECT_EQ(top_line(s), rows + 1);
	EXPECT_EQ(line_of(s), rows + 1);
	s.key(SDLK_PAGEDOWN);
	EXPECT_EQ(line_of(s), 2 * rows + 1);
	s.key(SDLK_PAGEUP);
	EXPECT_EQ(line_of(s), rows + 1);
	s.key(SDLK_PAGEUP).key(SDLK_PAGEUP);
	EXPECT_EQ(s.e.cur, 0);
	EXPECT_EQ(s.e.top, 0);
}

TEST_F(Edit, CursorStaysInViewWhenItMovesOff)
{
	open(numbered(300));
	s.key(SDLK_END, C);
	cursor_shown(s);
	s.key(SDLK_HOME, C);
	EXPECT_EQ(s.e.top, 0);
	/* Down past the bottom row scrolls a row at a time. */
	int rows = geometry(s.e).full;
	s.key(SDLK_DOWN, 0, rows + 3);
	EXPECT_EQ(line_of(s), rows + 4);
	EXPECT_EQ(top_line(s), 5);
	cursor_shown(s);
}

/* Up and Down go by displayed rows: through a wrapped line too. */
TEST_F(Edit, DownMovesByDisplayedRowsInAWrappedLine)
{
	std::string t;
	for (int i = 0; i < 60; i++)
		t += "word" + std::to_string(i) + " ";
	open(t + "\nnext");
	bar b0 = locate(s.e, 0);
	s.key(SDLK_DOWN);
	bar b1 = locate(s.e, s.e.cur);
	EXPECT_EQ(b1.y, b0.y + geometry(s.e).lh);
	EXPECT_LT(s.e.cur, (int)t.size()) << "still in the first hard line";
	EXPECT_GT(s.e.cur, 0);
	/* Rows wrap after a blank: the second row starts with a word. */
	row r = row_at(s.e, 0);
	EXPECT_FALSE(r.last);
	EXPECT_EQ(t[r.next - 1], ' ');
	EXPECT_EQ(t.substr(r.next, 4), "word");
}

TEST_F(Edit, ResizeLaysOutAgain)
{
	std::string t(50, 'x');
	for (int i = 0; i < 10; i++)
		t += " more words";
	open(t);
	int wide = locate(s.e, s.e.len).y;
	SDL_SetWindowSize(s.e.win, 300, 400);
	s.window(SDL_WINDOWEVENT_SIZE_CHANGED);
	SDL_Surface *ws = SDL_GetWindowSurface(s.e.win);
	EXPECT_EQ(ws->w, 300);
	int narrow = locate(s.e, s.e.len).y;
	EXPECT_GT(narrow, wide) << "the text wraps at the new width";
	/* The status line moved to the new bottom. */
	EXPECT_EQ(text_bottom(s.e), 400 - status_h);
}

TEST_F(Edit, TabsGoToTheStopsElseToMultiplesOfEight)
{
	ASSERT_TRUE(s.open(file("a\tb\tc\td"), PLOTPLUG_PATH, {50}));
	geom g = geometry(s.e);
	/* "b" at the stop, half the row; "c" and "d" at multiples of 8. */
	EXPECT_EQ(locate(s.e, 2).x, g.x0 + g.cols / 2 * g.cw);
	int c = (g.cols / 2 / 8 + 1) * 8;
	EXPECT_EQ(locate(s.e, 4).x, g.x0 + c * g.cw);
	EXPECT_EQ(locate(s.e, 6).x, g.x0 + (c + 8) * g.cw);
	edit_close(s.e);
	s.up = false;
	SDL_Quit();
	ASSERT_TRUE(s.open(file("ab\tc")));
	EXPECT_EQ(locate(s.e, 3).x, geometry(s.e).x0 + 8 * geometry(s.e).cw);
}

/* The plug-in's mark on the status line shows unsaved changes. */
TEST_F(Edit, PluginMarksUnsavedChanges)
{
	std::string p = file("text");
	ASSERT_TRUE(s.open(p));
	ASSERT_NE(s.e.plot, nullptr) << "plotplug loaded from " << PLOTPLUG_PATH;
	int h = text_bottom(s.e);
	EXPECT_NE(s.pixel(15, h + 15), 0u) << "no mark while saved";
	s.type("x");
	EXPECT_EQ(s.pixel(15, h + 15), 0u) << "the square of plot_g2";
	EXPECT_EQ(s.pixel(12, h + 12), 0u);
	EXPECT_NE(s.pixel(19, h + 15), 0u);
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), "* " + p + " - orvedit");
	s.ctrl(SDLK_s);
	EXPECT_NE(s.pixel(15, h + 15), 0u);
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), p + " - orvedit");
}

TEST_F(Edit, WithoutThePluginTheTitleMarksUnsavedChanges)
{
	std::string p = file("text");
	ASSERT_TRUE(s.open(p, dir / "no-such-plugin.so"));
	EXPECT_EQ(s.e.plot, nullptr);
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), p + " - orvedit");
	s.type("x");
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), "* " + p + " - orvedit");
	EXPECT_NE(s.pixel(15, text_bottom(s.e) + 15), 0u);
	s.ctrl(SDLK_s);
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), p + " - orvedit");
}

TEST(PluginPath, BesideTheProgramElseInstalled)
{
	tmpdir d;
	mkdir((d / "bin").c_str(), 0755);
	std::string exe = d / "bin/orvedit";
	std::string installed = plugin_path(exe);
	EXPECT_EQ(installed.rfind(d / "bin/", 0), 0u) << installed;
	EXPECT_EQ(installed.substr(installed.size() - 16), "/orv/plotplug.so");
	writefile(d / "bin/plotplug.so", "");
	EXPECT_EQ(plugin_path(exe), d / "bin/plotplug.so");
}

TEST_F(Edit, DirectoryIsRefused)
{
	SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen", SDL_HINT_OVERRIDE);
	ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
	editor e{};
	std::string err;
	EXPECT_FALSE(edit_open(e, dir.path.c_str(), edit_opts{}, err));
	EXPECT_EQ(err, dir.path + ": is a directory");
}

}

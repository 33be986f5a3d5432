/* Which file the buffer is and that nothing is lost: Save As, Open, New,
   the question before unsaved changes go, recovery files, a file changed
   on disk.  Every way out that drops nothing is checked for the bytes
   on disk and in the buffer. */
#include <csignal>
#include <sys/wait.h>

#include "tests/orvedit/fixture.h"

namespace {

class Files : public Editing {
protected:
	bool asks(const char *what) const
	{
		return s.e.ask.open && s.e.ask.label.find(what) != std::string::npos;
	}
	bool says(const char *what) const
	{
		return s.e.notice.find(what) != std::string::npos;
	}
	/* A line typed into the open question, then Return. */
	void answer_line(const std::string &line)
	{
		s.e.ask.input.clear();
		s.type(line).key(SDLK_RETURN);
	}
	/* A letter that answers a choice. */
	void pick(const char *a) { s.key((SDL_Keycode)a[0]); }
	/* The next pump looks at the file on disk. */
	void poll()
	{
		s.e.polled_at = SDL_GetTicks64() - s.e.disk_every;
		s.pump();
	}
	/* The recovery files in the state folder. */
	std::vector<std::string> recs()
	{
		return names(state_home() + "/orvedit");
	}
	void SetUp() override
	{
		for (const auto &n : recs())
			unlink((state_home() + "/orvedit/" + n).c_str());
	}
};

TEST_F(Files, UnnamedBufferIsNamedOnItsFirstSave)
{
	ASSERT_TRUE(s.open(""));
	EXPECT_EQ(s.e.name, "");
	EXPECT_FALSE(s.e.ro);
	EXPECT_STREQ(SDL_GetWindowTitle(s.e.win), "(new file) - orvedit");
	s.type("fresh").ctrl(SDLK_s);
	ASSERT_TRUE(asks("save as")) << s.e.ask.label;
	/* Escape: nothing written, the text stays. */
	s.key(SDLK_ESCAPE);
	EXPECT_TRUE(dirty(s.e));
	EXPECT_EQ(names(dir.path), std::vector<std::string>{});
	s.ctrl(SDLK_s);
	answer_line(dir / "named.txt");
	EXPECT_EQ(readfile(dir / "named.txt"), "fresh") << s.e.notice;
	EXPECT_EQ(s.e.name, dir / "named.txt");
	EXPECT_EQ(std::string(SDL_GetWindowTitle(s.e.win)), dir / "named.txt" + " - orvedit");
	EXPECT_FALSE(dirty(s.e));
	s.type("!").ctrl(SDLK_s);
	EXPECT_EQ(readfile(dir / "named.txt"), "fresh!");
}

/* Save As: each case types a name and answers what is asked; the old
   file never changes, and a failure keeps the buffer's name and text. */
struct as_case {
	const char *name;
	const char *to;		/* typed, under the scratch folder */
	const char *answer;	/* to "exists", or "" */
	bool written;
};

class SaveAs : public Files, public ::testing::WithParamInterface<as_case> {};

void PrintTo(const as_case &c, std::ostream *o)
{
	*o << c.name;
}

TEST_P(SaveAs, WritesTheNewFileOrNothing)
{
	const as_case &c = GetParam();
	std::string p = file("old");
	writefile(dir / "taken", "theirs");
	mkdir((dir / "sub").c_str(), 0755);
	ASSERT_TRUE(s.open(p));
	s.type("new ");
	s.key(SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
	ASSERT_TRUE(asks("save as")) << s.e.ask.label;
	std::string to = dir / c.to;
	answer_line(to);
	if (*c.answer) {
		ASSERT_TRUE(asks("exists")) << s.e.ask.label;
		pick(c.answer);
	}
	EXPECT_EQ(readfile(p), "old");
	EXPECT_EQ(s.text(), "new old");
	if (c.written) {
		EXPECT_EQ(readfile(to), "new old");
		EXPECT_EQ(s.e.name, to);
		EXPECT_FALSE(dirty(s.e));
	} else {
		EXPECT_EQ(s.e.name, p);
		EXPECT_TRUE(dirty(s.e));
		EXPECT_EQ(readfile(dir / "taken"), "theirs");
	}
	std::vector<std::string> want = {"f.txt", "sub", "taken"};
	if (c.written && std::string(c.to) != "taken" && std::string(c.to) != "sub/x")
		want.push_back(c.to);
	std::sort(want.begin(), want.end());
	EXPECT_EQ(names(dir.path), want);
}

const as_case as_cases[] = {
	{"new_name", "other", "", true},
	{"into_a_folder", "sub/x", "", true},
	{"existing_overwritten", "taken", "o", true},
	{"existing_kept", "taken", "c", false},
	{"a_folder", "sub", "", false},
	{"missing_folder", "gone/x", "", false},
};

INSTANTIATE_TEST_SUITE_P(Names, SaveAs, ::testing::ValuesIn(as_cases),
	[](const auto &i) { return std::string(i.param.name); });

/* Save As under the file's own name is a save: another program's
   change is not overwritten without the question. */
TEST_F(Files, SaveAsTheSameNameChecksTheDisk)
{
	std::string p = file("one");
	ASSERT_TRUE(s.open(p));
	s.type("my ");
	writefile(p, "theirs");
	s.key(SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
	answer_line(p);
	EXPECT_TRUE(asks("changed on disk")) << s.e.ask.label;
	EXPECT_EQ(readfile(p), "theirs");
}

/* The way out of a read-only file: its text under another name. */
TEST_F(Files, ReadOnlyFileIsSavedUnderAnotherName)
{
	std::string p = file("keep");
	chmod(p.c_str(), 0444);
	ASSERT_TRUE(s.open(p));
	ASSERT_TRUE(s.e.ro);
	s.type("mine ").ctrl(SDLK_s);
	EXPECT_TRUE(says("Ctrl+Shift+S")) << s.e.notice;
	s.key(SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
	answer_line(dir / "copy");
	EXPECT_EQ(readfile(dir / "copy"), "mine keep");
	EXPECT_EQ(readfile(p), "keep");
	EXPECT_FALSE(s.e.ro);
	EXPECT_FALSE(dirty(s.e));
}

TEST_F(Files, TabCompletesNames)
{
	mkdir((dir / "alpha").c_str(), 0755);
	writefile(dir / "alpine.txt", "");
	writefile(dir / "beta", "");
	writefile(dir / ".hidden", "");
	writefile(dir / "alpha/inner", "");
	const struct {
		std::string in, out;
	} cases[] = {
		{dir / "al", dir / "alp"},
		{dir / "alph", dir / "alpha/"},
		{dir / "alpha/", dir / "alpha/inner"},
		{dir / "b", dir / "beta"},
		{dir / "x", dir / "x"},
		{dir / ".h", dir / ".hidden"},
		{dir / "gone/a", dir / "gone/a"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(complete_name(c.in), c.out) << c.in;
	/* In the prompt, Tab completes what is typed. */
	ASSERT_TRUE(s.open(""));
	s.key(SDLK_s, KMOD_LCTRL | KMOD_LSHIFT);
	s.e.ask.input.clear();
	s.type(dir / "alph").key(SDLK_TAB);
	EXPECT_EQ(s.e.ask.input, dir / "alpha/");
}

/* A letter that answers a choice comes as a key and then as text, as a
   window system sends it: the text is not typed, nor the text after. */
TEST_F(Files, AnswerLetterIsNotTyped)
{
	std::string p = file("kept");
	ASSERT_TRUE(s.open(p));
	s.type("x").ctrl(SDLK_o);
	ASSERT_TRUE(asks("unsaved changes"));
	s.keyevent(SDL_KEYDOWN, SDLK_c, 0);
	s.type("c");
	EXPECT_FALSE(s.e.ask.open);
	EXPECT_EQ(s.text(), "xkept");
	s.type("y");
	EXPECT_EQ(s.text(), "xykept");
}

/* Unsaved changes before Open, New and quit: s saves first, d drops
   them, c and Escape keep everything as it was. */
struct drop_case {
	const char *name;
	const char *request;	/* "open", "new", "quit" */
	const char *answer;	/* "s", "d", "c", "esc" */
};

class Unsaved : public Files, public ::testing::WithParamInterface<drop_case> {};

void PrintTo(const drop_case &c, std::ostream *o)
{
	*o << c.name;
}

TEST_P(Unsaved, AskSaveDiscardOrCancel)
{
	const drop_case &c = GetParam();
	std::string p = file("kept"), other = file("other", "g.txt");
	ASSERT_TRUE(s.open(p));
	s.type("x");
	std::string req = c.request, a = c.answer;
	if (req == "open")
		s.ctrl(SDLK_o);
	else if (req == "new")
		s.ctrl(SDLK_n);
	else
		s.ctrl(SDLK_q);
	ASSERT_TRUE(asks("unsaved changes")) << s.e.ask.label;
	EXPECT_FALSE(s.quit());
	if (a == "esc")
		s.key(SDLK_ESCAPE);
	else
		pick(c.answer);
	bool goes = a == "s" || a == "d";
	EXPECT_EQ(readfile(p), a == "s" ? "xkept" : "kept");
	EXPECT_EQ(readfile(other), "other");
	if (!goes) {
		EXPECT_FALSE(s.quit());
		EXPECT_EQ(s.text(), "xkept");
		EXPECT_TRUE(dirty(s.e));
		EXPECT_EQ(s.e.name, p);
		return;
	}
	if (req == "quit") {
		EXPECT_TRUE(s.quit());
	} else if (req == "new") {
		EXPECT_EQ(s.e.name, "");
		EXPECT_EQ(s.text(), "");
		EXPECT_FALSE(dirty(s.e));
	} else {
		ASSERT_TRUE(asks("open")) << s.e.ask.label;
		answer_line(other);
		EXPECT_EQ(s.e.name, other);
		EXPECT_EQ(s.text(), "other");
		EXPECT_FALSE(dirty(s.e));
		/* The history is the new file's: nothing to undo. */
		s.ctrl(SDLK_z);
		EXPECT_EQ(s.text(), "other");
	}
}

const drop_case drop_cases[] = {
	{"open_save", "open", "s"}, {"open_discard", "open", "d"},
	{"open_cancel", "open", "c"}, {"open_escape", "open", "esc"},
	{"new_save", "new", "s"}, {"new_discard", "new", "d"},
	{"new_cancel", "new", "c"},
	{"quit_save", "quit", "s"}, {"quit_discard", "quit", "d"},
	{"quit_cancel", "quit", "c"}, {"quit_escape", "quit", "esc"},
};

INSTANTIATE_TEST_SUITE_P(Requests, Unsaved, ::testing::ValuesIn(drop_cases),
	[](const auto &i) { return std::string(i.param.name); });

/* s for a text without a name asks for one, saves, then quits. */
/* Another file in the window keeps the view as it was set: the zoom
   and the line numbers switched off. */
TEST_F(Files, OpenAndNewKeepTheZoomAndTheLineNumbers)
{
	ASSERT_TRUE(s.open(file("one")));
	s.key(SDLK_EQUALS, KMOD_LCTRL).key(SDLK_l, KMOD_LCTRL | KMOD_LSHIFT);
	int px = s.e.font_px;
	ASSERT_NE(px, 0);
	s.ctrl(SDLK_n);
	EXPECT_EQ(s.text(), "");
	EXPECT_EQ(s.e.font_px, px);
	EXPECT_TRUE(s.e.numbers_off);
	std::string two = file("two", "g.txt");
	s.ctrl(SDLK_o);
	answer_line(two);
	EXPECT_EQ(s.text(), "two");
	EXPECT_EQ(s.e.font_px, px);
	EXPECT_TRUE(s.e.numbers_off);
}

TEST_F(Files, QuitSavesANewTextUnderANameAsked)
{
	ASSERT_TRUE(s.open(""));
	s.type("new").ctrl(SDLK_q);
	pick("s");
	ASSERT_TRUE(asks("save as")) << s.e.ask.label;
	EXPECT_FALSE(s.quit());
	answer_line(dir / "n.txt");
	EXPECT_EQ(readfile(dir / "n.txt"), "new");
	EXPECT_TRUE(s.quit());
}

/* A quit that cannot save does not quit: the text stays. */
TEST_F(Files, QuitWhoseSaveFailsStays)
{
	std::string p = dir / "gone/f.txt";
	ASSERT_TRUE(s.open(p));
	s.type("x").ctrl(SDLK_q);
	pick("s");
	EXPECT_FALSE(s.quit());
	EXPECT_TRUE(says("No such file")) << s.e.notice;
	EXPECT_EQ(s.text(), "x");
	s.ctrl(SDLK_q);
	pick("d");
	EXPECT_TRUE(s.quit());
}

TEST_F(Files, OpeningAFolderChangesNothing)
{
	std::string p = file("text");
	ASSERT_TRUE(s.open(p));
	s.ctrl(SDLK_o);
	answer_line(dir.path);
	EXPECT_EQ(s.e.name, p);
	EXPECT_EQ(s.text(), "text");
	EXPECT_TRUE(says("folder")) << s.e.notice;
}

/* The recovery file: written after a pause in typing, private, gone
   after a save or a clean quit. */
TEST_F(Files, RecoveryFileFollowsUnsavedChanges)
{
	std::string p = file("disk");
	s.rec_delay = 0;
	ASSERT_TRUE(s.open(p));
	EXPECT_EQ(recs(), std::vector<std::string>{});
	s.type("typed ").pump();
	ASSERT_EQ(recs().size(), 1u);
	std::string r = state_home() + "/orvedit/" + recs()[0];
	EXPECT_EQ(r, s.e.rec);
	EXPECT_EQ(mode_of(state_home() + "/orvedit") & 0777, 0700u);
	EXPECT_EQ(mode_of(r) & 0777, 0600u);
	std::string body = readfile(r);
	EXPECT_EQ(body.substr(body.size() - 10), "typed disk");
	/* Undone back to the file: nothing to recover. */
	s.ctrl(SDLK_z).pump();
	EXPECT_EQ(recs(), std::vector<std::string>{});
	s.type("again ").pump();
	EXPECT_EQ(recs().size(), 1u);
	s.ctrl(SDLK_s);
	EXPECT_EQ(recs(), std::vector<std::string>{});
	s.type("more ").pump();
	EXPECT_EQ(recs().size(), 1u);
	s.ctrl(SDLK_q);
	pick("d");
	EXPECT_TRUE(s.quit());
	EXPECT_EQ(recs(), std::vector<std::string>{});
	EXPECT_EQ(readfile(p), "again disk");
}

/* A recovery file that cannot be written is said on the status line;
   the text and the editor go on, and the next pause tries again. */
TEST_F(Files, RecoveryFileThatCannotBeWrittenIsSaid)
{
	std::string p = file("disk");
	writefile(dir / "notafolder", "");
	s.rec_delay = 0;
	ASSERT_TRUE(s.open(p));
	setenv("XDG_STATE_HOME", (dir / "notafolder").c_str(), 1);
	s.type("typed ").pump();
	state_home();	/* the scratch state folder again */
	EXPECT_TRUE(says("no recovery file")) << s.e.notice;
	EXPECT_EQ(s.text(), "typed disk");
	EXPECT_EQ(s.e.rec, "");
	s.type("more ").pump();
	EXPECT_EQ(recs().size(), 1u);
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "typed more disk");
	EXPECT_EQ(recs(), std::vector<std::string>{});
}

/* An editor killed outright, or ended by SIGTERM or SIGHUP: the next
   one of the file offers the text, and restores or discards it. */
struct end_case {
	const char *name;
	int sig;
	Uint32 delay;		/* before the recovery is written */
	const char *answer;	/* "r" or "d" */
};

class Recover : public Files, public ::testing::WithParamInterface<end_case> {};

void PrintTo(const end_case &c, std::ostream *o)
{
	*o << c.name;
}

TEST_P(Recover, TheNextEditorOffersTheText)
{
	const end_case &c = GetParam();
	std::string p = file("on disk\n");
	std::string r = in_child([&] {
		session k;
		k.rec_delay = c.delay;
		if (!k.open(p))
			return std::string("cannot open");
		k.key(SDLK_END, KMOD_LCTRL).type("unsaved").pump();
		raise(c.sig);
		k.pump();	/* the loop acts on the signal */
		return std::string("still running");
	});
	EXPECT_EQ(r, " (child ended by signal " + std::to_string(c.sig) + ")");
	EXPECT_EQ(readfile(p), "on disk\n");
	ASSERT_EQ(recs().size(), 1u);
	ASSERT_TRUE(s.open(p));
	ASSERT_TRUE(asks("unsaved text")) << s.e.ask.label;
	/* Escape does not put it off. */
	s.key(SDLK_ESCAPE);
	ASSERT_TRUE(asks("unsaved text")) << s.e.ask.label;
	/* The difference in size and the times. */
	EXPECT_NE(s.e.ask.label.find("15 bytes, +7 on the file"), std::string::npos)
		<< s.e.ask.label;
	EXPECT_NE(s.e.ask.label.find(" s after it)"), std::string::npos)
		<< s.e.ask.label;
	pick(c.answer);
	if (*c.answer == 'd') {
		EXPECT_EQ(s.text(), "on disk\n");
		EXPECT_EQ(recs(), std::vector<std::string>{});
		return;
	}
	EXPECT_EQ(s.text(), "on disk\nunsaved");
	EXPECT_TRUE(dirty(s.e));
	/* Undo shows the file; redo brings the text back. */
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "on disk\n");
	s.ctrl(SDLK_y);
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "on disk\nunsaved");
	EXPECT_EQ(recs(), std::vector<std::string>{});
}

const end_case end_cases[] = {
	{"kill_after_a_pause", SIGKILL, 0, "r"},
	{"kill_then_discard", SIGKILL, 0, "d"},
	{"term_at_once", SIGTERM, 60000, "r"},
	{"hangup_at_once", SIGHUP, 60000, "r"},
};

INSTANTIATE_TEST_SUITE_P(Ends, Recover, ::testing::ValuesIn(end_cases),
	[](const auto &i) { return std::string(i.param.name); });

/* A text without a name is kept too, and offered to the next editor
   started without a file. */
TEST_F(Files, UnnamedTextIsRecovered)
{
	std::string r = in_child([&] {
		session k;
		k.rec_delay = 0;
		if (!k.open(""))
			return std::string("cannot open");
		k.type("no name yet").pump();
		raise(SIGKILL);
		return std::string("still running");
	});
	EXPECT_EQ(r, " (child ended by signal 9)");
	ASSERT_EQ(recs().size(), 1u);
	EXPECT_EQ(recs()[0].rfind("unnamed-", 0), 0u) << recs()[0];
	ASSERT_TRUE(s.open(""));
	ASSERT_TRUE(asks("unsaved new text")) << s.e.ask.label;
	pick("r");
	EXPECT_EQ(s.text(), "no name yet");
	s.ctrl(SDLK_s);
	answer_line(dir / "named");
	EXPECT_EQ(readfile(dir / "named"), "no name yet");
	EXPECT_EQ(recs(), std::vector<std::string>{});
}

/* The recovery of a running editor is not offered to a second one. */
TEST_F(Files, RecoveryOfALiveEditorIsNotOffered)
{
	std::string p = file("text");
	{
		session a;
		a.rec_delay = 0;
		ASSERT_TRUE(a.open(p));
		a.type("x").pump();
		ASSERT_EQ(recs().size(), 1u);
		/* Its header names this process, which is alive. */
		std::string r = a.e.rec;
		std::string body = readfile(r);
		size_t at = body.find("\n" + std::to_string(getpid()) + "\n");
		ASSERT_NE(at, std::string::npos);
		writefile(r, body.substr(0, at) + "\n1\n" + body.substr(at +
			std::to_string(getpid()).size() + 2), 0600);
		a.e.rec.clear();	/* left behind */
	}
	/* pid 1 runs: not offered, not removed. */
	ASSERT_TRUE(s.open(p));
	EXPECT_FALSE(s.e.ask.open) << s.e.ask.label;
	EXPECT_EQ(recs().size(), 1u);
}

/* A file changed by another program is read again when the buffer has
   no changes, the cursor kept on its line; with changes, it asks. */
TEST_F(Files, ChangedOnDiskIsReloaded)
{
	std::string p = file("one\ntwo\nthree\n");
	ASSERT_TRUE(s.open(p));
	s.key(SDLK_DOWN).key(SDLK_RIGHT, 0, 2);
	writefile(p, "zero\none\nTWO!\nthree\n");
	s.key(SDLK_DOWN);	/* line 2, column 2 */
	poll();
	EXPECT_EQ(s.text(), "zero\none\nTWO!\nthree\n");
	EXPECT_FALSE(dirty(s.e));
	EXPECT_EQ(s.e.cur, 9 + 2) << "line 2, column 2";
	EXPECT_TRUE(says("read again")) << s.e.notice;
	/* Nothing lost: undo brings the text before it back. */
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "one\ntwo\nthree\n");
	s.ctrl(SDLK_y);
	EXPECT_FALSE(dirty(s.e));
	poll();
	EXPECT_EQ(s.text(), "zero\none\nTWO!\nthree\n");
}

TEST_F(Files, ChangedOnDiskWithUnsavedChangesAsks)
{
	for (const char *a : {"k", "r"}) {
		SCOPED_TRACE(a);
		std::string p = file("one");
		session t;
		ASSERT_TRUE(t.open(p));
		t.type("mine ");
		writefile(p, "theirs");
		t.e.polled_at = SDL_GetTicks64() - t.e.disk_every;
		t.pump();
		ASSERT_TRUE(t.e.ask.open);
		EXPECT_NE(t.e.ask.label.find("changed on disk"), std::string::npos);
		t.key((SDL_Keycode)a[0]);
		if (*a == 'k') {
			EXPECT_EQ(t.text(), "mine one");
			/* Asked once: the next save writes. */
			t.ctrl(SDLK_s);
			EXPECT_FALSE(t.e.ask.open);
			EXPECT_EQ(readfile(p), "mine one");
		} else {
			EXPECT_EQ(t.text(), "theirs");
			EXPECT_EQ(readfile(p), "theirs");
			t.ctrl(SDLK_z);
			EXPECT_EQ(t.text(), "mine one");
		}
	}
}

/* A save over another program's change asks; nothing is overwritten
   without the answer. */
TEST_F(Files, SaveOverAChangeOnDiskAsks)
{
	const struct {
		const char *answer, *disk, *text;
	} cases[] = {
		{"c", "someone else's", "my one"},
		{"o", "my one", "my one"},
		{"r", "someone else's", "someone else's"},
	};
	for (auto c : cases) {
		SCOPED_TRACE(c.answer);
		std::string p = file("one");
		session t;
		ASSERT_TRUE(t.open(p));
		t.type("my ");
		writefile(p, "someone else's");
		t.ctrl(SDLK_s);
		ASSERT_TRUE(t.e.ask.open);
		EXPECT_NE(t.e.ask.label.find("changed on disk"), std::string::npos);
		EXPECT_EQ(readfile(p), "someone else's");
		/* A second Ctrl+S does not overwrite either. */
		t.ctrl(SDLK_s);
		EXPECT_EQ(readfile(p), "someone else's");
		t.key((SDL_Keycode)c.answer[0]);
		EXPECT_EQ(readfile(p), c.disk);
		EXPECT_EQ(t.text(), c.text);
		EXPECT_EQ(names(dir.path), std::vector<std::string>{"f.txt"});
	}
}

TEST_F(Files, RemovedOnDiskKeepsTheTextUnsaved)
{
	std::string p = file("text");
	ASSERT_TRUE(s.open(p));
	unlink(p.c_str());
	poll();
	EXPECT_EQ(s.text(), "text");
	EXPECT_TRUE(dirty(s.e));
	EXPECT_TRUE(says("removed")) << s.e.notice;
	s.ctrl(SDLK_q);
	EXPECT_TRUE(asks("unsaved changes")) << s.e.ask.label;
	pick("s");
	EXPECT_EQ(readfile(p), "text");
	EXPECT_TRUE(s.quit());
}

}

/* Search, replace, go to a line, moves by words, the keys on F1: typed
   through SDL's event queue, checked on the text, the cursor and the
   status line. */
#include "tests/orvedit/fixture.h"

namespace {

const Uint16 S = KMOD_LSHIFT, C = KMOD_LCTRL;

class Find : public Editing {
protected:
	void open(const std::string &bytes)
	{
		ASSERT_TRUE(s.open(file(bytes))) << SDL_GetError();
	}
	std::string selected() const
	{
		int lo = std::min(s.e.anchor, s.e.cur), hi = std::max(s.e.anchor, s.e.cur);
		return s.e.anchor < 0 ? "" : std::string(s.e.f.text + lo, hi - lo);
	}
	std::string status() const { return status_left(s.e); }
};

TEST_F(Find, SearchAsThePatternIsTypedThenNextAndPrevious)
{
	open("alpha beta Beta gamma beta");
	s.ctrl(SDLK_f).type("b");
	EXPECT_EQ(s.e.anchor, 6) << "the first match as soon as it is typed";
	s.type("eta");
	EXPECT_EQ(s.e.anchor, 6);
	EXPECT_EQ(selected(), "beta");
	EXPECT_EQ(s.e.marks.size(), 3u) << "every match is marked";
	s.key(SDLK_RETURN);
	EXPECT_EQ(selected(), "Beta") << "no capital: either case";
	EXPECT_EQ(s.e.anchor, 11);
	s.key(SDLK_F3);
	EXPECT_EQ(s.e.anchor, 22);
	s.key(SDLK_RETURN);
	EXPECT_EQ(s.e.anchor, 6);
	EXPECT_NE(status().find("wrapped"), std::string::npos) << status();
	s.key(SDLK_F3, S);
	EXPECT_EQ(s.e.anchor, 22) << "Shift+F3 goes back, round the start";
	s.key(SDLK_ESCAPE);
	EXPECT_FALSE(s.e.ask.open);
	EXPECT_EQ(s.e.anchor, 22) << "Escape leaves the match selected";
	s.key(SDLK_F3, S);
	EXPECT_EQ(s.e.anchor, 11) << "F3 goes on after the question closed";
	EXPECT_EQ(s.text(), "alpha beta Beta gamma beta");
}

TEST_F(Find, ACapitalMakesCaseCountAndMissesAreSaid)
{
	open("beta Beta BETA");
	s.ctrl(SDLK_f).type("Beta");
	EXPECT_EQ(s.e.anchor, 5);
	s.key(SDLK_RETURN);
	EXPECT_EQ(s.e.anchor, 5) << "the only match, found again round the end";
	s.type("x");
	EXPECT_NE(status().find("not found"), std::string::npos) << status();
	s.key(SDLK_BACKSPACE);
	EXPECT_EQ(status().find("not found"), std::string::npos) << status();
}

TEST_F(Find, ReplaceAllIsOneUndoStep)
{
	open("alpha beta Beta gamma beta");
	s.ctrl(SDLK_h).type("beta").key(SDLK_RETURN).type("X").key(SDLK_RETURN);
	EXPECT_EQ(selected(), "beta") << "the first match, asked about";
	s.key(SDLK_a);
	EXPECT_EQ(s.text(), "alpha X X gamma X");
	EXPECT_NE(s.e.notice.find("replaced 3"), std::string::npos) << s.e.notice;
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "alpha beta Beta gamma beta");
}

TEST_F(Find, ReplaceOneAtATime)
{
	open("a1 a2 a3 a4");
	s.key(SDLK_r, C).type("a").key(SDLK_RETURN).type("bb").key(SDLK_RETURN);
	s.key(SDLK_y).key(SDLK_n).key(SDLK_y);
	EXPECT_EQ(s.text(), "bb1 a2 bb3 a4");
	s.key(SDLK_q);
	EXPECT_FALSE(s.e.ask.open);
	EXPECT_NE(s.e.notice.find("replaced 2"), std::string::npos) << s.e.notice;
	s.ctrl(SDLK_z);
	EXPECT_EQ(s.text(), "bb1 a2 a3 a4") << "each replacement its own step";
}

struct goto_case {
	const char *name, *text, *typed;
	int cur;		/* where the cursor lands, or -1: refused */
};

void PrintTo(const goto_case &c, std::ostream *o)
{
	*o << c.name;
}

class GoTo : public Find, public ::testing::WithParamInterface<goto_case> {};

TEST_P(GoTo, LineAndColumnAsPeopleCount)
{
	const goto_case &c = GetParam();
	open(c.text);
	s.key(SDLK_END, C);
	int before = s.e.cur;
	s.ctrl(SDLK_g).type(c.typed).key(SDLK_RETURN);
	EXPECT_EQ(s.e.cur, c.cur < 0 ? before : c.cur);
	if (c.cur < 0) {
		EXPECT_NE(s.e.notice.find("not a line number"), std::string::npos);
	}
}

const goto_case gotos[] = {
	{"line", "one\ntwo\nthree", "2", 4},
	{"line_and_column", "one\ntwo\nthree", "3:3", 10},
	{"column_in_characters", "x\n\xC3\xA9t\xC3\xA9", "2:3", 5},
	{"column_past_the_end", "one\ntwo\nthree", "1:99", 3},
	{"line_past_the_end", "one\ntwo", "9", 4},
	{"crlf_lines", "a\r\nb\r\nc", "3", 6},
	{"not_a_number", "one\ntwo", "x", -1},
	{"zero", "one\ntwo", "0", -1},
};

INSTANTIATE_TEST_SUITE_P(Keys, GoTo, ::testing::ValuesIn(gotos),
	[](const auto &i) { return std::string(i.param.name); });

TEST_F(Find, CtrlLGoesToALineToo)
{
	open("a\nb\nc");
	s.ctrl(SDLK_l).type("3").key(SDLK_RETURN).type("|");
	EXPECT_EQ(s.text(), "a\nb\n|c");
}

/* Return types the file's own line break; a paste takes them too. */
TEST_F(Find, LineBreaksFollowTheFile)
{
	open("a\r\nb");
	s.key(SDLK_END, C).key(SDLK_RETURN).type("c");
	EXPECT_EQ(s.text(), "a\r\nb\r\nc");
	SDL_SetClipboardText("x\ny\rz");
	s.ctrl(SDLK_v);
	EXPECT_EQ(s.text(), "a\r\nb\r\ncx\r\ny\r\nz");
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(dir / "f.txt"), "a\r\nb\r\ncx\r\ny\r\nz");
}

TEST_F(Find, ReturnInAnLfFileTypesLf)
{
	open("a\nb");
	s.key(SDLK_END).key(SDLK_RETURN);
	EXPECT_EQ(s.text(), "a\n\nb");
}

TEST_F(Find, F1ShowsTheKeysPageByPage)
{
	open("text");
	s.key(SDLK_F1);
	EXPECT_EQ(status().rfind("Keys 1/", 0), 0u) << status();
	s.key(SDLK_F1);
	EXPECT_EQ(status().rfind("Keys 2/", 0), 0u) << status();
	s.type("x").key(SDLK_ESCAPE);
	EXPECT_FALSE(s.e.ask.open);
	EXPECT_EQ(s.text(), "text") << "nothing typed while the keys show";
}

}

/* What the view shows: characters in cells, rows, line numbers, zoom,
   the cursor's row on screen wherever it goes, and clicks that pick
   words and lines.  Places are asked of the view (locate, hit), pixels
   read off the window. */
#include "tests/orvedit/fixture.h"

namespace {

class View : public Editing {
protected:
	void open(const std::string &bytes)
	{
		ASSERT_TRUE(s.open(file(bytes))) << SDL_GetError();
	}
	/* Whether the cell at column col of row r holds ink darker than
	   mid grey, or, with rgb, a pixel of that colour. */
	bool inked(int col, int r, uint32_t rgb = 0)
	{
		geom g = geometry(s.e);
		for (int y = r * g.lh; y < (r + 1) * g.lh; y++)
			for (int x = g.x0 + col * g.cw; x < g.x0 + (col + 1) * g.cw; x++) {
				uint32_t p = s.pixel(x, y);
				if (rgb ? p == rgb : (p >> 16) + (p >> 8 & 255) + (p & 255) < 3 * 128)
					return true;
			}
		return false;
	}
	void click(int x, int y, int clicks)
	{
		for (Uint32 t : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
			SDL_Event ev{};
			ev.type = t;
			ev.button.windowID = s.win();
			ev.button.button = SDL_BUTTON_LEFT;
			ev.button.clicks = (Uint8)clicks;
			ev.button.x = x;
			ev.button.y = y;
			s.send(ev);
		}
	}
	std::string selected() const
	{
		return has_sel(s.e) ? s.text().substr(sel_lo(s.e), sel_hi(s.e) - sel_lo(s.e)) : "";
	}
};

/* A place of a text, and the cell and row the view draws it at. */
struct place_case {
	const char *name, *text;
	int pos, col, row;
};

void PrintTo(const place_case &c, std::ostream *o)
{
	*o << c.name;
}

class Places : public View, public ::testing::WithParamInterface<place_case> {};

TEST_P(Places, EachCharacterOneCell)
{
	const place_case &c = GetParam();
	open(c.text);
	geom g = geometry(s.e);
	bar b = locate(s.e, c.pos);
	ASSERT_TRUE(b.ok);
	EXPECT_EQ(b.x, g.x0 + c.col * g.cw);
	EXPECT_EQ(b.y, c.row * g.lh);
	/* The hit test answers with the same place. */
	EXPECT_EQ(hit(s.e, b.x + 1, b.y + g.lh / 2), c.pos);
}

const place_case places[] = {
	{"ascii", "abc", 2, 2, 0},
	{"accents", "Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu", 15, 12, 0},
	{"after_accent", "Caf\xC3\xA9 d\xC3\xA9j\xC3\xA0 vu", 6, 5, 0},
	{"greek", "\xCE\xB1\xCE\xB2\xCE\xB3x", 6, 3, 0},
	{"cyrillic", "\xD0\x96\xD0\xB8x", 4, 2, 0},
	{"missing_glyph_one_box", "a\xF0\x9F\x98\x80" "b", 5, 2, 0},
	{"invalid_byte_one_cell", "a\x80\x80" "b", 3, 3, 0},
	{"crlf_one_break", "ab\r\ncd\r\nef", 4, 0, 1},
	{"crlf_third_line", "ab\r\ncd\r\nef", 8, 0, 2},
	{"crlf_end_of_line", "ab\r\ncd", 2, 2, 0},
	{"lone_cr_a_break", "ab\rcd", 3, 0, 1},
	{"tab_to_eight", "a\tb", 2, 8, 0},
};

INSTANTIATE_TEST_SUITE_P(Text, Places, ::testing::ValuesIn(places),
	[](const auto &i) { return std::string(i.param.name); });

/* A place handed in from elsewhere (a search, a go-to) between the CR and
   the LF of a break is shown at the line's end. */
TEST_F(View, APlaceInsideACrLfIsShownAtTheLineEnd)
{
	open("ab\r\ncd");
	reveal_pos(s.e, 3);
	geom g = geometry(s.e);
	bar b = locate(s.e, 3);
	ASSERT_TRUE(b.ok);
	EXPECT_EQ(b.x, g.x0 + 2 * g.cw);
	EXPECT_EQ(b.y, 0);
	s.e.top = 3;
	s.pump();
	EXPECT_EQ(s.e.top, 0);
}

TEST_F(View, GlyphsBoxesAndInvalidBytesAreDrawn)
{
	open("\xC3\xA9\xF0\x9F\x98\x80\x80 ");
	EXPECT_TRUE(inked(0, 0)) << "the accented letter";
	EXPECT_TRUE(inked(1, 0)) << "a box for the missing glyph";
	EXPECT_TRUE(inked(2, 0, 0xFFD0D0)) << "the invalid byte on pink";
	EXPECT_FALSE(inked(3, 0)) << "a space";
	EXPECT_EQ(s.text(), "\xC3\xA9\xF0\x9F\x98\x80\x80 ") << "kept as it is";
}

TEST_F(View, MatchesAndTheSelectionAreShown)
{
	open("one two three");
	s.e.marks = {{4, 7}};
	s.pump();
	EXPECT_TRUE(inked(5, 0, 0xFFF080)) << "a match, light yellow";
	EXPECT_FALSE(inked(1, 0, 0xFFF080));
	s.key(SDLK_RIGHT, KMOD_LSHIFT, 6);
	EXPECT_TRUE(inked(1, 0, 0xB8D8FF)) << "the selection";
	EXPECT_FALSE(inked(5, 0, 0xFFF080)) << "the selection over the match";
	EXPECT_TRUE(inked(6, 0, 0xFFF080));
}

std::string lines(int n)
{
	std::string t;
	for (int i = 1; i <= n; i++)
		t += "x\n";
	return t;
}

TEST_F(View, LineNumbersAreDecimalAndCanBeHidden)
{
	open(lines(120));
	geom g = geometry(s.e);
	/* 121 lines: three digits and a cell of space. */
	EXPECT_EQ(g.x0, margin + 4 * g.cw);
	/* Line 10 reads "10", two digits; line 9 one. */
	EXPECT_TRUE(inked(-3, 9));
	EXPECT_TRUE(inked(-2, 9));
	EXPECT_FALSE(inked(-3, 8));
	EXPECT_TRUE(inked(-2, 8));
	s.key(SDLK_l, KMOD_LCTRL | KMOD_LSHIFT);
	EXPECT_EQ(geometry(s.e).x0, margin);
	EXPECT_EQ(s.text(), lines(120)) << "nothing typed";
	s.key(SDLK_l, KMOD_LCTRL | KMOD_LSHIFT);
	EXPECT_EQ(geometry(s.e).x0, g.x0);
}

TEST_F(View, ZoomChangesTheCellsAndTheWrap)
{
	open(std::string(300, 'w'));
	geom g = geometry(s.e);
	s.queue_text("+", KMOD_LCTRL);
	s.key(SDLK_EQUALS, KMOD_LCTRL);
	geom big = geometry(s.e);
	EXPECT_GT(big.cw, g.cw);
	EXPECT_GT(big.lh, g.lh);
	EXPECT_LT(big.cols, g.cols);
	EXPECT_EQ(row_at(s.e, 0).next, big.cols) << "rows wrap at the new width";
	s.key(SDLK_MINUS, KMOD_LCTRL).key(SDLK_MINUS, KMOD_LCTRL);
	EXPECT_LT(geometry(s.e).cw, g.cw);
	s.key(SDLK_0, KMOD_LCTRL);
	EXPECT_EQ(geometry(s.e).cw, g.cw);
	EXPECT_EQ(s.text(), std::string(300, 'w')) << "nothing typed";
}

TEST_F(View, StatusLineGivesLineColumnAndBreaks)
{
	open("ab\r\nc\xC3\xA9" "d\r\n");
	s.key(SDLK_DOWN).key(SDLK_END);
	EXPECT_EQ(status_right(s.e), "Ln 2, Col 4  CRLF");
	s.type("\n");
	EXPECT_EQ(status_right(s.e), "Ln 3, Col 1  mixed");
}

/* A line of 200,000 characters between two short ones. */
std::string long_line()
{
	std::string t = "top\n";
	for (int i = 0; t.size() < 200000; i++)
		t += "word" + std::to_string(i % 1000) + " ";
	return t + "\nbottom";
}

TEST_F(View, EveryPlaceOfALongLineCanBeReached)
{
	std::string t = long_line();
	int end = (int)t.rfind('\n');
	open(t);
	s.key(SDLK_DOWN).key(SDLK_END);
	EXPECT_EQ(s.e.cur, end);
	cursor_shown(s);
	s.type("!");
	cursor_shown(s);
	EXPECT_EQ(t.substr(0, end) + "!" + t.substr(end), s.text());
	/* Up and Down go row by row in it, keeping the column. */
	s.key(SDLK_UP, 0, 3).key(SDLK_DOWN, 0, 3);
	EXPECT_EQ(s.e.cur, end + 1);
	s.key(SDLK_DOWN);
	EXPECT_EQ(ln_of(s.e.lines, s.e.cur), 2) << "from its last row";
	s.key(SDLK_HOME, KMOD_LCTRL).key(SDLK_DOWN);
	for (int i = 0, before = s.e.cur; i < 40; i++, before = s.e.cur) {
		s.key(SDLK_DOWN);
		ASSERT_GT(s.e.cur, before);
		cursor_shown(s);
	}
	/* Page Down from the line's start: into the line, a page further
	   each time; the wheel likewise moves the view by rows. */
	s.key(SDLK_HOME, KMOD_LCTRL).key(SDLK_DOWN);
	s.key(SDLK_PAGEDOWN, 0, 3);
	EXPECT_GT(s.e.cur, 4 + 3 * (geometry(s.e).full - 2) * 40);
	EXPECT_LT(s.e.cur, end);
	cursor_shown(s);
	int top = s.e.top;
	s.wheel(-5);
	EXPECT_GT(s.e.top, top);
	EXPECT_EQ(ln_of(s.e.lines, s.e.top), 1) << "still inside the line";
	/* A place deep in the line brought into view, as a search would. */
	int mid = (int)t.find("word500 ", 100000);
	reveal_pos(s.e, mid);
	EXPECT_TRUE(locate(s.e, mid).ok);
	s.key(SDLK_END, KMOD_LCTRL);
	EXPECT_EQ(s.e.cur, s.e.len);
	cursor_shown(s);
	s.key(SDLK_PAGEUP, 0, 2);
	EXPECT_LT(s.e.cur, end);
	cursor_shown(s);
}

/* The rows of a long line, kept between calls, agree after every edit
   with rows walked afresh from the line's start. */
TEST_F(View, RowsOfALongLineFollowEdits)
{
	std::string t = "x\n";
	for (int i = 0; t.size() < 20000; i++)
		t += std::string(1 + i % 9, 'a' + i % 26) + (i % 7 ? " " : "\t");
	open(t + "\ny");
	auto check = [&](const char *what) {
		std::vector<int> fresh;
		int end = line_end(s.e, 2);
		for (int a = 2; a >= 0 && a <= end; a = row_from(s.e, a).next)
			fresh.push_back(a);
		for (int pos = 2; pos <= end; pos += 97) {
			int want = *(std::upper_bound(fresh.begin(), fresh.end(), pos) - 1);
			ASSERT_EQ(row_at(s.e, pos).a, want) << what << " at " << pos;
		}
	};
	s.key(SDLK_DOWN).key(SDLK_END);
	check("as loaded");
	for (int at : {15000, 9000, 5}) {
		s.e.cur = at;
		s.type("word ");
		check("typed");
		s.key(SDLK_BACKSPACE, 0, 7);
		check("deleted");
	}
	SDL_SetWindowSize(s.e.win, 500, 480);
	s.window(SDL_WINDOWEVENT_SIZE_CHANGED);
	check("narrower");
}

TEST_F(View, DoubleClickSelectsAWordTripleALine)
{
	open("alpha b\xC3\xA9ta_2, gamma\nnext line");
	geom g = geometry(s.e);
	int y = g.lh / 2;
	click(g.x0 + 8 * g.cw, y, 2);
	EXPECT_EQ(selected(), "b\xC3\xA9ta_2");
	click(g.x0 + 12 * g.cw + 2, y, 2);
	EXPECT_EQ(selected(), ",");
	click(g.x0 + 2 * g.cw, y, 3);
	EXPECT_EQ(selected(), "alpha b\xC3\xA9ta_2, gamma\n");
	click(g.x0 + 2 * g.cw, y + g.lh, 3);
	EXPECT_EQ(selected(), "next line");
	/* Shift+click extends the selection from its anchor. */
	s.click(g.x0 + 1, y);
	s.e.mods = KMOD_LSHIFT;
	s.click(g.x0 + 5 * g.cw, y);
	s.e.mods = 0;
	EXPECT_EQ(selected(), "alpha");
}

}

/* Where rendertext puts glyphs, hits and cursor bars.  The expected pen
   positions are worked out by hand for 8x16 cells (half cell 4). */
#include <algorithm>

#include "tests/textview/fixture.h"

namespace {

struct layout_case {
	const char *name;
	const char *text;
	opts o;
	std::vector<pen> want;
	int ret;
};

const layout_case layouts[] = {
	{"empty text shows the first numeral", "", {.flags = 0},
		{{'1', 0, 0}}, 16},
	{"empty text one line above the window", "", {.flags = 0, .y = -16},
		{{'1', 0, -16}}, 0},
	{"empty text wholly above the window", "", {.flags = 0, .y = -17},
		{}, -1},
	{"text ending above the window", "a\nb", {.flags = 0, .y = -100},
		{}, -68},
	{"words that fit", "ab cd", {.width = 40},
		{{'a', 0, 0}, {'b', 8, 0}, {'c', 20, 0}, {'d', 28, 0}}, 16},
	{"a word moved whole", "ab cdef", {.width = 40},
		{{'a', 0, 0}, {'b', 8, 0},
		 {'c', 0, 16}, {'d', 8, 16}, {'e', 16, 16}, {'f', 24, 16}}, 32},
	{"a word too long breaks at the limit", "abcdefgh", {.width = 40},
		{{'a', 0, 0}, {'b', 8, 0}, {'c', 16, 0}, {'d', 24, 0},
		 {'e', 0, 16}, {'f', 8, 16}, {'g', 16, 16}, {'h', 24, 16}}, 32},
	{"helloWorld breaks before W", "helloWorld", {.width = 48},
		{{'h', 0, 0}, {'e', 8, 0}, {'l', 16, 0}, {'l', 24, 0}, {'o', 32, 0},
		 {'W', 0, 16}, {'o', 8, 16}, {'r', 16, 16}, {'l', 24, 16},
		 {'d', 32, 16}}, 32},
	{"ABCdef is one word", "ab ABCdef", {.width = 64},
		{{'a', 0, 0}, {'b', 8, 0},
		 {'A', 0, 16}, {'B', 8, 16}, {'C', 16, 16}, {'d', 24, 16},
		 {'e', 32, 16}, {'f', 40, 16}}, 32},
	{"abcDef is two words", "ab abcDef", {.width = 64},
		{{'a', 0, 0}, {'b', 8, 0}, {'a', 20, 0}, {'b', 28, 0}, {'c', 36, 0},
		 {'D', 0, 16}, {'e', 8, 16}, {'f', 16, 16}}, 32},
	{"hanging indent under the first word", "  ab cdef",
		{.x = 20, .width = 48},
		{{'a', 28, 0}, {'b', 36, 0},
		 {'c', 28, 16}, {'d', 36, 16}, {'e', 44, 16}, {'f', 52, 16}}, 32},
	{"continuation lines start after the gutter", "ab cdef",
		{.flags = 0, .width = 48},
		{{'1', 0, 0}, {'a', 12, 0}, {'b', 20, 0},
		 {'c', 12, 16}, {'d', 20, 16}, {'e', 28, 16}, {'f', 36, 16}}, 32},
	{"a space wraps", "abcd efgh", {.width = 40},
		{{'a', 0, 0}, {'b', 8, 0}, {'c', 16, 0}, {'d', 24, 0},
		 {'e', 4, 16}, {'f', 12, 16}, {'g', 20, 16}, {'h', 28, 16}}, 32},
	{"a tab advances 4 cells", "a\tb", {},
		{{'a', 0, 0}, {'b', 40, 0}}, 16},
	{"a leading tab indents", "\tab cd", {.width = 56},
		{{'a', 32, 0}, {'b', 40, 0}, {'c', 36, 16}, {'d', 44, 16}}, 32},
	{"tabs jump to the stops", "a\tb\tc\nd", {.tabs = {25, 50}},
		{{'a', 0, 0}, {'b', 48, 0}, {'c', 100, 0}, {'d', 0, 16}}, 32},
	{"a column starts at the row top, the next row below its lowest line",
		"abcdefgh\tx\ny", {.tabs = {25}},
		{{'a', 0, 0}, {'b', 8, 0}, {'c', 16, 0}, {'d', 24, 0}, {'e', 32, 0},
		 {'f', 0, 16}, {'g', 8, 16}, {'h', 16, 16},
		 {'x', 48, 0}, {'y', 0, 32}}, 48},
	{"half a line after a tall row", "abcdefgh\tx\ny",
		{.flags = 3, .tabs = {25}},
		{{'a', 0, 0}, {'b', 8, 0}, {'c', 16, 0}, {'d', 24, 0}, {'e', 32, 0},
		 {'f', 0, 16}, {'g', 8, 16}, {'h', 16, 16},
		 {'x', 48, 0}, {'y', 0, 40}}, 56},
	{"no extra space after a one-line row", "a\nb", {.flags = 3},
		{{'a', 0, 0}, {'b', 0, 16}}, 32},
	{"tabs past the last stop advance 4 cells", "a\tb\tc", {.tabs = {25}},
		{{'a', 0, 0}, {'b', 48, 0}, {'c', 88, 0}}, 16},
	{"a line break goes back to the first column's limit", "a\tb\ncdefghij",
		{.tabs = {25}},
		{{'a', 0, 0}, {'b', 48, 0},
		 {'c', 0, 16}, {'d', 8, 16}, {'e', 16, 16}, {'f', 24, 16},
		 {'g', 32, 16}, {'h', 0, 32}, {'i', 8, 32}, {'j', 16, 32}}, 48},
	{"a middle column ends half a cell before its stop", "a\tbcdefghij",
		{.tabs = {25, 50}},
		{{'a', 0, 0}, {'b', 48, 0}, {'c', 56, 0}, {'d', 64, 0}, {'e', 72, 0},
		 {'f', 80, 0}, {'g', 48, 16}, {'h', 56, 16}, {'i', 64, 16},
		 {'j', 72, 16}}, 32},
	{"a leading tab uses no stop", "\ta\tb", {.tabs = {25}},
		{{'a', 32, 0}, {'b', 48, 0}}, 16},
	{"stops with a cell under 2 pixels", "a\tb",
		{.gw = 1, .width = 100, .tabs = {33}},
		{{'a', 0, 0}, {'b', 33, 0}}, 16},
	{"odd cell sizes round down to even", "ab", {.gw = 9, .gh = 17},
		{{'a', 0, 0}, {'b', 8, 0}}, 16},
	{"CR LF is two line breaks", "a\r\nb", {.flags = 0},
		{{'1', 0, 0}, {'a', 12, 0}, {'2', 0, 16}, {'3', 0, 32},
		 {'b', 12, 32}}, 48},
	{"scrolling skips CR LF as two breaks", "a\r\nb\nc",
		{.flags = 0, .y = -48},
		{{'3', 0, -16}, {'b', 12, -16}, {'4', 0, 0}, {'c', 12, 0}}, 16},
	{"drawing stops at the bottom limit", "a\nb\nc", {.bottom = 20},
		{{'a', 0, 0}, {'b', 0, 16}}, 48},
};

std::ostream &operator<<(std::ostream &o, const layout_case &k)
{
	return o << k.name;
}

class Layout : public View,
	public ::testing::WithParamInterface<layout_case> {};

TEST_P(Layout, PlacesGlyphs)
{
	const layout_case &k = GetParam();
	EXPECT_EQ(run(k.text, k.o), k.ret);
	EXPECT_EQ(pens(k.o), k.want);
}

// GoogleTest names cases by identifiers: every other character of a
// case's description becomes '_'.
static const auto case_name = [](const auto &i) {
	std::string s = i.param.name;
	for (char &c : s)
		if (!isalnum((unsigned char)c))
			c = '_';
	return s;
};

INSTANTIATE_TEST_SUITE_P(Cases, Layout, ::testing::ValuesIn(layouts),
	case_name);

/* The gutter is one and a half cells up to line 10 (X), two and a half
   from 11 to 110 (XX), three and a half from 111. */
TEST_F(View, GutterWidensAtLines11And111)
{
	std::string text = "a";
	for (int i = 2; i <= 111; i++)
		text += "\na";
	opts o = {.flags = 0};
	run(text.c_str(), o);

	struct { int line; const char *gutter; int text_x; } rows[] = {
		{1, "1", 12}, {9, "9", 12}, {10, "X", 12}, {11, "11", 20},
		{20, "1X", 20}, {110, "XX", 20}, {111, "111", 28},
	};
	std::vector<pen> all = pens(o);
	for (const auto &r : rows) {
		std::string got;
		int x = -1;
		for (const pen &p : all)
			if (p.y == (r.line - 1) * 16) {
				got += p.c;
				x = p.x;
			}
		EXPECT_EQ(got, std::string(r.gutter) + "a") << "line " << r.line;
		EXPECT_EQ(x, r.text_x) << "line " << r.line;
	}
}

/* A stop far right of any surface, for text that starts far right too:
   the column's end must stay right of the text, not wrap around to the
   left of it, which would break the line before every character.  The
   last column begins at the stop and ends at the width, left of it, so
   its text wraps once. */
TEST_F(View, StopFarBeyondAnySurface)
{
	const int x = 1 << 29;
	opts o = {.x = x, .tabs = {INT32_MAX}};
	EXPECT_EQ(run("ab cd\tx", o), 32);
	std::vector<pen> got = pens(o);
	ASSERT_EQ(got.size(), 5u);
	EXPECT_EQ(std::vector<pen>(got.begin(), got.end() - 1),
		(std::vector<pen>{{'a', x, 0}, {'b', x + 8, 0}, {'c', x + 20, 0},
		 {'d', x + 28, 0}}));
	EXPECT_GT(got[4].x, x + 36) << "right of the first column";
	EXPECT_EQ(got[4].y, 16);
}

/* Text that starts at the far left end of the int range lies wholly
   left of the surface.  SDL's own clipping overflows on destinations
   that far out, so those glyphs are not blitted; glyphs that SDL can
   clip, however far off, are still blitted as before. */
TEST_F(View, StartNearMostNegativeXDrawsNothing)
{
	struct { int x; bool blitted; } cases[] = {
		{INT32_MIN, false}, {INT32_MIN + 8, false}, {-2147483640, false},
		{INT32_MIN / 2, true},
	};
	for (const auto &k : cases)
		for (int16_t size : {int16_t(16), int16_t(rec::no_atlas_size)}) {
			SCOPED_TRACE(testing::Message() << "x " << k.x << " size " << size);
			opts o = {.flags = 0, .x = k.x, .gh = size};
			EXPECT_EQ(run("ab W\ncd", o), 2 * size);
			if (k.blitted)
				EXPECT_EQ(rec::blits.size(), 7u) << "1 a b W 2 c d";
			else
				EXPECT_EQ(rec::blits.size(), 0u);
			const Uint32 *px = (const Uint32 *)surf->pixels;
			int n = surf->h * surf->pitch / 4;
			EXPECT_EQ(std::count(px, px + n, 0u), n) << "the surface is untouched";
		}
}

/* A word's width is its length times the cell width, which for 524290
   bytes on cells of 8192 pixels is 2^32 + 16384: wrapped to an int it
   would seem to fit on a fresh line.  It fits nowhere, so it starts
   where it stands and breaks at the limit like any long word. */
TEST_F(View, WordWiderThanAnIntStaysWhereItStarts)
{
	std::string text = ".." + std::string(524290, 'a') + " b";
	opts o = {.gw = 8192, .width = 32767, .bottom = 40};
	run(text.c_str(), o);
	std::vector<pen> got = pens(o);
	ASSERT_GE(got.size(), 4u);
	EXPECT_EQ(std::vector<pen>(got.begin(), got.begin() + 4),
		(std::vector<pen>{{'.', 0, 0}, {'.', 8192, 0}, {'a', 16384, 0},
		 {'a', 0, 16}}));
}

/* Hit tests.  On "ab\ncd" line 1 is y 0..16, line 2 is y 16..32. */
struct hit_case {
	const char *name;
	const char *text;
	opts o;
	point q;
	int want;
};

const hit_case hits[] = {
	{"inside a cell, left half", "ab\ncd", {.width = 100}, {3, 5}, 0},
	{"inside a cell, right half", "ab\ncd", {.width = 100}, {5, 5}, 1},
	{"right of a line ended by a break", "ab\ncd", {.width = 100},
		{13, 5}, 2},
	{"right of the last line: the end", "ab\ncd", {.width = 100},
		{50, 20}, 5},
	{"last half cell of the width", "ab\ncd", {.width = 100}, {97, 5}, -1},
	{"below the last line", "ab\ncd", {.width = 100}, {5, 40}, -1},
	{"left of the start x", "ab\ncd", {.width = 100}, {-1, 5}, -1},
	{"above the start y", "ab\ncd", {.width = 100}, {5, -1}, -1},
	{"in the gutter, left of the first character", "ab\ncd", {.flags = 0},
		{5, 5}, -1},
	{"after the gutter", "ab\ncd", {.flags = 0}, {13, 5}, 0},
	/* "cdef" moves to line 2: line 1 ends after the space. */
	{"right of a line ended by a word wrap", "ab cdef", {.width = 40},
		{30, 5}, 2},
	{"right of the continuation line", "ab cdef", {.width = 40},
		{30, 20}, 7},
	/* Column 0 holds "abcde" over "fgh"; "x" starts column 1 at y 0. */
	{"beside a tall cell, left of the next column", "abcdefgh\tx\ny",
		{.tabs = {25}}, {40, 20}, 8},
};

std::ostream &operator<<(std::ostream &o, const hit_case &k)
{
	return o << k.name;
}

class Hit : public View, public ::testing::WithParamInterface<hit_case> {};

TEST_P(Hit, FindsPosition)
{
	const hit_case &k = GetParam();
	point q = k.q;
	int pos1 = 7, pos2 = -1;
	run(k.text, k.o, &q, nullptr, &pos1, &pos2);
	EXPECT_EQ(pos1, k.want);
}

INSTANTIATE_TEST_SUITE_P(Cases, Hit, ::testing::ValuesIn(hits),
	case_name);

TEST_F(View, TwoQueryPointsAtOnce)
{
	point q1 = {50, 20}, q2 = {3, 5};
	int pos1 = 0, pos2 = 0;
	run("ab\ncd", {.width = 100}, &q1, &q2, &pos1, &pos2);
	EXPECT_EQ(pos1, 5);
	EXPECT_EQ(pos2, 0);
}

TEST_F(View, HitsBelowTheBottomLimitAreNotFound)
{
	point q = {2, 40};
	int pos = 0, none = -1;
	run("a\nb\nc", {}, &q, nullptr, &pos, &none);
	EXPECT_EQ(pos, 4);
	q = {2, 40};
	run("a\nb\nc", {.bottom = 20}, &q, nullptr, &pos, &none);
	EXPECT_EQ(pos, -1);
}

/* Cursor bars on "ab\ncd", with both slots as inputs. */
struct bar_case {
	const char *name;
	int pos1, pos2;
	std::vector<SDL_Rect> want;
};

const bar_case bar_cases[] = {
	{"none", -1, -1, {}},
	{"one full bar", 1, 1, {{7, 0, 2, 16}}},
	{"two half bars", 0, 5, {{-1, 0, 2, 8}, {15, 16, 2, 8}}},
	{"at a line break, on the line it ends", 2, 2, {{15, 0, 2, 16}}},
};

std::ostream &operator<<(std::ostream &o, const bar_case &k)
{
	return o << k.name;
}

class Bar : public View, public ::testing::WithParamInterface<bar_case> {};

TEST_P(Bar, DrawsBars)
{
	const bar_case &k = GetParam();
	int pos1 = k.pos1, pos2 = k.pos2;
	run("ab\ncd", {.width = 100}, nullptr, nullptr, &pos1, &pos2);
	ASSERT_EQ(rec::bars.size(), k.want.size());
	for (size_t i = 0; i < k.want.size(); i++) {
		const SDL_Rect &g = rec::bars[i].r, &w = k.want[i];
		EXPECT_EQ(rec::bars[i].colour, 0xFF000000u);
		EXPECT_TRUE(g.x == w.x && g.y == w.y && g.w == w.w && g.h == w.h)
			<< "bar " << i << ": " << g.x << "," << g.y << " " << g.w << "x"
			<< g.h;
	}
	EXPECT_EQ(pos1, k.pos1);
	EXPECT_EQ(pos2, k.pos2);
}

INSTANTIATE_TEST_SUITE_P(Cases, Bar, ::testing::ValuesIn(bar_cases),
	case_name);

TEST_F(View, BarIsOpaqueBlackOnTheSurface)
{
	int pos = 1;
	run("ab", {}, nullptr, nullptr, &pos, &pos);
	const Uint32 *px = (const Uint32 *)surf->pixels;
	EXPECT_EQ(px[8 * surf->pitch / 4 + 7], 0xFF000000u);
}

/* Atlas glyphs are centred in the cell (halving toward zero), an empty
   atlas rectangle falls back to SDL_ttf, top-aligned. */
TEST_F(View, AtlasPlacementAndFallbackForEmptyRect)
{
	opts o;
	EXPECT_EQ(run("Wig~a", o), 16);
	ASSERT_EQ(rec::blits.size(), 6u);
	struct { char c; bool atlas; int x, y, w, h; } want[] = {
		{'W', true, -1, 3, 11, 10},    /* (8 - 11) / 2 = -1 */
		{'i', true, 10, 3, 3, 10},
		{'g', true, 17, 1, 6, 13},
		{'~', true, 28, 8, 0, 0},      /* empty: blitted, not drawn */
	};
	for (size_t i = 0; i < 4; i++) {
		const rec::blit &b = rec::blits[i];
		EXPECT_EQ(b.c, want[i].c);
		EXPECT_EQ(b.atlas, want[i].atlas);
		EXPECT_EQ(b.surf, font_surf);
		EXPECT_TRUE(b.dst.x == want[i].x && b.dst.y == want[i].y &&
			b.dst.w == want[i].w && b.dst.h == want[i].h)
			<< "blit " << i << ": " << b.dst.x << "," << b.dst.y << " "
			<< b.dst.w << "x" << b.dst.h;
	}
	const rec::blit &t = rec::blits[4];
	EXPECT_EQ(t.c, '~');
	EXPECT_FALSE(t.atlas);
	EXPECT_EQ(t.dst.x, 24 + (8 - t.src.w) / 2);
	EXPECT_EQ(t.dst.y, 0);
	EXPECT_TRUE(rec::was_freed(t.surf));
	EXPECT_EQ(rec::blits[5].c, 'a');
	EXPECT_EQ(rec::blits[5].dst.x, 33);
}

TEST_F(View, NoAtlasRendersEveryGlyphWithTtf)
{
	opts o = {.flags = 0, .gh = rec::no_atlas_size};
	EXPECT_EQ(run("ab", o), 18);
	EXPECT_EQ(font_surf, nullptr);
	EXPECT_EQ(pens(o), (std::vector<pen>{{'1', 0, 0}, {'a', 12, 0},
		{'b', 20, 0}}));
	for (const rec::blit &b : rec::blits) {
		EXPECT_FALSE(b.atlas);
		EXPECT_EQ(b.dst.y, 0);
		EXPECT_TRUE(rec::was_freed(b.surf)) << b.c;
	}
}

TEST_F(View, GlyphThatTtfCannotRenderIsSkipped)
{
	opts o = {.gh = rec::no_atlas_size};
	rec::null_glyph = 'b';
	run("abc", o);
	EXPECT_EQ(pens(o), (std::vector<pen>{{'a', 0, 0}, {'c', 8, 0}}));
}

/* Each call takes the atlas and rectangles of its own font size. */
TEST_F(View, UsesTheFontOfTheGlyphHeight)
{
	opts o = {.gw = 10, .gh = 20};
	run("a", o);
	font_entry *e = fontcache(20, 0);
	EXPECT_EQ(font_surf, e->surf);
	EXPECT_EQ(font_rarr, (void *)e->rarr);
	ASSERT_EQ(rec::blits.size(), 1u);
	/* Size 20 glyphs are 8x14: centred in a 10x20 cell. */
	EXPECT_EQ(rec::blits[0].dst.x, 1);
	EXPECT_EQ(rec::blits[0].dst.y, 3);
}

}

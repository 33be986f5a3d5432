/* The font cache, qrect, and the failure messages. */
#include <functional>

#include "tests/support/capture.h"
#include "tests/textview/fixture.h"

namespace {

std::string fonts(const char *file)
{
	return std::string(ORV_FONT_DIR) + "/" + file;
}

/* A size not in the cache yet, however often the tests run. */
int fresh_size()
{
	static int next = 40;
	return next++;
}

std::string here(int size, int style)
{
	return "here at creat fonts " + std::to_string(size) + " " +
		std::to_string(style) + "\n";
}

TEST_F(View, SameKeyOpensOnce)
{
	int n = fresh_size();
	stdout_capture out;
	font_entry *a = fontcache(n, 0);
	font_entry *b = fontcache(n, 0);
	EXPECT_EQ(out.str(), here(n, 0));
	EXPECT_EQ(a, b);
	EXPECT_EQ(a->size, n);
	EXPECT_EQ(a->style, 0);
	EXPECT_NE(a->font, nullptr);
	ASSERT_EQ(rec::opens.size(), 1u);
	EXPECT_EQ(rec::opens[0].path, fonts("LiberationSans-Regular.ttf"));
	EXPECT_EQ(rec::opens[0].size, n);
	ASSERT_EQ(rec::creats.size(), 1u);
	const rec::creat &c = rec::creats[0];
	EXPECT_EQ(c.surf, &a->surf);
	EXPECT_EQ(c.rarr, (void *)a->rarr);
	EXPECT_EQ(c.size, n);
	EXPECT_EQ(c.style, 0);
	EXPECT_TRUE(c.zeroed);
	EXPECT_NE(a->surf, nullptr);    /* the atlas the host stored */
}

TEST_F(View, EveryNonZeroStyleIsBoldWithAnEntryOfItsOwn)
{
	int n = fresh_size();
	stdout_capture out;
	fontcache(n, 0);
	fontcache(n, 1);
	fontcache(n, 2);
	font_entry *b200 = fontcache(n, (char)200);
	EXPECT_EQ(out.str(), here(n, 0) + here(n, 1) + here(n, 2) + here(n, 200));
	/* Earlier entries may have moved; look them up again. */
	font_entry *r = fontcache(n, 0);
	font_entry *b1 = fontcache(n, 1);
	font_entry *b2 = fontcache(n, 2);
	EXPECT_NE(b1, b2);
	EXPECT_NE(r, b1);
	EXPECT_EQ(b200->style, (char)200);
	ASSERT_EQ(rec::opens.size(), 4u);
	EXPECT_EQ(rec::opens[0].path, fonts("LiberationSans-Regular.ttf"));
	for (int i = 1; i < 4; i++)
		EXPECT_EQ(rec::opens[i].path, fonts("LiberationSans-Bold.ttf"));
	EXPECT_EQ(rec::creats[3].style, 200);
}

TEST_F(View, QrectFillsAndLeavesWhite)
{
	struct { uint32_t colour; Uint32 pixel; } cases[] = {
		{65535, 0xFFFF0000},            /* opaque red */
		{0x11223344, 0x44332211},       /* blue 11 green 22 red 33 alpha 44 */
	};
	for (const auto &k : cases) {
		qrect(2, 3, 4, 5, k.colour);
		const Uint32 *px = (const Uint32 *)surf->pixels;
		EXPECT_EQ(px[4 * surf->pitch / 4 + 3], k.pixel) << k.colour;
		Uint8 r, g, b, a;
		SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
		EXPECT_TRUE(r == 255 && g == 255 && b == 255 && a == 255)
			<< k.colour;
	}
}

struct failure {
	const char *op;
	std::function<void()> act;
	bool entry;             /* goes on to make a cache entry */
};

TEST_F(View, FailuresReportAndQuit)
{
	int pos = 0, n = fresh_size();
	const failure cases[] = {
		{"RenderFillRect", [&] {
			SDL_DestroyRenderer(renderer);
			renderer = nullptr;
			qrect(0, 0, 1, 1, 65535);
		}, false},
		{"FillRect", [&] {
			winsurf1 = nullptr;     /* cursor bar at the end */
			rendertext(0, 1, "", 0, 0, 8, 16, 100, nullptr, 0, 0, 0,
				nullptr, nullptr, &pos, &pos);
		}, false},
		{"BlitSurface", [&] {
			winsurf1 = nullptr;
			int none = -1;
			rendertext(0, 1, "a", 0, 0, 8, 16, 100, nullptr, 0, 0, 0,
				nullptr, nullptr, &none, &none);
		}, false},
		{"BlitSurface", [&] {
			winsurf1 = nullptr;     /* through SDL_ttf */
			int none = -1;
			rendertext(0, 1, "a", 0, 0, 8, rec::no_atlas_size, 100,
				nullptr, 0, 0, 0, nullptr, nullptr, &none, &none);
		}, false},
		{"OpenFont", [&] {
			rec::fail_open = true;
			fontcache(n, 0);
		}, true},
	};
	for (const failure &k : cases) {
		rec::reset();
		std::string got;
		{
			stdout_capture out;
			k.act();
			got = out.str();
		}
		std::string want = std::string("SDL_") + k.op + " failed: " +
			SDL_GetError() + "\nquit(2)\n" + (k.entry ? here(n, 0) : "");
		EXPECT_EQ(got, want);
		EXPECT_EQ(rec::quits, std::vector<int>{2}) << k.op;
		winsurf1 = surf.get();
		rec::fail_open = false;
	}
}

}

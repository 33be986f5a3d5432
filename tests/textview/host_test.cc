/* The host (host/): its glyph atlas, and drawing through it. */
#include <gtest/gtest.h>

#include "tests/support/sdl.h"
#include "textview/textview.h"
#include "textview/host.h"

namespace {

TEST(TextHost, AtlasHoldsThePrintableAscii)
{
	font_entry *e = fontcache(16, 0);
	ASSERT_NE(e->surf, nullptr);
	font_rarr = e->rarr;
	for (int c = 0; c < 256; c++) {
		char ch[2] = {(char)c, 0};
		SDL_Rect *r = font_rect(ch);
		if (c > 32 && c < 127) {
			EXPECT_TRUE(r->w > 0 && r->h > 0) << c;
			EXPECT_TRUE(r->x >= 0 && r->y >= 0 && r->x + r->w <= e->surf->w &&
				r->y + r->h <= e->surf->h) << c;
		} else {
			EXPECT_TRUE(r->w == 0 && r->h == 0) << c;
		}
	}
}

/* Ink lands in the cells of "Hi" and nowhere right of them. */
TEST(TextHost, DrawsFromTheAtlas)
{
	surface s = argb_surface(64, 24);
	ASSERT_NE(s, nullptr);
	SDL_FillRect(s.get(), nullptr, 0xFFFFFFFF);
	winsurf1 = s.get();
	fwin.bottom = 24;
	int none = -1;
	EXPECT_EQ(rendertext(0, 1, "Hi", 0, 0, 12, 20, 64, nullptr, 0, 0, 0,
		nullptr, nullptr, &none, &none), 20);
	EXPECT_NE(font_surf, nullptr);
	int ink[3] = {};
	for (int y = 0; y < s->h; y++)
		for (int x = 0; x < s->w; x++) {
			Uint32 p = ((Uint32 *)s->pixels)[y * s->pitch / 4 + x];
			if ((p & 0xFF) < 0x80)
				ink[x < 12 ? 0 : x < 24 ? 1 : 2]++;
		}
	EXPECT_GT(ink[0], 0);
	EXPECT_GT(ink[1], 0);
	EXPECT_EQ(ink[2], 0);
}

}

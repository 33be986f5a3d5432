/* Shared test scaffolding: a headless window on the recording host. */
#ifndef ORV_TESTS_TEXTVIEW_FIXTURE_H
#define ORV_TESTS_TEXTVIEW_FIXTURE_H

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/rechost.h"
#include "tests/support/sdl.h"

/* Layout parameters; the defaults are 8x16 cells without the gutter. */
struct opts {
	char flags = 1;
	int x = 0, y = 0;
	int16_t gw = 8, gh = 16, width = 200;
	std::vector<int32_t> tabs = {};
	int bottom = 10000;
};

/* A glyph as the layout placed it: the pen position it was drawn at. */
struct pen {
	char c;
	int x, y;
	bool operator==(const pen &) const = default;
};

inline std::ostream &operator<<(std::ostream &o, const pen &p)
{
	return o << "'" << p.c << "'@" << p.x << "," << p.y;
}

/* A software renderer on an ARGB surface: no display needed. */
class View : public ::testing::Test {
protected:
	surface surf = argb_surface(256, 128);

	void SetUp() override
	{
		ASSERT_NE(surf, nullptr);
		winsurf1 = surf.get();
		fwin.bottom = 10000;
		rec::fault = [](const char *what) { ADD_FAILURE() << what; };
		renderer = SDL_CreateSoftwareRenderer(surf.get());
		ASSERT_NE(renderer, nullptr);
		/* Open the common fonts now, outside any captured output. */
		fontcache(16, 0);
		fontcache(rec::no_atlas_size, 0);
		rec::reset();
		rec::fail_open = false;
		rec::null_glyph = 0;
	}
	void TearDown() override
	{
		if (renderer)
			SDL_DestroyRenderer(renderer);
	}

	int run(const char *text, const opts &o, point *q1 = nullptr,
		point *q2 = nullptr, int *pos1 = nullptr, int *pos2 = nullptr)
	{
		int none1 = -1, none2 = -1;
		fwin.bottom = o.bottom;
		rec::reset();
		return rendertext(0, o.flags, text, o.x, o.y, o.gw, o.gh, o.width,
			const_cast<int32_t *>(o.tabs.data()), (int)o.tabs.size(), 0, 0,
			q1, q2, pos1 ? pos1 : &none1, pos2 ? pos2 : &none2);
	}

	/* The glyphs drawn by the last run, with the pen positions they were
	   drawn at: atlas glyphs are centred in their cell, SDL_ttf glyphs
	   centred across and top-aligned. */
	static std::vector<pen> pens(const opts &o)
	{
		int cw = o.gw - o.gw % 2, lh = o.gh - o.gh % 2;
		std::vector<pen> v;
		for (const rec::blit &b : rec::blits) {
			if (b.atlas && (b.src.w <= 0 || b.src.h <= 0))
				continue;
			int y = b.atlas ? b.dst.y - (lh - b.dst.h) / 2 : b.dst.y;
			v.push_back({b.c, b.dst.x - (cw - b.dst.w) / 2, y});
		}
		return v;
	}
};

#endif

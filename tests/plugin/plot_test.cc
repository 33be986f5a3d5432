/* A host for the plug-in: it links SDL, so that SDL_FillRect is there
   for the plug-in to take, loads the library by its path and checks
   every pixel of surfaces of several sizes. */
#include <cstdint>
#include <dlfcn.h>

#include <gtest/gtest.h>

#include "plugin/plotplug.h"
#include "tests/support/sdl.h"

namespace {

struct Plug {
	void *h = dlopen(PLOTPLUG_PATH, RTLD_NOW | RTLD_LOCAL);
	decltype(&init_me) init = nullptr;
	decltype(&plot_g2) plot = nullptr;
	Plug()
	{
		if (!h)
			return;
		init = (decltype(init))dlsym(h, "init_me");
		plot = (decltype(plot))dlsym(h, "plot_g2");
	}
	~Plug()
	{
		if (h)
			dlclose(h);
	}
	Plug(const Plug &) = delete;
	Plug &operator=(const Plug &) = delete;
};

/* What a pixel holds before the plug-in runs: never the fill value. */
uint32_t before(int x, int y)
{
	return (uint32_t)(x * 2654435761u ^ y * 40503u) & 0x00ffffff;
}

/* Counts the pixels that are not what they should be: the fill inside
   columns and rows 12 to 18, the old value elsewhere. */
int wrong(SDL_Surface *s)
{
	int n = 0;
	for (int y = 0; y < s->h; y++) {
		auto row = (const uint32_t *)((const char *)s->pixels + y * s->pitch);
		for (int x = 0; x < s->w; x++) {
			bool in = x >= 12 && x < 19 && y >= 12 && y < 19;
			n += row[x] != (in ? 0xff000000 : before(x, y));
		}
	}
	return n;
}

TEST(Plotplug, FillsTheSquareClippedToTheSurface)
{
	Plug p;
	ASSERT_NE(p.h, nullptr) << dlerror();
	ASSERT_NE(p.init, nullptr);
	ASSERT_NE(p.plot, nullptr);

	const struct {
		int w, h;
	} sizes[] = {
		{1, 1}, {12, 12}, {12, 40}, {40, 12}, {13, 13}, {13, 40},
		{16, 16}, {18, 19}, {19, 18}, {20, 20}, {1280, 800},
	};
	for (auto [w, h] : sizes) {
		SCOPED_TRACE(testing::Message() << w << "x" << h);
		surface s = argb_surface(w, h);
		ASSERT_NE(s, nullptr) << SDL_GetError();
		for (int y = 0; y < h; y++) {
			auto row = (uint32_t *)((char *)s->pixels + y * s->pitch);
			for (int x = 0; x < w; x++)
				row[x] = before(x, y);
		}
		p.init();
		p.plot(s.get());
		EXPECT_EQ(wrong(s.get()), 0);
		/* again, with init_me between: the same square, nothing more */
		p.init();
		p.plot(s.get());
		p.init();
		EXPECT_EQ(wrong(s.get()), 0);
	}
}

} // namespace

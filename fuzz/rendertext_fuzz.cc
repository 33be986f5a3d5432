/* Fuzz target of the layout engine: the parameters and the text come
   from the input, and the text is drawn headless on a memory surface
   through a recording host.  Every call sets up its layout afresh, so
   nothing that one drawing leaves behind may change the next: each input
   is drawn twice with a fixed text drawn in between, and the drawings of
   the input must agree, as must those of the fixed text with its first.

   Input: a 47-byte header, then the text (it ends at the input's end or
   at its first NUL byte), integers little-endian:
     flags u8, gw i8, gh i8, x i32, y i32 (both halved, so that the
     layout's sums stay within an int), width i16, bottom i32,
     ntabs u8 (taken modulo 5), four tab stops i32 (the first ntabs used),
     query mask u8 (bit 0 q1, bit 1 q2), q1 x y, q2 x y (i16, in half
     pixels), pos1 i16, pos2 i16. */
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz/input.h"
#include "tests/support/rechost.h"

/* Rectangles compare field by field. */
static bool operator==(const SDL_Rect &a, const SDL_Rect &b)
{
	return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

namespace {

/* Fonts whose size is a multiple of 5 get no atlas, so that the SDL_ttf
   path is taken often.  The others get made-up glyph rectangles: some
   wider than a cell, some empty (those go through SDL_ttf as well). */
bool no_atlas(int size)
{
	return size % 5 == 0;
}

SDL_Rect glyph(unsigned char c, int size)
{
	SDL_Rect r = {c % 4, 0, size / 2 - 2, size - 6};

	if (c == 'W' || c == 'm')
		r.w = size + 3;
	if (c == '~' || c < 33 || c > 126)
		r.w = r.h = 0;
	return r;
}

/* One blit or fill, as the library asked for it. */
struct draw {
	bool fill;
	SDL_Rect src, dst;
	uint32_t colour;
	bool operator==(const draw &) const = default;
};

}

namespace {

struct params {
	char flags;
	int16_t gw, gh;
	int x, y;
	int16_t width;
	int bottom;
	int ntabs;
	int32_t tabs[4];
	bool has[2];
	point q[2];
	int pos[2];
};

params decode(input &in)
{
	params a;
	a.flags = (char)in.u8();
	a.gw = in.i8();
	a.gh = in.i8();
	a.x = in.i32() / 2;
	a.y = in.i32() / 2;
	a.width = in.i16();
	a.bottom = in.i32();
	a.ntabs = in.u8() % 5;
	for (int32_t &t : a.tabs)
		t = in.i32();
	uint8_t mask = in.u8();
	for (int i = 0; i < 2; i++) {
		a.has[i] = mask >> i & 1;
		a.q[i].x = in.i16() / 2.0;
		a.q[i].y = in.i16() / 2.0;
	}
	for (int &p : a.pos)
		p = in.i16();
	return a;
}

/* What one drawing did. */
struct result {
	int ret;
	int pos[2];
	std::vector<draw> draws;
	size_t quits;
	bool operator==(const result &) const = default;
};

result run(const params &a, const std::string &text)
{
	point q[2] = {a.q[0], a.q[1]};
	result r;
	r.pos[0] = a.pos[0];
	r.pos[1] = a.pos[1];
	rec::reset();
	fwin.bottom = a.bottom;
	r.ret = rendertext(0, a.flags, text.c_str(), a.x, a.y, a.gw, a.gh,
		a.width, const_cast<int32_t *>(a.tabs), a.ntabs, 0, 0,
		a.has[0] ? &q[0] : nullptr, a.has[1] ? &q[1] : nullptr,
		&r.pos[0], &r.pos[1]);
	r.draws.reserve(rec::blits.size() + rec::bars.size());
	for (const rec::blit &b : rec::blits)
		r.draws.push_back({false, b.src, b.dst, 0});
	for (const rec::bar &b : rec::bars)
		r.draws.push_back({true, {}, b.r, b.colour});
	r.quits = rec::quits.size();
	return r;
}

/* The fixed text: gutter, wrapping, a column, a hit and a bar. */
const params fixed = {0, 8, 16, 4, 2, 100, 1000, 1, {50}, {true, false},
	{{30, 20}, {}}, {-1, 3}};
const std::string fixed_text = "ab cdefgh\tij\n  klmnopq rs";
result first;

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
	rec::no_atlas = no_atlas;
	rec::glyph_rect = glyph;
	/* Kept to the end of the run, like a host's window. */
	winsurf1 = SDL_CreateRGBSurfaceWithFormat(0, 320, 200, 32,
		SDL_PIXELFORMAT_ARGB8888);
	if (!winsurf1)
		abort();
	first = run(fixed, fixed_text);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	input in = {data, size};
	params a = decode(in);
	std::string text = in.rest();
	int len = (int)strlen(text.c_str());

	result r = run(a, text);
	if (!(run(fixed, fixed_text) == first) || !(run(a, text) == r))
		abort();    /* state left over from a drawing before */
	/* Every font opens and the surfaces take every blit and fill. */
	if (r.quits)
		abort();
	/* A hit is a place in the text, or -1 for none. */
	for (int i = 0; i < 2; i++)
		if (a.has[i] && (r.pos[i] < -1 || r.pos[i] > len))
			abort();
	/* Each place is passed once: one bar per marked place at most. */
	int bars = 0;
	for (const draw &d : r.draws)
		bars += d.fill;
	if (bars > 2 || (bars > 1 && !a.has[0] && !a.has[1] &&
	    a.pos[0] == a.pos[1]))
		abort();
	return 0;
}

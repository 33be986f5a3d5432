/* Redraw costs of rendertext through the host: a full 1280x800 window
   of 8x16 cells from the glyph atlas and from SDL_ttf, and the skip
   phase of a long text scrolled to its end, beside strcspn. */
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <benchmark/benchmark.h>

#include "textview/textview.h"
#include "textview/host.h"

namespace {

constexpr int W = 1280, H = 800, GW = 8, GH = 16;

/* Prose of fixed words in lines of about `len` bytes. */
std::string prose(int lines, int len)
{
	static const char *words[] = {"the", "layout", "engine", "places",
		"every", "glyph", "on", "a", "grid", "of", "cells,", "wraps",
		"long", "lines", "and", "draws", "numbers", "in", "its", "gutter."};
	std::string t;
	unsigned k = 0;
	for (int i = 0; i < lines; i++) {
		size_t start = t.size();
		while (t.size() - start < (size_t)len) {
			t += words[k++ % 20];
			t += ' ';
		}
		t += '\n';
	}
	return t;
}

struct window {
	window()
	{
		winsurf1 = SDL_CreateRGBSurfaceWithFormat(0, W, H, 32,
			SDL_PIXELFORMAT_ARGB8888);
		fwin.bottom = H;
	}
	~window() { SDL_FreeSurface(winsurf1); }
};

int draw(const std::string &t, int y)
{
	int none = -1;
	return rendertext(0, 0, t.c_str(), 0, y, GW, GH, W, nullptr, 0, 0, 0,
		nullptr, nullptr, &none, &none);
}

/* One screen and a bit: 60 lines of about 150 bytes. */
void redraw(benchmark::State &st, bool atlas)
{
	window w;
	std::string t = prose(60, 150);
	font_entry *e = fontcache(GH, 0);
	SDL_Surface *keep = e->surf;
	if (!atlas)
		e->surf = nullptr;  /* no atlas: every glyph through SDL_ttf */
	for (auto _ : st)
		benchmark::DoNotOptimize(draw(t, 0));
	fontcache(GH, 0)->surf = keep;
	st.counters["bytes"] = (double)t.size();
}

void BM_RedrawAtlas(benchmark::State &st) { redraw(st, true); }
void BM_RedrawFallback(benchmark::State &st) { redraw(st, false); }

/* 100,000 lines scrolled so that the last screen shows; the bottom
   limit sits above the window, so only the skip phase runs. */
void BM_SkipToLastScreen(benchmark::State &st)
{
	window w;
	std::string t = prose(100000, 60);
	int y = -(100000 - H / GH) * GH;
	fwin.bottom = -GH;
	for (auto _ : st)
		benchmark::DoNotOptimize(draw(t, y));
	st.counters["bytes"] = (double)t.size();
}

/* 10 MB of 200,000 lines, scrolled past its end: the skip phase walks
   every byte; beside it, the C library's strcspn over the same bytes,
   one call per line as the skip needs. */
const std::string &ten_mb()
{
	static const std::string t = prose(200000, 46);
	return t;
}

void BM_SkipTenMB(benchmark::State &st)
{
	window w;
	const std::string &t = ten_mb();
	fwin.bottom = -GH;
	for (auto _ : st)
		benchmark::DoNotOptimize(draw(t, -300000 * GH));
	st.counters["bytes"] = (double)t.size();
}

void BM_StrcspnTenMB(benchmark::State &st)
{
	const std::string &t = ten_mb();
	for (auto _ : st) {
		const char *p = t.c_str();
		int lines = 0;
		for (;;) {
			p += strcspn(p, "\r\n");
			if (!*p)
				break;
			p++;
			lines++;
		}
		benchmark::DoNotOptimize(lines);
	}
	st.counters["bytes"] = (double)t.size();
}

BENCHMARK(BM_RedrawAtlas)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RedrawFallback)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkipToLastScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SkipTenMB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StrcspnTenMB)->Unit(benchmark::kMicrosecond);

/* Keeps each benchmark's time per iteration for the ratio. */
class keeper : public benchmark::ConsoleReporter {
public:
	std::map<std::string, double> ns;
	keeper() : ConsoleReporter(OO_Tabular) {}
	void ReportRuns(const std::vector<Run> &runs) override
	{
		for (const Run &r : runs)
			ns[r.benchmark_name()] = r.GetAdjustedRealTime();
		ConsoleReporter::ReportRuns(runs);
	}
};

}

int main(int argc, char **argv)
{
	benchmark::Initialize(&argc, argv);
	keeper k;
	benchmark::RunSpecifiedBenchmarks(&k);
	auto a = k.ns.find("BM_RedrawAtlas"), f = k.ns.find("BM_RedrawFallback");
	if (a != k.ns.end() && f != k.ns.end() && f->second > 0)
		printf("atlas/fallback: %.3f\n", a->second / f->second);
	auto sk = k.ns.find("BM_SkipTenMB"), sc = k.ns.find("BM_StrcspnTenMB");
	if (sk != k.ns.end() && sc != k.ns.end() && sc->second > 0)
		printf("skip/strcspn: %.2f\n", sk->second / sc->second);
	benchmark::Shutdown();
	return 0;
}

/* The editor's own work for one keystroke on a large file: a byte typed
   near the end of a 10 MB file of 200,000 lines, inserted through
   editbuf, then the frame that shows it laid out and drawn (the first
   row found through the line index, the visible rows, the status line).  On SDL's
   offscreen driver, in an 800x480 window: the figure leaves out only the
   copy of the finished frame to the screen. */
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "orvedit/edit.h"

namespace {

/* 200,000 lines of 49 bytes and a line feed: 10,000,000 bytes. */
std::string big_file()
{
	char name[] = "/tmp/orvedit-bench-XXXXXX";
	int fd = mkstemp(name);
	std::string line = "the layout engine places every glyph on a grid";
	line.resize(49, '.');
	line += '\n';
	std::string t;
	t.reserve(line.size() * 200000);
	for (int i = 0; i < 200000; i++)
		t += line;
	if (write(fd, t.data(), t.size()) != (ssize_t)t.size())
		perror("write");
	close(fd);
	return name;
}

void key(editor &e, SDL_Keycode k, Uint16 mod)
{
	SDL_Event ev{};
	ev.type = SDL_KEYDOWN;
	ev.key.keysym.sym = k;
	ev.key.keysym.mod = mod;
	SDL_PushEvent(&ev);
	edit_pump(e);
}

/* SDL's video, ended after the editor made with it. */
struct video {
	~video() { SDL_Quit(); }
};

struct big {
	std::string path = big_file();
	video sdl;
	editor e{};
	big()
	{
		SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen",
			SDL_HINT_OVERRIDE);
		SDL_Init(SDL_INIT_VIDEO);
		edit_opts o;
		o.hidden = true;
		std::string err;
		if (!edit_open(e, path.c_str(), o, err))
			fprintf(stderr, "%s\n", err.c_str());
		/* Near the end: ten lines up from the last. */
		key(e, SDLK_END, KMOD_LCTRL);
		for (int i = 0; i < 10; i++)
			key(e, SDLK_UP, 0);
	}
	~big() { unlink(path.c_str()); }
};

void BM_Keystroke(benchmark::State &st)
{
	big b;
	SDL_Event ev{};
	ev.type = SDL_TEXTINPUT;
	ev.text.text[0] = 'x';
	for (auto _ : st) {
		SDL_PushEvent(&ev);
		edit_pump(b.e);
	}
	st.counters["bytes"] = (double)b.e.len;
	st.counters["lines"] = (double)ln_count(b.e.lines);
	st.counters["top_line"] = (double)(ln_of(b.e.lines, b.e.top) + 1);
}

/* The frame alone, with nothing to handle. */
void BM_Frame(benchmark::State &st)
{
	big b;
	for (auto _ : st)
		edit_pump(b.e);
}

/* The recovery file of the 10 MB text, written as after a pause in
   typing: the write and its flush to disk.  In /var/tmp, on a disk
   rather than in memory where the flush costs nothing. */
void BM_RecoveryWrite(benchmark::State &st)
{
	char dir[] = "/var/tmp/orvedit-state-XXXXXX";
	if (!mkdtemp(dir)) {
		st.SkipWithError("no folder in /var/tmp");
		return;
	}
	setenv("XDG_STATE_HOME", dir, 1);
	big b;
	for (auto _ : st)
		if (!rec_write(b.e))
			st.SkipWithError(b.e.notice.c_str());
	rec_drop(b.e);
	rmdir((std::string(dir) + "/orvedit").c_str());
	rmdir(dir);
}

BENCHMARK(BM_Keystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMillisecond);

}

BENCHMARK_MAIN();

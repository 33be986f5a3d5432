/* One keystroke of the editor where the view is costly to find: at the
   start and at the end of a file of 771,000 lines (about 50 MB), and at
   the end of a line of 1 MB.  Beside each, the buffer's own insert at
   the same place (ed_insert, which measures the text and moves what
   follows): what a keystroke costs beyond it is the editor's (history,
   line index, finding the view, laying out and drawing the rows shown).
   On SDL's offscreen driver in an 800x480 window; read the CPU column. */
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include "orvedit/edit.h"

namespace {

enum where { START, END, LONG_LINE };

/* Lines of code-like words, 0 to 128 bytes: 771,000 of them, about
   50 MB; or short lines around one of 1 MB. */
std::string text(where w)
{
	std::string t;
	std::mt19937 rng(771);
	const char *words[] = {"int", "return", "if", "(n", "=", "0;", "for",
		"i++)", "{", "}", "static", "const", "char", "*s,", "size_t",
		"caf\xc3\xa9", "\t", "the", "value", "of", "count", "+=", "1;"};
	int lines = w == LONG_LINE ? 2000 : 771000;
	for (int i = 0; i < lines; i++) {
		size_t want = i == lines / 2 && w == LONG_LINE ? 1 << 20 : rng() % 129;
		size_t n = t.size();
		while (t.size() - n < want) {
			t += words[rng() % (sizeof words / sizeof *words)];
			t += ' ';
		}
		t += '\n';
	}
	return t;
}

/* Where the cursor goes: the text's start or end, or the end of the
   long line. */
int place(const std::string &t, where w)
{
	if (w == START)
		return 0;
	if (w == END)
		return (int)t.size();
	size_t a = 0;
	for (int i = 0; i < 1000; i++)
		a = t.find('\n', a) + 1;
	return (int)t.find('\n', a);
}

std::string file_of(const std::string &t)
{
	char name[] = "/tmp/orvedit-bench-XXXXXX";
	int fd = mkstemp(name);
	if (write(fd, t.data(), t.size()) != (ssize_t)t.size())
		perror("write");
	close(fd);
	return name;
}

void BM_Keystroke(benchmark::State &st)
{
	where w = (where)st.range(0);
	std::string t = text(w), path = file_of(t);
	SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "offscreen",
		SDL_HINT_OVERRIDE);
	SDL_Init(SDL_INIT_VIDEO);
	editor e{};
	edit_opts o;
	o.hidden = true;
	std::string err;
	if (!edit_open(e, path.c_str(), o, err))
		st.SkipWithError(err.c_str());
	e.cur = place(t, w);
	e.follow = true;
	edit_pump(e);
	SDL_Event ev{};
	ev.type = SDL_TEXTINPUT;
	ev.text.text[0] = 'x';
	for (auto _ : st) {
		SDL_PushEvent(&ev);
		edit_pump(e);
	}
	st.counters["bytes"] = (double)e.len;
	st.counters["line"] = (double)(ln_of(e.lines, e.cur) + 1);
	edit_close(e);
	SDL_Quit();
	unlink(path.c_str());
}

void BM_BufferInsert(benchmark::State &st)
{
	where w = (where)st.range(0);
	std::string t = text(w);
	ed_file f = {nullptr, strdup(t.c_str()), (int32_t)t.size() + 1};
	int pos = place(t, w);
	extend_file(&f, 1 << 20);
	for (auto _ : st) {
		ed_insert(&f, "x", pos++);
		benchmark::ClobberMemory();
	}
	free(f.text);
}

void places(benchmark::internal::Benchmark *b)
{
	b->ArgName("at")->Arg(START)->Arg(END)->Arg(LONG_LINE);
	b->Unit(benchmark::kMillisecond);
	b->Iterations(200);
}

BENCHMARK(BM_Keystroke)->Apply(places);
BENCHMARK(BM_BufferInsert)->Apply(places);

}

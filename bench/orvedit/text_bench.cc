/* The editor's text modules on a file the size of a large log or source
   dump: 771,000 lines in about 50 MB.  A search that finds nothing scans
   all of it; the line index follows a Return typed and taken back at the
   end (and at the start, where every line start after it moves), and a
   byte in a 1 MB line, which is scanned again whole; a column is counted
   at the end of a 1 MB line. */
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "orvedit/lines.h"
#include "orvedit/search.h"
#include "orvedit/utf8.h"

namespace {

constexpr int nlines = 771000;

/* Lines of words and punctuation as in code, 0 to 128 bytes long: about
   50 MB in all.  Built once, the same on every run. */
const std::string &big()
{
	static std::string t;
	if (!t.empty())
		return t;
	const char *words[] = {"int", "return", "if", "(n", "=", "0;", "for",
		"i++)", "{", "}", "static", "const", "char", "*s,", "size_t",
		"len", "buf[i]", "->next", "while", "struct", "node", "//",
		"the", "value", "of", "count", "+=", "1;", "é", "\t"};
	std::mt19937 rng(771);
	t.reserve(52 << 20);
	for (int i = 0; i < nlines; i++) {
		size_t want = rng() % 129, n = t.size();
		while (t.size() - n < want) {
			t += words[rng() % (sizeof words / sizeof *words)];
			t += ' ';
		}
		t += '\n';
	}
	return t;
}

/* A pattern that is nowhere in the text, found from its start: the
   whole text is scanned and the search wraps round to where it began. */
void BM_SearchMiss(benchmark::State &st, const char *pat)
{
	const std::string &t = big();
	pattern p = sr_pattern(pat);
	bool w;
	for (auto _ : st)
		benchmark::DoNotOptimize(sr_next(t, p, 1, w));
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)t.size());
}

void BM_SearchMissBack(benchmark::State &st, const char *pat)
{
	const std::string &t = big();
	pattern p = sr_pattern(pat);
	bool w;
	for (auto _ : st)
		benchmark::DoNotOptimize(sr_prev(t, p, (int)t.size() - 1, w));
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)t.size());
}

BENCHMARK_CAPTURE(BM_SearchMiss, folded, "no_such_name")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchMiss, exact, "NoSuchName")->Unit(benchmark::kMillisecond);
/* Every byte of the pattern is frequent: it stops at each 'e' or 'E'. */
BENCHMARK_CAPTURE(BM_SearchMiss, common, "eee")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchMissBack, folded, "no_such_name")->Unit(benchmark::kMillisecond);

/* Indexing the whole text, as on opening it. */
void BM_LinesBuild(benchmark::State &st)
{
	const std::string &t = big();
	line_index l;
	for (auto _ : st)
		ln_build(l, t);
	st.counters["lines"] = ln_count(l);
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)t.size());
}
BENCHMARK(BM_LinesBuild)->Unit(benchmark::kMillisecond);

/* A line break typed into the line at the given percentage of the text
   and taken back: two updates of the index, one line more and one less.
   The texts before and after are both kept, so no time goes to moving
   50 MB of text. */
void BM_LinesEdit(benchmark::State &st)
{
	const std::string &a = big();
	line_index l;
	ln_build(l, a);
	int line = (int)((int64_t)(ln_count(l) - 1) * st.range(0) / 100);
	int pos = ln_start(l, line) + 3;
	std::string b = a;
	b.insert(b.begin() + pos, '\n');
	for (auto _ : st) {
		ln_edit(l, b, pos, 0, 1);
		ln_edit(l, a, pos, 1, 0);
	}
	st.counters["line"] = line;
}
BENCHMARK(BM_LinesEdit)->Arg(100)->Arg(0)->Unit(benchmark::kMicrosecond);

/* A byte typed into the middle of a 1 MB line and taken back. */
void BM_LinesEditLongLine(benchmark::State &st)
{
	std::string a = "before\n", b;
	a.append(1 << 20, 'x');
	a += "\nafter\n";
	int pos = 7 + (1 << 19);
	b = a;
	b.insert(b.begin() + pos, 'y');
	line_index l;
	ln_build(l, a);
	for (auto _ : st) {
		ln_edit(l, b, pos, 0, 1);
		ln_edit(l, a, pos, 1, 0);
	}
}
BENCHMARK(BM_LinesEditLongLine)->Unit(benchmark::kMicrosecond);

/* The cursor's column at the end of a 1 MB line: minified code, ASCII
   with a word of UTF-8 now and then; and the worst case, a tab or a
   UTF-8 character in every 8 bytes. */
void BM_ColumnLongLine(benchmark::State &st, const char *piece)
{
	std::string t;
	while (t.size() < (1 << 20))
		t += piece;
	for (auto _ : st)
		benchmark::DoNotOptimize(u8_col(t, 0, (int)t.size(), 4));
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)t.size());
}
BENCHMARK_CAPTURE(BM_ColumnLongLine, code,
	"{\"name\":\"caf\xc3\xa9\",\"items\":[1,2,3],\"ok\":true,"
	"\"next\":null,\"text\":\"a value of some length\"},")
	->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ColumnLongLine, dense, "caf\xc3\xa9\tx = y + 1; ")
	->Unit(benchmark::kMicrosecond);

}

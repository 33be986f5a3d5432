/* One byte typed in the middle of a large text: ed_insert beside a
   plain memmove of the same tail, the least any insertion into one
   string can cost.  Bytes per second count the tail moved. */
#include <cstdlib>
#include <cstring>

#include <benchmark/benchmark.h>

#include "editbuf/editbuf.h"

namespace {

/* A text of n bytes, lines of 63 letters, in a block that holds it and
   its NUL exactly, as after extend_file(f, 0). */
char *text(long n)
{
	char *t = (char *)malloc((size_t)n + 1);
	for (long i = 0; i < n; i++)
		t[i] = i % 64 == 63 ? '\n' : (char)('a' + i % 26);
	t[n] = 0;
	return t;
}

/* Insertions that fit: the block has room for a million more bytes. */
void BM_EdInsert(benchmark::State &st)
{
	long n = st.range(0);
	ed_file f = {nullptr, text(n), (int32_t)(n + 1)};
	int pos = (int)(n / 2);

	extend_file(&f, 1 << 20);
	for (auto _ : st) {
		ed_insert(&f, "x", pos);
		benchmark::ClobberMemory();
	}
	st.SetBytesProcessed((int64_t)st.iterations() * (n + 1 - pos));
	free(f.text);
}

/* Insertions into a full block: each one regrows it, copying the whole
   text into a new block with 100 bytes to spare.  Typing regrows once
   in 101 insertions. */
void BM_EdInsertRegrow(benchmark::State &st)
{
	long n = st.range(0);
	ed_file f = {nullptr, text(n), (int32_t)(n + 1)};
	int pos = (int)(n / 2);

	for (auto _ : st) {
		st.PauseTiming();
		extend_file(&f, 0);
		st.ResumeTiming();
		ed_insert(&f, "x", pos);
		benchmark::ClobberMemory();
	}
	st.SetBytesProcessed((int64_t)st.iterations() * (n + 1 - pos));
	free(f.text);
}

/* The same tail moved one byte on, in a block with room for it. */
void BM_Memmove(benchmark::State &st)
{
	long n = st.range(0);
	char *t = text(n + 1);
	long pos = n / 2;

	for (auto _ : st) {
		memmove(t + pos + 1, t + pos, (size_t)(n + 1 - pos));
		benchmark::ClobberMemory();
	}
	st.SetBytesProcessed((int64_t)st.iterations() * (n + 1 - pos));
	free(t);
}

}  // namespace

BENCHMARK(BM_EdInsert)->Arg(1000000)->Arg(10000000)->Arg(100000000)
	->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EdInsertRegrow)->Arg(1000000)->Arg(10000000)->Arg(100000000)
	->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Memmove)->Arg(1000000)->Arg(10000000)->Arg(100000000)
	->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

/* The evaluator's throughput in tokens per second as its definition
   grows, the cost of long tokens, and the cost of a call of a library
   function.  Standard output, where every token is traced, goes to
   /dev/null while parse runs and comes back for the report.

   The function libraries are found through the program's run path, set
   to tests/standins/orvlib/quiet by the build: "orvlib.so" and "orvrlib.so"
   there export f, which answers its argument and prints nothing. */
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>

#include "interp/interp.h"

namespace {

/* Sends fd 1 to /dev/null for as long as it lives. */
class devnull {
	int saved;

public:
	devnull()
	{
		fflush(stdout);
		saved = dup(1);
		int fd = open("/dev/null", O_WRONLY);
		dup2(fd, 1);
		close(fd);
	}
	~devnull()
	{
		fflush(stdout);
		dup2(saved, 1);
		close(saved);
	}
	devnull(const devnull &) = delete;
	devnull &operator=(const devnull &) = delete;
};

/* Tokens that parse reads in a definition: one per delimiter, one more
   at the end. */
long tokens(const std::string &def)
{
	long n = 1;
	for (char c : def)
		if (strchr("({,})", c))
			n++;
	return n;
}

const char adef[] = "{3,9}";

/* A definition of about `bytes` bytes: a run of the same small list of
   a number, a negative number, a string and the name of the object A,
   each one a nested parse of "{3,9}". */
const char chunk[] = "{12.5,-3,@a b,A},";

value eval(const char *def)
{
	return parse(orvo_set("x", def, 0), nullptr, 0, 1, 1, 0);
}

/* Values are never released, so every evaluation keeps its lists: a
   10 MB definition keeps about 300 MB per evaluation. */
void BM_Eval(benchmark::State &st)
{
	long k = st.range(0) / (long)(sizeof chunk - 1);
	std::string def;
	for (long i = 0; i < k; i++)
		def += chunk;
	long n = tokens(def) + k * tokens(adef);

	orvo_set("A", adef, 0);
	{
		devnull quiet;
		for (auto _ : st)
			benchmark::DoNotOptimize(eval(def.c_str()));
	}
	st.SetComplexityN(n);
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)def.size());
	st.counters["tokens"] = (double)n;
	st.counters["tok/s"] = benchmark::Counter((double)n * (double)st.iterations(),
		benchmark::Counter::kIsRate);
	st.counters["s/tok"] = benchmark::Counter((double)n * (double)st.iterations(),
		benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void evalbytes(benchmark::State &st, const std::string &def)
{
	{
		devnull quiet;
		for (auto _ : st)
			benchmark::DoNotOptimize(eval(def.c_str()));
	}
	st.SetBytesProcessed((int64_t)st.iterations() * (int64_t)def.size());
}

/* One string token of `len` bytes.  The scanner and the whitespace
   cleaning append it one byte at a time, reallocating at every byte,
   but carry its length: the cost grows with the length alone. */
void BM_LongToken(benchmark::State &st)
{
	std::string def((size_t)st.range(0) + 1, 'x');

	def[0] = '@';
	evalbytes(st, def);
	st.SetComplexityN(st.range(0));
}

/* The same definition size, 1000 strings of 1 KiB and the commas between
   them (1,024,999 bytes), cut into `k` tokens: one token of all of it,
   or k strings and their commas.  A long token must cost no more per
   byte than many short ones. */
void BM_Split(benchmark::State &st)
{
	const size_t total = 1000 * 1024 + 999;
	size_t k = (size_t)st.range(0);
	size_t each = (total - (k - 1)) / k;
	std::string def;

	for (size_t i = 0; i < k; i++) {
		if (i)
			def += ',';
		def += '@';
		def.append(each - 1, 'x');
	}
	evalbytes(st, def);
	st.counters["tokens"] = (double)k;
}

/* Three tokens, with and without a call of f at "(": the difference is
   what a lookup and a call cost. */
void call(benchmark::State &st, const char *def)
{
	value v;
	{
		devnull quiet;
		v = eval(def);
		for (auto _ : st)
			benchmark::DoNotOptimize(eval(def));
	}
	if (v.type != T_NUM || v.num != 1)
		st.SkipWithError("f not found: is tests/standins/orvlib/quiet on the run path?");
}

void closeresident()
{
	if (residentlib)
		dlclose(residentlib);
	residentlib = nullptr;
}

/* "{1}": three tokens, no lookup. */
void BM_NoCall(benchmark::State &st)
{
	call(st, "{1}");
}

/* "f(1)" with only the general library: c_lookup closes "orvlib.so"
   and opens it afresh. */
void BM_CallGeneral(benchmark::State &st)
{
	closeresident();
	call(st, "f(1)");
}

/* "f(1)" answered by the resident library, the general one untouched. */
void BM_CallResident(benchmark::State &st)
{
	reloadresidentlib();
	if (!residentlib) {
		st.SkipWithError("orvrlib.so not found");
		return;
	}
	call(st, "f(1)");
	closeresident();
}

}  // namespace

BENCHMARK(BM_Eval)->RangeMultiplier(10)->Range(100000, 10000000)
	->Unit(benchmark::kMillisecond)->Complexity(benchmark::oAuto);
BENCHMARK(BM_LongToken)->RangeMultiplier(10)->Range(1000, 1000000)
	->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oAuto);
BENCHMARK(BM_Split)->Arg(1)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NoCall)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallGeneral)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CallResident)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

// Cost per call of the geometry routines, beside libm's sqrt and cos.
#include <cmath>

#include <benchmark/benchmark.h>

#include "geom/geom.h"

namespace {

constexpr unsigned nin = 256;	// inputs cycle, so no call is folded away

struct Inputs {
	double root[nin];	// radicands in [0.5, 1000)
	double ang[nin];	// angles in [-3.6, 3.6)
	double slope[nin];	// slopes in [-20, 20)
	point pt[nin];
};

Inputs make_inputs()
{
	Inputs in;
	for (unsigned i = 0; i < nin; i++) {
		double u = std::fmod(i * 0.6180339887498949, 1.0);
		in.root[i] = 0.5 + u * 999.5;
		in.ang[i] = -3.6 + u * 7.2;
		in.slope[i] = -20 + u * 40;
		in.pt[i] = {u * 100, (1 - u) * 50};
	}
	return in;
}

const Inputs in = make_inputs();

void bm_sqrt2b(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st)
		benchmark::DoNotOptimize(sqrt2b(in.root[i++ % nin]));
}

void bm_libm_sqrt(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st)
		benchmark::DoNotOptimize(std::sqrt(in.root[i++ % nin]));
}

void bm_cos1(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st)
		benchmark::DoNotOptimize(cos1(in.ang[i++ % nin]));
}

void bm_libm_cos(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st)
		benchmark::DoNotOptimize(std::cos(in.ang[i++ % nin]));
}

void bm_atan0(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st)
		benchmark::DoNotOptimize(atan0(in.slope[i++ % nin]));
}

void bm_segment(benchmark::State &st)
{
	unsigned i = 0;
	for (auto _ : st) {
		benchmark::DoNotOptimize(segment(&in.pt[i % nin], &in.pt[(i + 1) % nin]));
		i++;
	}
}

void bm_curve2(benchmark::State &st)
{
	const point a{2, 3}, b{1, 1}, c{4, 1};
	unsigned i = 0;

	curve_init(&a, &b, &c);
	for (auto _ : st)
		benchmark::DoNotOptimize(curve2(in.ang[i++ % nin])->x);
}

}  // namespace

BENCHMARK(bm_libm_sqrt);
BENCHMARK(bm_sqrt2b);
BENCHMARK(bm_libm_cos);
BENCHMARK(bm_cos1);
BENCHMARK(bm_atan0);
BENCHMARK(bm_segment);
BENCHMARK(bm_curve2);

BENCHMARK_MAIN();

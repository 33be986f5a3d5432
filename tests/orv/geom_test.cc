// The geometry function library orvlib.so: each function against
// geomlib itself, bit for bit, bad arguments, the routines it keeps to
// itself, orvcalc's run with it, and the example.
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geom/geom.h"
#include "tests/orv/number.h"
#include "tests/orv/run.h"

namespace {

const std::string lib = GEOMFN;

std::string pt(const point &p)
{
	return "{" + jsnum(p.x) + "," + jsnum(p.y) + "}";
}

// The values of definitions "d0 = ...", "d1 = ..." through the library.
std::vector<std::string> values(const std::vector<std::string> &defs, int status = 0)
{
	tmpdir d;
	std::string text;
	std::vector<std::string> args = {"-l", lib, d / "defs.orv"};
	for (size_t i = 0; i < defs.size(); i++) {
		text += "d" + std::to_string(i) + " = " + defs[i] + "\n";
		args.insert(args.end(), {"-p", "d" + std::to_string(i)});
	}
	writefile(d / "defs.orv", text);
	child c = orv({args});
	EXPECT_EQ(c.status, status) << c.err;
	std::vector<std::string> v;
	std::istringstream s(c.out);
	for (std::string l; std::getline(s, l);)
		v.push_back(l.substr(l.find(" = ") + 3));
	EXPECT_EQ(v.size(), defs.size());
	v.resize(defs.size());
	return v;
}

TEST(GeomLibrary, Functions)
{
	point a{2, 3}, b{1, 1}, c{4, 1}, d;
	curve_init(&a, &b, &c);
	point arc = *curve2(0.45);
	struct { const char *def; std::string val; } t[] = {
		// orvcalc's objects: sqrt2b(2), one ulp below the root of 2
		{"Segment({3,9},{4,10,@string 1})", "1.414213562373095"},
		{"Segment({0,0,@o},{3,4,@p,@more})", "5"},
		{"Angle({1,0},{0,0},{0,1})", "0.9"},
		{"Angle({1,0},{0,0},{0,-1})", "2.7"},
		{"Angle({2,3},{1,1},{4,1})", jsnum(angle(&a, &b, &c))},
		{"Direction({0,0},{-1,-1})", "2.25"},
		{"Direction({1,1},{2,3})", jsnum(aatan(1, 2))},
		{"Vect(2,0)", "{2,1.925063354750907e-16}"},
		{"Vect(1,0.45)", "{0.7071067811865475,0.7071067811865475}"},
		{"Add({1,2},{0.5,-4})", "{1.5,-2}"},
		{"Add({1,1},Vect(2,0.3))", pt(*add_p(&d, &b, vect(&d, 2, 0.3)))},
		{"Curve({0,1},{0,0},{1,0},0.45)", "{0.2928932188134526,0.2928932188134526}"},
		{"Curve({2,3},{1,1},{4,1},0.9)", "{1.9999999999999998,2.9996846495004137}"},
		// each call prepares its own curve
		{"{Curve({0,1},{0,0},{1,0},0),Curve({2,3},{1,1},{4,1},0.45)}",
		 "{{0.9999999999999999,9.625316773754534e-17}," + pt(arc) + "}"},
		{"Sqrt(2)", "1.414213562373095"},
		{"Sqrt(-0)", "-0"},
		{"Cos(0.3)", "0.8663850620799841"},
		{"Sin(0.9)", "1"},
	};
	std::vector<std::string> defs;
	for (auto &r : t)
		defs.push_back(r.def);
	std::vector<std::string> v = values(defs);
	for (size_t i = 0; i < defs.size(); i++)
		EXPECT_EQ(v[i], t[i].val) << defs[i];
}

// Segment is geomlib's segment, bit for bit, over points of every scale.
TEST(GeomLibrary, SegmentBitForBit)
{
	std::mt19937_64 g(12);
	std::uniform_real_distribution<double> u(-1, 1);
	std::uniform_int_distribution<int> e(-300, 300);
	std::vector<std::string> defs, want;
	for (int i = 0; i < 200; i++) {
		point p[2];
		for (auto &q : p) {
			int s = i < 100 ? 3 : e(g);
			q = {std::ldexp(u(g), s), std::ldexp(u(g), s)};
		}
		defs.push_back("Segment(" + pt(p[0]) + "," + pt(p[1]) + ")");
		want.push_back(jsnum(segment(&p[0], &p[1])));
	}
	EXPECT_EQ(values(defs), want);
}

// A bad argument is an error that orv reports, naming the function and
// where the call stands, and the call gives the number 0; geomlib's own
// routines, which take no value, are no functions of the library.
TEST(GeomLibrary, BadArguments)
{
	struct { const char *def, *err; } t[] = {
		{"Segment()", "Segment: takes 2 arguments, not 0"},
		{"Segment(1)", "Segment: takes 2 arguments, not 1"},
		{"Segment({1,2})", "Segment: argument 1 is not a point"},	// the list is the two
		{"Segment(1,2)", "Segment: argument 1 is not a point"},
		{"Segment({1},{2,3})", "Segment: argument 1 is not a point"},
		{"Segment({1,2},{@a,3})", "Segment: argument 2 is not a point"},
		{"Segment({3,9},{4,10},{1,1})", "Segment: takes 2 arguments, not 3"},
		{"Segment(@a,@b)", "Segment: argument 1 is not a point"},
		{"Angle({0,0},{1,1})", "Angle: takes 3 arguments, not 2"},
		{"Angle({0,0},{1,1},3)", "Angle: argument 3 is not a point"},
		{"Direction({1,2})", "Direction: argument 1 is not a point"},
		{"Direction({1,2},{3})", "Direction: argument 2 is not a point"},
		{"Vect(1)", "Vect: takes 2 arguments, not 1"},
		{"Vect(@a,1)", "Vect: argument 1 is not a number"},
		{"Vect(1,{2,3})", "Vect: argument 2 is not a number"},
		{"Add(1,2)", "Add: argument 1 is not a point"},
		{"Curve({0,1},{0,0},{1,0})", "Curve: takes 4 arguments, not 3"},
		{"Curve({0,1},{0,0},{1,0},@t)", "Curve: argument 4 is not a number"},
		{"Curve({0,1},{0,0},1,0)", "Curve: argument 3 is not a point"},
		{"Sqrt(@x)", "Sqrt: takes a number"},
		{"Sqrt({1,2})", "Sqrt: takes a number"},
		{"Cos()", "Cos: takes a number"},
		{"Sin({})", "Sin: takes a number"},
	};
	for (auto &r : t) {
		std::string e = std::string("x = {1,") + r.def + ",Sqrt(4)}";
		child c = orv({{"-l", lib, "-e", e}});
		EXPECT_EQ(c.out, "x = {1,0,2}\n") << r.def;
		EXPECT_EQ(c.err, "orv: -e '" + e + "': x: " + r.err + "\n") << r.def;
		EXPECT_EQ(c.status, 1) << r.def;
	}
	// With -t the error stands in the trace, as every message does.
	child c = orv({{"-t", "-l", lib, "-e", "x = Sqrt(@x)"}});
	std::string end = "0  " + std::string(1, '\0') + "\n";
	std::string want = "Sqrt: takes a number\n" + end + end + "x = 0\n";
	ASSERT_GE(c.out.size(), want.size());
	EXPECT_EQ(c.out.substr(c.out.size() - want.size()), want);
	EXPECT_EQ(c.status, 1);

	for (const char *f : {"segment", "angle", "vect", "add_p", "sqrt2b", "cos1", "aatan", "curve_init",
			      "curve2", "vnum", "verror", "pointval", "twopoints"}) {
		child c = orv({{"-l", lib, "-e", std::string("x = ") + f + "(1,2)"}});
		EXPECT_EQ(c.out, "x = 0\n") << f;
		EXPECT_EQ(c.err, std::string("orv: -e 'x = ") + f + "(1,2)': x: function " + f + " undefined\n");
		EXPECT_EQ(c.status, 1);
	}
}

// orvcalc finds Segment in the library's folder and prints no message.
TEST(GeomLibrary, Orvcalc)
{
	std::string dir = lib.substr(0, lib.rfind('/'));
	std::vector<std::string> env = {"LSAN_OPTIONS=suppressions=" + leakfile()};
	child none = runchild({built(ORVCALC), {"LD_LIBRARY_PATH=", env[0]}});
	child with = runchild({built(ORVCALC), {"LD_LIBRARY_PATH=" + dir, env[0]}});
	std::string msg = "function Segment undefined\n";
	ASSERT_NE(none.out.find(msg), std::string::npos);
	EXPECT_EQ(with.out, none.out.erase(none.out.find(msg), msg.size()));
	EXPECT_EQ(with.status, 0);
}

// The example of docs/geometry-library.md, run as it says.
TEST(GeomLibrary, Example)
{
	child c = orv({{"-l", lib, "-p", "line1", "-p", "legs", "-p", "turn", "-p", "arc", "-p", "toward",
		      std::string(EXAMPLES) + "/corner.orv"}});
	EXPECT_EQ(c.out, "line1 = 1.414213562373095\n"
			 "legs = {2.23606797749979,3}\n"
			 "turn = 0.6337213530118342\n"
			 "arc = {{3.9999999999999996,1.0000000000000002},{2.17157287525381,1.585694073604027},"
			 "{1.9999999999999998,2.9996846495004137}}\n"
			 "toward = {1.8944271909999157,2.7885723239383067}\n");
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.status, 0);
}

} // namespace

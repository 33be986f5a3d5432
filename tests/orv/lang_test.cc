// orv's language: the check of every definition before anything is
// evaluated, evaluation messages that say where, and functions with
// parameters.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/orv/run.h"

namespace {

// A library that reports its loading, named last so that its loading
// would show after any refusal.
const std::string loud = std::string(ORVLIBS) + "/gen/orvlib.so";

// Functions the accepted forms call.
const std::vector<std::string> prelude = {"-e", "z = () 7", "-e", "f = (a, b) {b, a}", "-e",
					  "g = (x) {x,x}"};

// Every form the scanner reads as meant stays accepted, with its value.
TEST(OrvCheck, Accepted)
{
	struct { const char *def, *val; } t[] = {
		{"", "{}"}, {"{}", "{}"}, {"{5}", "5"}, {"{{1,2}}", "{1,2}"},
		{"{4,10,@string 1}", "{4,10,@string 1}"}, {"(x,y) {1,2}", "{1,2}"}, {"( ) 3", "3"},
		{"()7", "7"}, {"z()", "7"}, {"f(1,2)", "{2,1}"}, {"f (1, 2)", "{2,1}"},
		{"f(g(1),2)", "{2,{1,1}}"}, {"@", "@"}, {"+5", "5"}, {".5", "0.5"}, {"-1e-3", "-0.001"},
		{"0x10", "16"}, {"-inf", "-inf"}, {"@a  b c", "@a b c"}, {"@a # b", "@a # b"},
		{"{1,2,}", "{1,2}"}, {"{ 1 , { 2 } }", "{1,2}"}, {"{1,{}}", "{1}"},
		// the escaped form is one token; a quote that ends no token is text
		{"@\"a(b\"", "@\"a(b\""}, {"{@\" x, \" , 1}", "{@\" x, \",1}"}, {"@\"x\" y", "@\"x\" y"},
		{"@\"open", "@\"open"},
	};
	for (auto &r : t) {
		std::vector<std::string> args = prelude;
		args.insert(args.end(), {"-e", std::string("x = ") + r.def});
		child c = orv({args});
		EXPECT_EQ(c.out, std::string("x = ") + r.val + "\n") << r.def;
		EXPECT_EQ(c.err, "") << r.def;
		EXPECT_EQ(c.status, 0) << r.def;
	}
}

// What the scanner would read as something else: the fault and its
// column.  The definitions call a library that reports its loading, so
// an evaluation would show on standard output.
TEST(OrvCheck, Refused)
{
	struct { std::string def; int col; std::string msg; } t[] = {
		{"Segment({0,0},{3,4}", 12, "'(' not closed"},
		{"{1,2", 5, "'{' not closed"},
		{"{1,2)", 9, "')' closes '{' of column 5"},
		{"twice(1}", 12, "'}' closes '(' of column 10"},
		{"1)", 6, "')' with no bracket open"},
		{"{1}}", 8, "'}' with no bracket open"},
		{"{1 2, 3}", 6, "'1 2' is not a number"},
		{"12abc", 5, "'12abc' is not a number"},
		{"1.2.3", 5, "'1.2.3' is not a number"},
		{"{-}", 6, "'-' is not a number"},
		{"{1,2} # c", 11, "unexpected '# c' after '}'"},
		{"{1}2", 8, "unexpected '2' after '}'"},
		{"twice(1)x", 13, "unexpected 'x' after ')'"},
		{"{1} {2}", 9, "unexpected '{' after '}'"},
		{"twice(1)(2)", 13, "unexpected '(' after ')'"},
		{"1 {2}", 7, "unexpected '{' after '1'"},
		{"{(1,2)}", 6, "'(' without a function name"},
		{"{1,,2}", 8, "empty item before ','"},
		{"(x, y", 5, "parameter list without its ')'"},
		{"(x, 1) 5", 9, "'1' is not a parameter name"},
		{"(x,,y) 5", 8, "empty parameter name"},
		{"(x, x) 5", 9, "parameter 'x' named twice"},
		{"@\"a\\qb\"", 8, "unknown escape '\\q'"},
		{"@\"a\\x4\"", 8, "unknown escape '\\x'"},
		{"@\"\\x00\"", 7, "a string cannot hold the byte 0"},
	};
	for (auto &r : t) {
		std::string e = "x = " + r.def;
		child c = orv({{"-e", "ok = twice(1)", "-e", e, "-l", loud}});
		EXPECT_EQ(c.out, "") << r.def;
		EXPECT_EQ(c.err, "orv: -e '" + e + "':" + std::to_string(r.col) + ": " + r.msg + "\n") << r.def;
		EXPECT_EQ(c.status, 2) << r.def;
	}
}

// All faults of the input are reported, in the order of the input, with
// file, line and column; nothing is evaluated.
TEST(OrvCheck, AllFaults)
{
	tmpdir d;
	writefile(d / "a.orv", "a = twice(1)\nb = {1 2}}\n# fine\nc = 3\nd = (x {x}\n");
	child c = orv({{d / "a.orv", "-e", "e = {", "-", "-p", "nosuch", "-l", loud}, "f = 1 {2\n"});
	std::string a = d / "a.orv";
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err, "orv: " + a + ":2:6: '1 2' is not a number\n"
			 "orv: " + a + ":2:10: '}' with no bracket open\n"
			 "orv: " + a + ":5:5: parameter list without its ')'\n"
			 "orv: -e 'e = {':5: '{' not closed\n"
			 "orv: (standard input):1:7: unexpected '{' after '1'\n"
			 "orv: (standard input):1:7: '{' not closed\n"
			 "orv: nosuch: not defined\n");
	EXPECT_EQ(c.status, 2);
}

// Each message names the place of the definition that holds the token
// and the object it defines.  The depth bound names the cycle that led
// to it, from the first object that repeats, or says that a chain
// without one is too deep.
TEST(OrvMessages, SayWhere)
{
	tmpdir d;
	std::string defs = "x = {1,zz}\nA = {B}\n\nB = C\nC = {1,A}\ny = nof(1)\nS = {S,S}\n";
	for (int i = 0; i < 1200; i++)
		defs += "p" + std::to_string(i) + " = p" + std::to_string(i + 1) + "\n";
	for (int i = 0; i < 20; i++)
		defs += "q" + std::to_string(i) + " = q" + std::to_string((i + 1) % 20) + "\n";
	writefile(d / "m.orv", defs);
	std::string m = d / "m.orv";
	child c = orv({{m, "-p", "x", "-p", "A", "-p", "y", "-p", "S", "-p", "p0", "-p", "q0", "-p", "x"}});
	EXPECT_EQ(c.out, "x = {1,0}\nA = 0\ny = 0\nS = 0\np0 = 0\nq0 = 0\nx = {1,0}\n");
	EXPECT_EQ(c.err, "orv: " + m + ":1: x: variable zz undefined\n"
			 "orv: " + m + ":2: A: nested too deeply in the cycle A -> B -> C -> A\n"
			 "orv: " + m + ":6: y: function nof undefined\n"
			 "orv: " + m + ":7: S: nested too deeply in the cycle S -> S\n"
			 "orv: " + m + ":1007: p999: nested more than 1000 deep: "
			 "p0 -> p1 -> p2 -> ... -> p998 -> p999 -> p1000\n"
			 "orv: " + m + ":1227: q19: nested too deeply in the cycle "
			 "q0 -> q1 -> q2 -> ... -> q18 -> q19 -> q0\n"
			 "orv: " + m + ":1: x: variable zz undefined\n");
	EXPECT_EQ(c.status, 1);

	// Standard input and -e are named as in the check.
	c = orv({{"-", "-e", "e = {w}"}, "\nv = nosuch\n"});
	EXPECT_EQ(c.err, "orv: -e 'e = {w}': e: variable w undefined\n");
	c = orv({{"-p", "v"}, "\nv = nosuch\n"});
	EXPECT_EQ(c.err, "orv: (standard input):2: v: variable nosuch undefined\n");
}

// An object's value is kept once evaluated, but only where evaluating
// it again would give the same: a library function is called at every
// reference, a message is given at every reference, and the depth bound
// is reached where it would be without the kept values, whatever was
// printed before.
TEST(OrvMessages, KeptValuesChangeNothing)
{
	tmpdir d;
	std::string defs = "p0 = 5\n";
	for (int i = 1; i <= 1000; i++)
		defs += "p" + std::to_string(i) + " = p" + std::to_string(i - 1) + "\n";
	writefile(d / "c.orv", defs);
	std::string f = d / "c.orv";
	std::string deep = "orv: " + f + ":2: p1: nested more than 1000 deep: "
			   "p1000 -> p999 -> p998 -> ... -> p2 -> p1 -> p0\n";
	struct {
		std::vector<std::string> args;
		std::string out;
	} t[] = {
		{{"-p", "p500", "-p", "p999", "-p", "p1000", "-p", "p999"}, "p500 = 5\np999 = 5\np1000 = 0\np999 = 5\n"},
		{{"-p", "p1000", "-p", "p500", "-p", "p999"}, "p1000 = 0\np500 = 5\np999 = 5\n"},
	};
	for (auto &r : t) {
		r.args.push_back(f);
		child c = orv({r.args});
		EXPECT_EQ(c.out, r.out);
		EXPECT_EQ(c.err, deep);
		EXPECT_EQ(c.status, 1);
	}

	std::string lib = std::string(ORVLIBS) + "/swap1/orvlib.so";
	child c = orv({{"-l", lib, "-e", "w = Which()", "-e", "u = zz", "-e", "x = {w, w, u}",
			"-e", "y = {x, x}"}});
	EXPECT_EQ(c.out, "y = {{101,102,0},{103,104,0}}\n");
	EXPECT_EQ(c.err, "orv: -e 'u = zz': u: variable zz undefined\n"
			 "orv: -e 'u = zz': u: variable zz undefined\n");
	EXPECT_EQ(c.status, 1);
}

// A definition's parameters are bound to the arguments of its call, and
// seen in its own definition alone.  One parameter takes the argument
// whole, as a library function does; several take its items in order.
TEST(OrvFunctions, Parameters)
{
	std::vector<std::string> defs = {
		"-e", "x = 100",
		"-e", "f = (x, y) {y, x}",
		"-e", "g = (p) {p, x}",
		"-e", "h = (q) f(q, g(q))",
		"-e", "k = () {x}",
		"-e", "sq = (p) {p, p}",
		"-e", "u = {1, 2}",
	};
	struct { const char *def, *val, *err = ""; } t[] = {
		{"f(1, 2)", "{2,1}"},
		{"f({1, 2})", "{2,1}"},
		{"f(@a, {3, 4})", "{{3,4},@a}"},
		{"g(3)", "{3,100}"},		// x there is the object
		{"g(3, 4)", "{{3,4},100}"},
		{"g({3, 4})", "{{3,4},100}"},
		{"h(9)", "{{9,100},9}"},	// one function calling another
		{"sq(sq(2))", "{{2,2},{2,2}}"},
		{"k()", "100"},
		{"{x, f(1, 2), x}", "{100,{2,1},100}"},
		// the wrong number of arguments: a message naming the function
		{"f(7)", "0", "function f: no argument for parameter y\n"},
		{"f()", "0", "function f: no argument for parameter x\n"},
		{"f(1, 2, 3)", "0", "function f takes 2 arguments, not 3\n"},
		{"g()", "0", "function g: no argument for parameter p\n"},
		{"k(1)", "0", "function k takes 0 arguments, not 1\n"},
		{"u(1)", "0", "function u takes 0 arguments, not 1\n"},
		{"{1, f(2), 3}", "{1,0,3}", "function f: no argument for parameter y\n"},
	};
	for (auto &r : t) {
		std::vector<std::string> args = defs;
		args.insert(args.end(), {"-e", std::string("v = ") + r.def});
		child c = orv({args});
		EXPECT_EQ(c.out, std::string("v = ") + r.val + "\n") << r.def;
		std::string err = *r.err ? "orv: -e 'v = " + std::string(r.def) + "': v: " + r.err : "";
		EXPECT_EQ(c.err, err) << r.def;
		EXPECT_EQ(c.status, *r.err ? 1 : 0) << r.def;
	}

	// A function evaluated without a call has no arguments.
	child c = orv({{"-e", "f = (x) {x, 1}"}});
	EXPECT_EQ(c.out, "f = {0,1}\n");
	EXPECT_EQ(c.err, "orv: -e 'f = (x) {x, 1}': f: parameter x has no argument\n");
	EXPECT_EQ(c.status, 1);
}

} // namespace

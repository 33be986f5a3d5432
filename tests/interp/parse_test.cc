#include <string>

#include "tests/interp/help.h"
#include "tests/interp/leaks.h"

extern "C" const char *__lsan_default_suppressions()
{
	return orv_leaks;
}

extern "C" value abi_eval(const char *name, const char *def);

namespace {

using ParseTest = Interp;

// Value and messages (the trace left out) of one definition each.  The
// general library "orvlib.so" is reachable; its functions record each
// call as a line "name argument".
TEST_F(ParseTest, Values)
{
	orvo_set("A", "{3,9}", 0);
	orvo_set("u", "(p) {p,7}", 0);
	orvo_set("twice", "5", 0);	// also a library function

	struct { const char *def, *val, *notes = ""; } t[] = {
		{"", "end"},
		{"{}", "end"},
		{"{5}", "5"},
		{"{{1,2}}", "{1,2}"},
		// an empty item ends the list for its readers, whatever follows,
		// and the closing of a nested level goes on after it all the same
		{"{1,{},5}", "{1}"},
		{"{1,{},{5}}", "{1}"},
		{"{{1},{},{5,6}}", "{1}"},
		{"{3,9}", "{3,9}"},
		{"{4,10,@string 1}", "{4,10,@string 1}"},
		{"@a \t  b ", "@a b"},
		{"@", "@"},
		{"+5", "5"},
		{".5", "0.5"},
		{"1 2", "1"},
		{"-", "0"},
		{"-2.5e1x", "-25"},
		// a leading parameter list is skipped
		{"(x,y) {1,2}", "{1,2}"},
		{"(x,y", "end"},
		{"()7", "7"},
		// objects, and names that are none
		{"A", "{3,9}"},
		{"{A,A}", "{{3,9},{3,9}}"},
		{"nosuch", "0", "variable nosuch undefined\n"},
		// calls of library functions: f(1,2) and f({1,2}) pass the same
		{"twice", "5"},
		{"twice(7)", "14", "twice 7\n"},
		{"twice()", "0", "twice end\n"},
		{"Segment(1,2)", "2", "Segment {1,2}\n"},
		{"Segment({1,2})", "2", "Segment {1,2}\n"},
		{"Segment(twice(1),2)", "2", "twice 1\nSegment {2,2}\n"},
		{"Segment(A,nosuch(2))", "2", "function nosuch undefined\nSegment {{3,9},0}\n"},
		// a user-defined function: its names do not see the arguments
		{"u(1,2)", "{0,7}", "variable p undefined\n"},
		// names are exact: the library has Segment, not segment
		{"segment(1)", "0", "function segment undefined\n"},
		{"{(1,2)}", "0", "function  undefined\n"},
		// brackets left open: the innermost level alone, no call made
		{"{1,2", "{1,2}"},
		{"5,{1,2", "{1,2}"},
		{"twice(3", "3"},
		// brackets of the other kind
		{"{1,2)", "0"},
		{"twice(4}", "4"},
		// a closing bracket with only the top level open acts as ","
		{"1)2", "{1,2}"},
		{"1}2", "{1,2}"},
		{")", "end"},
		{"{1}}2", "{1,2}"},
	};
	for (auto &r : t) {
		std::string out;
		value v = eval(r.def, &out);
		EXPECT_EQ(render(v), r.val) << r.def;
		EXPECT_EQ(notes(out), r.notes) << r.def;
	}
	EXPECT_EQ(eval("").ref, nullptr);
	EXPECT_EQ(eval("{3,9}").type, T_LIST);
	EXPECT_EQ(lenof(static_cast<value *>(eval("{3,9}").ref)), 2);
}

// Whole output streams: two lines per token, the token as read and then
// cleaned, the end of the definition written as a NUL byte, depth one
// more inside an object or a user-defined function, and the messages
// in between.
TEST_F(ParseTest, Trace)
{
	orvo_set("u", "(x) 42", 0);
	loaded();
	struct { const char *def, *val; std::string out; } t[] = {
		{"{  @a \t b  ,\n}", "@a b",
		 tr(0, "", '{') + tr(0, "  @a \t b  ", "@a b", ',') + tr(0, "\n", "", '}') + tr(0, "", 0)},
		{"u(1,2)", "42",
		 tr(0, "u", '(') + reload + tr(0, "1", ',') + tr(0, "2", ')') + tr(1, " 42", "42", 0) +
			 tr(0, "", 0)},
		{"x ( 1 )", "0",
		 tr(0, "x ", "x", '(') + reload + "function x undefined\n" + tr(0, " 1 ", "1", ')') +
			 tr(0, "", 0)},
	};
	for (auto &r : t) {
		std::string out;
		EXPECT_EQ(render(eval(r.def, &out)), r.val) << r.def;
		EXPECT_EQ(out, r.out) << r.def;
	}
}

// A function that c_lookup found stays callable until its ")" is read,
// although the lookups in between close and reopen "orvlib.so": those
// lookups must not unload it.  Under AddressSanitizer a call into an
// unloaded library would also be reported.
TEST_F(ParseTest, FunctionOutlivesNestedLookups)
{
	orvo_set("X", "{twice(3),4}", 0);
	loaded();
	std::string out;
	value v = eval("Segment(X,twice(1))", &out);
	EXPECT_EQ(render(v), "2");
	EXPECT_EQ(out, tr(0, "Segment", '(') + reload +	// the only reload
			       tr(0, "X", ',') + tr(1, "", '{') + tr(1, "twice", '(') + tr(1, "3", ')') +
			       "twice 3\n" + tr(1, "", ',') + tr(1, "4", '}') + tr(1, "", 0) +
			       tr(0, "twice", '(') + tr(0, "1", ')') + "twice 1\n" + tr(0, "", ')') +
			       "Segment {{6,4},2}\n" + tr(0, "", 0));

	// Once the calls are made, the library is no longer kept: the next
	// lookup loads it afresh.
	EXPECT_EQ(capture([] { c_lookup("twice"); }), reload);
}

// A level's hold on its function's library ends with the level, also
// when the function is never called.
TEST_F(ParseTest, HoldsEndWithTheLevel)
{
	for (const char *def : {"twice(3", "twice(4}", "{twice(twice(5", "Segment(1,twice(2}"}) {
		loaded();
		std::string out;
		eval(def, &out);
		EXPECT_EQ(notes(out), "") << def;
		EXPECT_EQ(capture([] { c_lookup("twice"); }), reload) << def;
	}
}

// An evaluation that recurses without end stops at the depth bound with
// one message naming the object, and gives the number 0; the next
// evaluation starts afresh.
TEST_F(ParseTest, DepthBound)
{
	struct { std::vector<std::pair<const char *, const char *>> objs; const char *named; } t[] = {
		{{{"R", "R"}}, "R"},
		{{{"S", "{S,S}"}}, "S"},	// would take 2^1000 steps without the stop
		{{{"P", "Q"}, {"Q", "P"}}, "P"},
		{{{"f", "twice(f(1))"}}, "f"},	// no call of twice is made
	};
	for (auto &r : t) {
		SetUp();
		for (auto &[n, d] : r.objs)
			orvo_set(n, d, 0);
		for (int round = 0; round < 2; round++) {
			value v;
			std::string out = capture([&] {
				v = parse(orvo_lookup(r.objs[0].first), nullptr, 0, 1, 1, 0);
			});
			EXPECT_EQ(render(v), "0") << r.named;
			EXPECT_EQ(notes(out), std::string("object ") + r.named + " nested too deeply\n");
			auto at = [&](int depth) { return out.find("\n" + std::to_string(depth) + " "); };
			EXPECT_NE(at(MAXDEPTH - 1), std::string::npos) << r.named;
			EXPECT_EQ(at(MAXDEPTH), std::string::npos) << r.named;
		}
		loaded();
		EXPECT_EQ(capture([] { c_lookup("twice"); }), reload) << "no hold is left";
		EXPECT_EQ(render(eval("{1,2}")), "{1,2}");
	}
}

// The declarations work from C: a C source evaluates through them.
TEST_F(ParseTest, FromC)
{
	std::string out = capture([] { EXPECT_EQ(render(abi_eval("c", "{1,@c}")), "{1,@c}"); });
	EXPECT_EQ(out, tr(0, "", '{') + tr(0, "1", ',') + tr(0, "@c", '}') + tr(0, "", 0));
}

} // namespace

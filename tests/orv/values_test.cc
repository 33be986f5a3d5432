// How orv writes values: numbers, lists and strings as the language
// reads them back, the escaped form of strings it cannot, and the round
// trip over random values.
#include <string.h>

#include <cmath>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/orv/number.h"
#include "tests/orv/run.h"

namespace {

const std::string vals = std::string(ORVLIBS) + "/vals/orvlib.so";

// The value of one definition, as printed.
std::string value(const std::string &def, const std::vector<std::string> &lib = {})
{
	std::vector<std::string> args = lib;
	args.insert(args.end(), {"-e", "x = " + def});
	child c = orv({args});
	EXPECT_EQ(c.err, "") << def;
	EXPECT_EQ(c.status, 0) << def;
	EXPECT_EQ(c.out.rfind("x = ", 0), 0u) << def;
	return c.out.substr(4, c.out.size() - 5);
}

TEST(OrvValues, Written)
{
	struct { const char *def, *text; } t[] = {
		// the shortest digits that read back as the same double, with an
		// exponent below 1e-6 and from 1e21 up
		{"0.1", "0.1"}, {"10.0", "10"}, {"1e300", "1e+300"}, {"0.00001", "0.00001"},
		{"100000", "100000"}, {"1e21", "1e+21"}, {"999999999999999900000", "999999999999999900000"},
		{"1e-7", "1e-7"}, {"1.5e-7", "1.5e-7"}, {"0.000001", "0.000001"}, {"-1.25e-6", "-0.00000125"},
		{"-6.887675715374346e+20", "-688767571537434600000"}, {"1.2345e22", "1.2345e+22"},
		{"123.456", "123.456"}, {"2e-323", "2e-323"},
		{"-0", "-0"}, {"+0", "0"}, {"123456789012", "123456789012"}, {"0x10", "16"},
		{"4.9e-324", "5e-324"}, {"2.2250738585072009e-308", "2.225073858507201e-308"},
		{"1.7976931348623157e308", "1.7976931348623157e+308"}, {"1e309", "+inf"},
		{"-1e309", "-inf"}, {"+inf", "+inf"}, {"-inf", "-inf"}, {"+nan", "+nan"}, {"-nan", "-nan"},
		// lists without spaces, the empty value as {}
		{"{ 1 , { 2 , 3 } , @a \t b }", "{1,{2,3},@a b}"}, {"{}", "{}"}, {"", "{}"}, {"{5}", "5"},
		// an empty item ends its list for every reader: a list of one
		{"{{1,2},{}}", "{{1,2}}"}, {"{1,{},5}", "{1}"},
		// strings that read back as they are
		{"@", "@"}, {"@a b", "@a b"}, {"@ a", "@ a"}, {"@a\"b", "@a\"b"}, {"@back\\slash", "@back\\slash"},
		{"@@#=", "@@#="}, {"@caf\xc3\xa9", "@caf\xc3\xa9"}, {"@\"q", "@\"q"}, {"@\"q\" r", "@\"q\" r"},
		// the escaped form read back
		{"@\"a\\tb\"", "@\"a\\tb\""}, {"@\"x(y\"", "@\"x(y\""}, {"@\"q\"", "@q"}, {"{@\"\\\"\" , 1}", "{@\",1}"},
		{"@\"\\x41\\x42\"", "@AB"}, {"@\" spaced  out \"", "@\" spaced  out \""},
	};
	for (auto &r : t)
		EXPECT_EQ(value(r.def), r.text) << r.def;
}

// Values that only a library makes: a list of one item (written in
// braces all the same), strings the scanner would change, lists nested
// deeper than a recursive writer's stack, a type code of none of the
// four.
TEST(OrvValues, FromLibraries)
{
	std::vector<std::string> l = {"-l", vals};
	struct { const char *def, *text; } t[] = {
		{"One(5)", "{5}"},
		{"One(One(@a))", "{{@a}}"},
		{"{One(1),One({2,3})}", "{{1},{{2,3}}}"},
		{"Nest(3)", "{{{1,1},1},1}"},
		// escaped: between double quotes, every byte shown
		{"Bytes(97,9,98)", "@\"a\\tb\""},
		{"Bytes(10,13)", "@\"\\n\\r\""},
		{"Bytes(97,32,32,98)", "@\"a  b\""},
		{"Bytes(97,32)", "@\"a \""},
		{"Bytes(32)", "@\" \""},
		{"Bytes(120,40,121)", "@\"x(y\""},
		{"Bytes(123,44,125,41)", "@\"{,})\""},
		{"Bytes(34,113,34)", "@\"\\\"q\\\"\""},
		{"Bytes(34,113)", "@\"q"},
		{"Bytes(92,44)", "@\"\\\\,\""},
		{"Bytes(1,127,128,255,9)", "@\"\\x01\\x7F\\x80\\xFF\\t\""},
		// plain whenever that reads back, control bytes too
		{"Bytes(1,27,127,128,255,11,12)", "@\x01\x1b\x7f\x80\xff\x0b\x0c"},
		{"Bytes(195,169,9)", "@\"\\xC3\\xA9\\t\""},
		{"{1,Bytes(9)}", "{1,@\"\\t\"}"},
		// shown, not guessed at
		{"Type(9)", "<type 9>"},
		{"{1,Type(200)}", "{1,<type 200>}"},
	};
	for (auto &r : t)
		EXPECT_EQ(value(r.def, l), r.text) << r.def;

	std::string deep = value("Nest(100000)", l);
	EXPECT_EQ(deep.size(), 100000 * 4 + 1);
	EXPECT_EQ(deep.substr(0, 6), "{{{{{{");
	EXPECT_EQ(deep.substr(deep.size() - 6), ",1},1}");
}

// Every value read back gives the same value and prints the same text.
// The values are random ones of the library vals (Rand(N), seeded by
// N): nested lists, numbers of every class (signed zeros, subnormals,
// the edges of the fixed and the exponent form, infinities, NaNs, any
// bit pattern), strings with every byte but NUL.
TEST(OrvValues, RoundTrip)
{
	const int n = 600;
	tmpdir d;
	std::string defs;
	std::vector<std::string> args = {"-l", vals, d / "rand.orv"};
	for (int i = 0; i < n; i++) {
		defs += "v" + std::to_string(i) + " = Rand(" + std::to_string(i) + ")\n";
		args.insert(args.end(), {"-p", "v" + std::to_string(i)});
	}
	writefile(d / "rand.orv", defs);
	child c = orv({args});
	ASSERT_EQ(c.status, 0) << c.err;

	// An escaped string begins the text or follows a bracket or a comma.
	std::regex escaped("(^|[{,])@\"");
	std::istringstream lines(c.out);
	std::string back, same;
	std::vector<std::string> texts, bargs = {d / "back.orv"}, sargs = {"-l", vals, d / "same.orv"};
	int esc = 0, nested = 0;
	for (std::string l; std::getline(lines, l);) {
		std::string i = std::to_string(texts.size());
		std::string pre = "v" + i + " = ";
		ASSERT_EQ(l.rfind(pre, 0), 0u) << l;
		std::string text = l.substr(pre.size());
		texts.push_back(text);
		esc += std::regex_search(text, escaped);
		nested += text.rfind("{{", 0) == 0 || text.find(",{") != std::string::npos;
		back += "x" + i + " = " + text + "\n";
		bargs.insert(bargs.end(), {"-p", "x" + i});
		same += "s" + i + " = Is(" + i + "," + text + ")\n";
		sargs.insert(sargs.end(), {"-p", "s" + i});
	}
	ASSERT_EQ(texts.size(), size_t(n));
	EXPECT_GT(esc, n / 10);
	EXPECT_GT(nested, n / 20);
	writefile(d / "back.orv", back);
	writefile(d / "same.orv", same);

	// The same text again ...
	c = orv({bargs});
	EXPECT_EQ(c.err, "");
	std::string want;
	for (size_t i = 0; i < texts.size(); i++)
		want += "x" + std::to_string(i) + " = " + texts[i] + "\n";
	EXPECT_EQ(c.out, want);

	// ... and the same value, bit for bit.
	c = orv({sargs});
	EXPECT_EQ(c.err, "");
	std::istringstream verdicts(c.out);
	for (std::string l; std::getline(verdicts, l);)
		EXPECT_EQ(l.substr(l.find(" = ")), " = 1") << l << ": " << texts[std::stoul(l.substr(1))];

	// Some of them as the command line puts it: orv -e 'x = TEXT'.
	for (size_t i = 0; i < 10; i++) {
		c = orv({{"-e", "x = " + texts[i]}});
		EXPECT_EQ(c.out, "x = " + texts[i] + "\n");
	}
}

// Numbers are written as the fewest digits that read back, in fixed
// notation from 1e-6 up to 1e21: over doubles of every scale.
TEST(OrvValues, Numbers)
{
	std::mt19937_64 g(20);
	std::string defs;
	std::vector<double> ds;
	std::vector<std::string> args = {"-"};
	for (int i = 0; i < 500; i++) {
		uint64_t u = g();
		double x;
		memcpy(&x, &u, sizeof x);
		if (i % 2)	// near the edges of the fixed form
			x = std::ldexp(double(u >> 11) / 9007199254740992.0, int(g() % 160) - 80);
		ds.push_back(x);
		char b[40];
		snprintf(b, sizeof b, "%.17g", x);
		defs += "n" + std::to_string(i) + " = " + (std::isnan(x) ? (std::signbit(x) ? "-nan" : "+nan") : b) + "\n";
		args.insert(args.end(), {"-p", "n" + std::to_string(i)});
	}
	child c = orv({args, defs});
	std::string want;
	for (size_t i = 0; i < ds.size(); i++)
		want += "n" + std::to_string(i) + " = " + jsnum(ds[i]) + "\n";
	EXPECT_EQ(c.out, want);
	EXPECT_EQ(c.status, 0);
}

} // namespace

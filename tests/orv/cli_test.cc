// orv's command line: where definitions come from, what is printed,
// the trace and the messages, the libraries, and every way it refuses
// to start.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/orv/run.h"

namespace {

const std::string fix = ORVLIBS;
const std::string gen = "LD_LIBRARY_PATH=" + fix + "/gen";

// The three objects of orvcalc's run.
const std::string line1 = "A = {3,9}\nB = {4,10,@string 1}\nline1 = Segment(A,B)\n";

// Files of a case, written into a scratch folder that is the working
// folder of the run.
struct file {
	std::string name, text;
};

child inside(const std::vector<file> &files, run r)
{
	tmpdir d;
	for (auto &f : files)
		writefile(d / f.name, f.text);
	r.dir = d.path;
	return orv(r);
}

// Definitions from files, standard input and -e, in the order given,
// and which values are printed.
TEST(Orv, Definitions)
{
	std::vector<file> files = {
		{"a.orv", "a = 1\nx = {a,2}\n"},
		{"b.orv", "  # a comment\n\n \t \nb = @two  words\n#c = 3\n"},
		{"c.orv", "a = 5\r\n"},
	};
	struct {
		std::vector<std::string> args;
		std::string in, out;
	} t[] = {
		// standard input when there is neither a FILE nor -e
		{{}, "y = {1,2}\n", "y = {1,2}\n"},
		{{"-p", "y"}, "y = {1,2}\nz = 3\n", "y = {1,2}\n"},
		// not when there is either
		{{"a.orv"}, "y = 9\n", "x = {1,2}\n"},
		{{"-e", "e = 7"}, "y = 9\n", "e = 7\n"},
		{{"a.orv", "-", "c.orv", "-p", "y", "-p", "x"}, "y = a\n", "y = 5\nx = {5,2}\n"},
		// the last definition read, in the order of files and -e
		{{"-e", "e = 7", "a.orv"}, "", "x = {1,2}\n"},
		{{"a.orv", "-e", "e = 7"}, "", "e = 7\n"},
		{{"a.orv", "b.orv"}, "", "b = @two words\n"},
		// a later definition replaces the earlier; objects are evaluated
		// once everything is read
		{{"a.orv", "c.orv", "-p", "x"}, "", "x = {5,2}\n"},
		{{"-e", "a = 1", "-e", "a = 2"}, "", "a = 2\n"},
		{{"a.orv", "-e", "a = 3", "-p", "a", "-p", "x", "-p", "a"}, "", "a = 3\nx = {3,2}\na = 3\n"},
		// options and files mixed, and "--"
		{{"-p", "x", "--", "a.orv"}, "", "x = {1,2}\n"},
		{{"-ex=4", "-px"}, "", "x = 4\n"},
		// split at the first "=", the name and the definition stripped
		{{}, "  my name \t=   @x = y  \r\n", "my name = @x = y\n"},
		{{}, "f = (x) {1,2}\n", "f = {1,2}\n"},
		{{}, "e =\n", "e = {}\n"},
		{{}, "last = 1", "last = 1\n"},	// no line feed at the end
		// nothing defined, nothing printed
		{{}, "", ""},
		{{}, "# only a comment\n", ""},
	};
	for (auto &r : t) {
		child c = inside(files, {r.args, r.in});
		std::string what = testing::PrintToString(r.args) + " <<< " + r.in;
		EXPECT_EQ(c.out, r.out) << what;
		EXPECT_EQ(c.err, "") << what;
		EXPECT_EQ(c.status, 0) << what;
	}
}

// -t writes each object's trace exactly as orvcalc does, then the
// result; without -t there is no trace and messages go to standard
// error, marked as orv's.  A message makes the exit status 1.
TEST(Orv, TraceAndMessages)
{
	// orvcalc's own run, with a library without Segment and with the
	// geometry library, the one orv uses unless told otherwise.
	std::string quiet = fix + "/quiet", geom = GEOMFN;
	geom.erase(geom.rfind('/'));
	for (const std::string &dir : {quiet, geom}) {
		child calc = runchild({built(ORVCALC), {"LD_LIBRARY_PATH=" + dir, "LSAN_OPTIONS=suppressions=" + leakfile()}});
		ASSERT_EQ(calc.status, 0);
		bool found = dir == geom;
		std::vector<std::string> lib;
		if (!found)
			lib = {"-l", quiet + "/orvlib.so"};
		std::string value = found ? "1.414213562373095" : "0";

		std::vector<std::string> args = lib;
		args.push_back("-t");
		child t = orv({args, line1});
		EXPECT_EQ(t.out, calc.out + "line1 = " + value + "\n") << dir;
		EXPECT_EQ(t.err, "");
		EXPECT_EQ(t.status, found ? 0 : 1);

		child q = orv({lib, line1});
		EXPECT_EQ(q.out, "line1 = " + value + "\n") << "no trace";
		EXPECT_EQ(q.err, found ? "" : "orv: (standard input):3: line1: function Segment undefined\n");
		EXPECT_EQ(q.status, found ? 0 : 1);
	}

	struct {
		std::vector<std::string> args;
		std::string out, err;
	} t[] = {
		{{"-e", "x = {1,nosuch}"}, "x = {1,0}\n", "orv: -e 'x = {1,nosuch}': x: variable nosuch undefined\n"},
		{{"-e", "x = f(1)", "-e", "y = 2", "-p", "y", "-p", "x", "-p", "x"}, "y = 2\nx = 0\nx = 0\n",
		 "orv: -e 'x = f(1)': x: function f undefined\norv: -e 'x = f(1)': x: function f undefined\n"},
	};
	for (auto &r : t) {
		child c = orv({r.args});
		EXPECT_EQ(c.out, r.out) << r.args[1];
		EXPECT_EQ(c.err, r.err) << r.args[1];
		EXPECT_EQ(c.status, 1) << r.args[1];
	}

	// With -t the message stands in the trace, on standard output.
	child c = orv({{"-t", "-e", "x = nosuch"}});
	std::string end = "0 nosuch " + std::string(1, '\0') + "\n";
	EXPECT_EQ(c.out, end + end + "variable nosuch undefined\nx = 0\n");
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.status, 1);
}

// Output without the libraries' unloads, which come at the exit in an
// order of the loader's own.
std::string unloadless(const std::string &out)
{
	std::string r;
	size_t b = 0;
	for (size_t e; (e = out.find('\n', b)) != out.npos; b = e + 1) {
		std::string line = out.substr(b, e + 1 - b);
		if (!line.ends_with(": unload\n"))
			r += line;
	}
	return r + out.substr(b);
}

// -l names a general library, -r a resident one, each opened once, so
// a library keeps its state from call to call.  Given several times,
// the resident ones are searched first, then the general ones, each in
// the order given.  A name without a slash is a file in this folder.
TEST(Orv, Libraries)
{
	std::string glib = fix + "/gen/orvlib.so", rlib = fix + "/res/orvrlib.so", klib = fix + "/kit/orvlib.so";
	std::string load = "orvlib: load\n", rload = "orvrlib: load\n";
	struct {
		std::vector<std::string> args;
		std::string out;
	} t[] = {
		{{"-l", glib, "-e", "x = {twice(1),twice(2)}"}, load + "twice 1\ntwice 2\nx = {2,4}\n"},
		// general ones in order; a resident one before them all
		{{"-l", rlib, "-l", glib, "-e", "x = {Segment(1),twice(2)}"},
		 rload + load + "resident Segment 1\ntwice 2\nx = {-1,4}\n"},
		{{"-l", glib, "-l", rlib, "-e", "x = {Segment(1),twice(2)}"},
		 load + rload + "Segment 1\ntwice 2\nx = {1,4}\n"},
		{{"-l", glib, "-r", rlib, "-e", "x = {Segment(1),twice(2)}"},
		 rload + load + "resident Segment 1\ntwice 2\nx = {-1,4}\n"},
		{{"-r", glib, "-r", rlib, "-l", klib, "-e", "x = {Segment(1),Quarter(2)}"},
		 load + rload + "Segment 1\nx = {1,0.5}\n"},
	};
	for (auto &r : t) {
		child c = orv({r.args});
		std::string what = testing::PrintToString(r.args);
		EXPECT_EQ(unloadless(c.out), r.out) << what;
		EXPECT_EQ(c.err, "") << what;
		EXPECT_EQ(c.status, 0) << what;
	}

	// The library in the working folder, not the one the loader finds.
	child c = orv({{"-l", "orvlib.so", "-e", "x = One(5)"}, "", {gen}, fix + "/vals"});
	EXPECT_EQ(c.out, "x = {5}\n");
	EXPECT_EQ(c.status, 0);
}

// A general library whose file is replaced while orv runs is opened
// anew at the next lookup, with fresh state; until then it is the one
// opened first.
TEST(Orv, LibraryReplaced)
{
	tmpdir d;
	writefile(d / "orvlib.so", readfile(fix + "/swap1/orvlib.so"));
	writefile(d / "next.so", readfile(fix + "/swap2/orvlib.so"));
	child c = orv({{"-l", "orvlib.so", "-e", "x = {Which(),Which(),Swap(),Which(),Which()}"}, "", {}, d.path});
	EXPECT_EQ(c.out, "x = {101,102,1,201,202}\n");
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.status, 0);
}

// Without -l, orv uses the geometry library that came with it, found
// from its own place: in the build, and in an installed tree wherever
// it lies; never from the working folder or the loader's path.
TEST(Orv, OwnLibrary)
{
	std::string def = "x = Segment({0,0},{3,4})";
	child c = orv({{"-e", def}});
	EXPECT_EQ(c.out, "x = 5\n");
	EXPECT_EQ(c.status, 0);

	tmpdir d;
	std::string bin = d / "usr/bin", lib = bin + "/" + ORV_OWNLIB;
	std::filesystem::create_directories(bin);
	std::filesystem::create_directories(lib.substr(0, lib.rfind('/')));
	writefile(bin + "/orv", readfile(ORV), 0755);
	writefile(d / "orvlib.so", readfile(fix + "/gen/orvlib.so"));
	std::vector<std::string> env = {"LD_LIBRARY_PATH=" + fix + "/gen"};
	c = orv({{"-e", def}, "", env, d.path}, bin + "/orv");
	EXPECT_EQ(c.out, "x = 0\n");
	EXPECT_EQ(c.err, "orv: -e '" + def + "': x: function Segment undefined\n");
	EXPECT_EQ(c.status, 1);

	writefile(lib, readfile(GEOMFN));
	c = orv({{"-e", def}, "", env, d.path}, bin + "/orv");
	EXPECT_EQ(c.out, "x = 5\n");
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.status, 0);
}

// A library made with the kit as its docs say, in C99 and C++11 with
// hidden symbols: the marked functions are called, the rest is no
// function of the language, and vstr of a null pointer is the empty
// value.
TEST(Orv, Kit)
{
	std::string kit = fix + "/kit/orvlib.so";
	child c = orv({{"-l", kit, "-e", "x = {Quarter(10),Text()}", "-e", "y = Nothing()", "-p", "x", "-p", "y"}});
	EXPECT_EQ(c.out, "x = {2.5,@made in C99}\ny = {}\n");
	EXPECT_EQ(c.err, "");
	EXPECT_EQ(c.status, 0);

	c = orv({{"-l", kit, "-e", "x = half(10)"}});
	EXPECT_EQ(c.out, "x = 0\n");
	EXPECT_EQ(c.err, "orv: -e 'x = half(10)': x: function half undefined\n");
	EXPECT_EQ(c.status, 1);
}

// Each way orv refuses to start: a message on standard error, status 2,
// and nothing on standard output.  The definitions before the fault call
// a library that reports its loading, named after every other, so that
// its loading, let alone an evaluation, would show.
TEST(Orv, Refusals)
{
	auto loud = [](std::vector<std::string> args) {
		args.insert(args.end(), {"-l", fix + "/gen/orvlib.so"});
		return args;
	};
	std::string good = "ok = twice(1)\n";
	std::string many;
	for (int i = 0; i <= 10000; i++)	// one more than the table holds
		many += "n" + std::to_string(i) + " = " + std::to_string(i) + "\n";
	std::vector<file> files = {
		{"good.orv", good},
		{"bad.orv", good + "# c\n\nx 1\n"},
		{"many.orv", many},
		{"junk.so", "not a library\n"},
	};
	struct {
		std::vector<std::string> args;
		std::string in, err;
	} t[] = {
		{{"good.orv", "nosuch.orv"}, "", "orv: nosuch.orv: No such file or directory\n"},
		{{"good.orv", "."}, "", "orv: .: Is a directory\n"},
		{{"good.orv", "bad.orv"}, "", "orv: bad.orv:4: expected NAME = DEFINITION\n"},
		{{"good.orv", "-"}, "= 1\n", "orv: (standard input):1: expected NAME = DEFINITION\n"},
		{{"good.orv", "-e", "oops"}, "", "orv: -e 'oops': expected NAME = DEFINITION\n"},
		{{"many.orv"}, "", "orv: many.orv:10001: more than 10000 objects\n"},
		{{"good.orv", "-p", "ok", "-p", "nosuch"}, "", "orv: nosuch: not defined\n"},
		{{"good.orv", "-l", "nosuch.so"}, "",
		 "orv: ./nosuch.so: cannot open shared object file: No such file or directory\n"},
		{{"good.orv", "-r", "./nosuch.so"}, "",
		 "orv: ./nosuch.so: cannot open shared object file: No such file or directory\n"},
	};
	for (auto &r : t) {
		child c = inside(files, {loud(r.args), r.in});
		std::string what = testing::PrintToString(r.args);
		EXPECT_EQ(c.out, "") << what;
		EXPECT_EQ(c.err, r.err) << what;
		EXPECT_EQ(c.status, 2) << what;
	}

	// What is no name of the language, and a line with a NUL byte.
	for (std::string line : {"x", "= 1", " \t= 1", "1x = 1", "@a = 1", "+a = 1", "-a = 1", ".a = 1",
				 "a(b = 1", "a)b = 1", "{ = 1", "a}b = 1", "a,b = 1"}) {
		child c = inside(files, {loud({"good.orv", "-"}), line + "\n"});
		EXPECT_EQ(c.out, "") << line;
		EXPECT_EQ(c.err, "orv: (standard input):1: expected NAME = DEFINITION\n") << line;
		EXPECT_EQ(c.status, 2) << line;
	}
	child c = orv({{}, std::string("x = @a\0b\n", 9)});
	EXPECT_EQ(c.err, "orv: (standard input):1: expected NAME = DEFINITION\n");
	EXPECT_EQ(c.status, 2);

	// A file that is not a library, and standard input closed.
	c = inside(files, {loud({"good.orv", "-l", "junk.so"})});
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err.rfind("orv: ./junk.so: ", 0), 0u) << c.err;
	EXPECT_EQ(c.status, 2);
	c = orv({{}, "", {}, "", true});
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err, "orv: (standard input): Bad file descriptor\n");
	EXPECT_EQ(c.status, 2);

	// Exactly as many objects as the table holds, and redefinitions.
	c = inside(files, {{"-", "-p", "n0"}, many.substr(0, many.rfind("n10000")) + "n0 = 7\n"});
	EXPECT_EQ(c.out, "n0 = 7\n");
	EXPECT_EQ(c.status, 0);
}

// Usage errors, help and version.
TEST(Orv, CommandLine)
{
	std::string usage = "usage: orv [-t] [-i] [-l PATH]... [-r PATH]... [--svg FILE] [-e 'NAME = DEFINITION']... [-p NAME]... [FILE]...\n";
	struct {
		std::vector<std::string> args;
		std::string err;
	} t[] = {
		{{"-x"}, "orv: unknown option -x\n"},
		{{"--frob"}, "orv: unknown option --frob\n"},
		{{"-e"}, "orv: option -e needs an argument\n"},
		{{"-e", "x = 1", "-p"}, "orv: option -p needs an argument\n"},
		{{"-l"}, "orv: option -l needs an argument\n"},
		{{"-r"}, "orv: option -r needs an argument\n"},
	};
	for (auto &r : t) {
		child c = orv({r.args, "x = 1\n"});
		EXPECT_EQ(c.out, "") << r.args[0];
		EXPECT_EQ(c.err, r.err + usage) << r.args[0];
		EXPECT_EQ(c.status, 2) << r.args[0];
	}

	for (const char *h : {"-h", "--help"}) {
		child c = orv({{h, "nosuch.orv"}});
		EXPECT_EQ(c.out.rfind(usage, 0), 0u) << h;
		for (const char *opt : {"-e", "-p", "-t", "-i", "-l", "-r", "--svg", "--version", "Exit status"})
			EXPECT_NE(c.out.find(opt), std::string::npos) << opt;
		EXPECT_EQ(c.err, "");
		EXPECT_EQ(c.status, 0);
	}
	child c = orv({{"--version"}});
	EXPECT_EQ(c.out, "orv " ORV_VERSION "\n");
	EXPECT_EQ(c.status, 0);
}

// Output that cannot be written is a failure, not a silent loss: the
// results, the help and the version alike, to a full disk or to a
// standard output that is closed.
TEST(Orv, LostOutput)
{
	struct {
		std::vector<std::string> args;
		bool closed;
		std::string reason;
	} t[] = {
		{{"-e", "x = 1"}, false, "No space left on device"},
		{{"--help"}, false, "No space left on device"},
		{{"--version"}, false, "No space left on device"},
		{{"-e", "x = 1"}, true, "Bad file descriptor"},
		{{"-h"}, true, "Bad file descriptor"},
		{{"--version"}, true, "Bad file descriptor"},
	};
	for (auto &r : t) {
		run how{r.args};
		if (r.closed)
			how.nooutput = true;
		else
			how.outfile = "/dev/full";
		child c = orv(how);
		std::string what = r.args[0] + (r.closed ? " >&-" : " >/dev/full");
		EXPECT_EQ(c.err, "orv: standard output: " + r.reason + "\n") << what;
		EXPECT_EQ(c.status, 2) << what;
	}
}

// Input that cannot be read whole is bad input, never the end of it:
// a line past the limit (a file without line feeds) and a line that
// does not fit in memory.  Either way nothing is evaluated.
TEST(Orv, UnreadableInput)
{
	child c = orv({{"-e", "a = 1", "/dev/zero"}});
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err, "orv: /dev/zero:1: line longer than 64 MiB\n");
	EXPECT_EQ(c.status, 2);

#if defined(ORV_SANITIZE)
	GTEST_SKIP() << "the sanitizers reserve more address space than any limit leaves";
#else
	if (std::string(ORV_EMULATOR) != "")
		GTEST_SKIP() << "the emulator reserves the target's whole address space";
	run r{{"-e", "a = 1", "/dev/zero"}};
	r.memlimit = 48 << 20;	// the program's own few MiB, then far less than the limit
	c = orv(r);
	EXPECT_EQ(c.out, "");
	EXPECT_EQ(c.err, "orv: /dev/zero: Cannot allocate memory\n");
	EXPECT_EQ(c.status, 2);
#endif
}

// A token of a megabyte, a string and a name, read and printed whole.
// (The sanitizers' realloc copies the block at every byte appended, so
// there it is 32 KiB.)
TEST(Orv, LongTokens)
{
#ifdef ORV_SANITIZE
	std::string s(1 << 15, 'x');
#else
	std::string s(1 << 20, 'x');
#endif
	child c = orv({{"-p", "s", "-p", "n"}, "s = @" + s + "\n" + s + " = 5\nn = " + s + "\n"});
	EXPECT_EQ(c.out, "s = @" + s + "\nn = 5\n");
	EXPECT_EQ(c.status, 0);
}

} // namespace

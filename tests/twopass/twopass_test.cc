// Runs twopass with stand-in compilers: shell scripts on PATH that
// record their arguments in cc.log, write the file named after -o and
// end as each test needs.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "proc.h"

namespace {

using words = std::vector<std::string>;

struct Twopass : testing::Test {
	tmpdir dir;
	std::string path;

	void SetUp() override
	{
		std::filesystem::create_directory(dir / "bin");
		const char *p = getenv("PATH");
		path = "PATH=" + (dir / "bin") + ":" + (p ? p : "/usr/bin:/bin");
		// Records its arguments, ends as the variant says, and else
		// writes the file named after -o.
		auto script = [](const char *end) {
			return std::string("#!/bin/sh\n"
					   "for a; do printf '[%s]' \"$a\"; done >> cc.log\n"
					   "echo >> cc.log\n") +
			       end + "\n" +
			       "out=\n"
			       "while [ $# -gt 1 ]; do [ \"$1\" = -o ] && out=$2; shift; done\n"
			       "[ -z \"$out\" ] || echo \"/* $out */\" > \"$out\"\n";
		};
		struct { const char *name, *end; } cc[] = {
			{"fakecc", ""},
			{"failcc", "exit 3"},
			{"precc", "case \" $* \" in *\" -E \"*) exit 5;; esac"},
			{"compcc", "case \" $* \" in *\" -fpreprocessed \"*) exit 6;; esac"},
			{"killcc", "kill -KILL $$"},
		};
		for (auto &c : cc)
			writefile(dir / "bin/" + c.name, script(c.end), 0755);
	}

	child run(const words &args, bool err = false)
	{
		return runchild(built(TWOPASS, args), {path}, dir.path, err);
	}
};

// A command as twopass prints it: each word quoted and followed by a
// space, a line feed, then an empty line.
std::string printed(const words &w)
{
	std::string s;
	for (auto &x : w)
		s += "'" + x + "' ";
	return s + "\n\n";
}

// The arguments a stand-in compiler recorded for a command.
std::string logged(const words &w)
{
	std::string s;
	for (size_t i = 1; i < w.size(); i++)
		s += "[" + w[i] + "]";
	return s + "\n";
}

TEST_F(Twopass, Commands)
{
	const std::string T = "twopasstmp.c";
	struct { words args, pre, comp; } t[] = {
		{{"fakecc", "-c", "x.c"},
		 {"fakecc", "-E", "-c", "x.c", "-o", T}, {"fakecc", "-c", T, "-fpreprocessed"}},
		{{"fakecc", "x.c", "-o", "x"},
		 {"fakecc", "-E", "x.c", "-o", T}, {"fakecc", T, "-o", "x", "-fpreprocessed"}},
		{{"fakecc", "-O2", "-Wall", "x.c"},
		 {"fakecc", "-E", "-O2", "-Wall", "x.c", "-o", T}, {"fakecc", "-O2", "-Wall", T, "-fpreprocessed"}},
		{{"fakecc"}, {"fakecc", "-o", T}, {"fakecc", "-fpreprocessed"}},
		// a lone -o at the end gets no value and no second -o
		{{"fakecc", "x.c", "-o"}, {"fakecc", "-E", "x.c", "-o"}, {"fakecc", T, "-o", "-fpreprocessed"}},
		// a joined -ox is no -o
		{{"fakecc", "x.c", "-ox"},
		 {"fakecc", "-E", "x.c", "-ox", "-o", T}, {"fakecc", T, "-ox", "-fpreprocessed"}},
		// -o right after the compiler, twice: both values replaced; the
		// compile command takes the first word that is no option for
		// the source
		{{"fakecc", "-o", "a", "x.c", "-o", "b"},
		 {"fakecc", "-E", "-o", T, "x.c", "-o", T}, {"fakecc", "-o", T, "x.c", "-o", "b", "-fpreprocessed"}},
		{{"fakecc", "-c", "-O2"},
		 {"fakecc", "-E", "-c", "-O2", "-o", T}, {"fakecc", "-c", "-O2", "-fpreprocessed"}},
		{{"fakecc", "a.c", "b.c"},
		 {"fakecc", "-E", "a.c", "b.c", "-o", T}, {"fakecc", T, "b.c", "-fpreprocessed"}},
		{{"fakecc", "-c", "", "x.c"},
		 {"fakecc", "-E", "-c", "", "x.c", "-o", T}, {"fakecc", "-c", T, "x.c", "-fpreprocessed"}},
	};
	for (auto &r : t) {
		std::filesystem::remove(dir / "cc.log");
		child c = run(r.args);
		std::string what = printed(r.args);
		EXPECT_EQ(c.out, printed(r.pre) + printed(r.comp)) << what;
		EXPECT_EQ(readfile(dir / "cc.log"), logged(r.pre) + logged(r.comp)) << what;
		EXPECT_EQ(c.status, 0) << what;
	}
	EXPECT_TRUE(std::filesystem::exists(dir / T)) << "the temporary file stays";
}

// The exit status is that of the first run that failed; the compile
// runs all the same.  A compiler that cannot be started counts as 127,
// one killed by a signal as 128 + the signal.
TEST_F(Twopass, Status)
{
	struct { const char *cc; int status; int runs; } t[] = {
		{"failcc", 3, 2},
		{"precc", 5, 2},
		{"compcc", 6, 2},
		{"killcc", 128 + SIGKILL, 2},
		{"nosuchcc", 127, 0},
	};
	for (auto &r : t) {
		std::filesystem::remove(dir / "cc.log");
		child c = run({r.cc, "-c", "x.c"}, true);
		EXPECT_EQ(c.status, r.status) << r.cc;
		EXPECT_EQ(c.out, printed({r.cc, "-E", "-c", "x.c", "-o", "twopasstmp.c"}) +
					 printed({r.cc, "-c", "twopasstmp.c", "-fpreprocessed"}))
			<< r.cc << ": the command lines and no message";
		std::string log = readfile(dir / "cc.log");
		EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), r.runs) << r.cc;
	}

	// With no arguments at all the commands name no compiler that exists.
	child c = run({}, true);
	EXPECT_EQ(c.status, 127);
	EXPECT_EQ(c.out, printed({"-o", "twopasstmp.c"}) + printed({"-fpreprocessed"}));
}

// The system's gcc compiles through the preprocessed file into a
// program that runs.
TEST_F(Twopass, RealCompile)
{
	writefile(dir / "x.c",
		  "#include <stdio.h>\n"
		  "#define GREETING \"two passes\"\n"
		  "int main(void) { puts(GREETING); return 0; }\n");
	child c = run({"gcc", "x.c", "-o", "x"}, true);
	EXPECT_EQ(c.out, printed({"gcc", "-E", "x.c", "-o", "twopasstmp.c"}) +
				 printed({"gcc", "twopasstmp.c", "-o", "x", "-fpreprocessed"}));
	ASSERT_EQ(c.status, 0);
	std::string tmp = readfile(dir / "twopasstmp.c");
	EXPECT_EQ(tmp.find("GREETING"), std::string::npos) << "the file holds preprocessed text";
	EXPECT_NE(tmp.find("\"two passes\""), std::string::npos);
	child x = runchild({dir / "x"});
	EXPECT_EQ(x.out, "two passes\n");
	EXPECT_EQ(x.status, 0);
}

} // namespace

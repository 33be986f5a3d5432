// Runs twopass with stand-in compilers: shell scripts on PATH that
// record their arguments in cc.log, write the file named after -o and
// end as each test needs.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "tests/support/proc.h"

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
		return runchild({.cmd = built(TWOPASS, args), .env = {path}, .dir = dir.path, .err = err});
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
		// compile command passes over the value of -o to the source
		{{"fakecc", "-o", "a", "x.c", "-o", "b"},
		 {"fakecc", "-E", "-o", T, "x.c", "-o", T}, {"fakecc", "-o", "a", T, "-o", "b", "-fpreprocessed"}},
		// an -o that is the value of -o names the output "-o": the
		// source after it is still replaced
		{{"fakecc", "-o", "-o", "x.c"},
		 {"fakecc", "-E", "-o", T, "x.c"}, {"fakecc", "-o", "-o", T, "-fpreprocessed"}},
		{{"fakecc", "x.c", "-o", "-o", "-o", "y"},
		 {"fakecc", "-E", "x.c", "-o", T, "-o", T}, {"fakecc", T, "-o", "-o", "-o", "y", "-fpreprocessed"}},
		{{"fakecc", "-o", "x", "-c", "x.c"},
		 {"fakecc", "-E", "-o", T, "-c", "x.c"}, {"fakecc", "-o", "x", "-c", T, "-fpreprocessed"}},
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
			<< r.cc << ": the command lines alone";
		std::string log = readfile(dir / "cc.log");
		EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), r.runs) << r.cc;
		if (r.runs) {
			EXPECT_EQ(c.err, "") << r.cc;
		}
	}
}

// A compiler that cannot be started is named on standard error, with
// the reason, once per run; standard output holds the command lines.
TEST_F(Twopass, CannotRunSaysWhy)
{
	const std::string why = "cannot run nosuchcc: No such file or directory\n";
	child c = run({"nosuchcc", "-c", "x.c"}, true);
	EXPECT_EQ(c.status, 127);
	EXPECT_EQ(c.err, "twopass: " + why + "twopass: " + why);

	// Nor does a compiler named by a directory start.
	std::filesystem::create_directory(dir / "sub");
	c = run({"./sub"}, true);
	EXPECT_EQ(c.status, 127);
	EXPECT_EQ(c.err, "twopass: cannot run ./sub: Permission denied\n"
			 "twopass: cannot run ./sub: Permission denied\n");

	// With no arguments at all the commands name no compiler that exists.
	c = run({}, true);
	EXPECT_EQ(c.status, 127);
	EXPECT_EQ(c.out, printed({"-o", "twopasstmp.c"}) + printed({"-fpreprocessed"}));
	EXPECT_EQ(c.err, "twopass: cannot run -o: No such file or directory\n"
			 "twopass: cannot run -fpreprocessed: No such file or directory\n");
}

// A twopasstmp.c that is a symbolic link would have the first pass write
// through it into the file it points at, or create one where it points.
// twopass refuses: no compiler runs and nothing is written.
TEST_F(Twopass, TemporaryFileThatIsALinkIsRefused)
{
	const std::string mine = "int mine;\n";
	writefile(dir / "mine.c", mine);
	struct { const char *name, *target; } links[] = {
		{"to a file", "mine.c"},
		{"dangling", "nowhere.c"},
	};
	for (auto &l : links) {
		std::filesystem::remove(dir / "twopasstmp.c");
		std::filesystem::create_symlink(l.target, dir / "twopasstmp.c");
		child c = run({"fakecc", "-c", "x.c"}, true);
		EXPECT_NE(c.status, 0) << l.name;
		EXPECT_EQ(c.out, "") << l.name;
		EXPECT_EQ(c.err, "twopass: twopasstmp.c is a symbolic link; not writing through it\n")
			<< l.name;
		EXPECT_FALSE(std::filesystem::exists(dir / "cc.log")) << l.name << ": no compiler ran";
		EXPECT_TRUE(std::filesystem::is_symlink(dir / "twopasstmp.c")) << l.name;
	}
	EXPECT_EQ(readfile(dir / "mine.c"), mine);
	EXPECT_FALSE(std::filesystem::exists(dir / "nowhere.c"));

	// A regular file of that name is overwritten as ever.
	std::filesystem::remove(dir / "twopasstmp.c");
	writefile(dir / "twopasstmp.c", "old\n");
	child c = run({"fakecc", "-c", "x.c"}, true);
	EXPECT_EQ(c.status, 0);
	EXPECT_EQ(readfile(dir / "twopasstmp.c"), "/* twopasstmp.c */\n");
}

// The system's gcc compiles through the preprocessed file into a
// program that runs, with the output named after the source or before.
TEST_F(Twopass, RealCompile)
{
	writefile(dir / "x.c",
		  "#include <stdio.h>\n"
		  "#define GREETING \"two passes\"\n"
		  "int main(void) { puts(GREETING); return 0; }\n");
	struct { words args, pre, comp; } t[] = {
		{{"gcc", "x.c", "-o", "x"},
		 {"gcc", "-E", "x.c", "-o", "twopasstmp.c"},
		 {"gcc", "twopasstmp.c", "-o", "x", "-fpreprocessed"}},
		{{"gcc", "-o", "x", "x.c"},
		 {"gcc", "-E", "-o", "twopasstmp.c", "x.c"},
		 {"gcc", "-o", "x", "twopasstmp.c", "-fpreprocessed"}},
	};
	for (auto &r : t) {
		std::string what = printed(r.args);
		std::filesystem::remove(dir / "x");
		std::filesystem::remove(dir / "twopasstmp.c");
		child c = run(r.args, true);
		EXPECT_EQ(c.out, printed(r.pre) + printed(r.comp)) << what;
		ASSERT_EQ(c.status, 0) << what << c.err;
		std::string tmp = readfile(dir / "twopasstmp.c");
		EXPECT_EQ(tmp.find("GREETING"), std::string::npos) << "the file holds preprocessed text";
		EXPECT_NE(tmp.find("\"two passes\""), std::string::npos);
		child x = runchild({{dir / "x"}});
		EXPECT_EQ(x.out, "two passes\n") << what;
		EXPECT_EQ(x.status, 0) << what;
	}
}

} // namespace

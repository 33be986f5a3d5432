/* orvedit's command line as a person types it, with no display at all:
   --help and --version answer, mistakes give status 2 and a message. */
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/proc.h"

namespace {

/* Runs orvedit with the words of args, with no display and no video
   driver chosen. */
child run(const std::string &args)
{
	std::vector<std::string> words;
	std::istringstream in(args);
	for (std::string w; in >> w;)
		words.push_back(w);
	return runchild({.cmd = built(ORVEDIT, words),
			 .env = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}, .err = true});
}

TEST(OrveditCli, VersionAndHelpNeedNoDisplay)
{
	child v = run("--version");
	EXPECT_EQ(v.status, 0);
	EXPECT_EQ(v.out, "orvedit " ORV_PROJECT_VERSION "\n");
	EXPECT_EQ(v.err, "");
	child h = run("--help");
	EXPECT_EQ(h.status, 0);
	EXPECT_EQ(h.out.rfind("usage: orvedit", 0), 0u) << h.out;
	EXPECT_NE(h.out.find("Ctrl+S"), std::string::npos);
	EXPECT_EQ(h.err, "");
}

/* An answer that cannot be written is a failure, said on standard
   error. */
TEST(OrveditCli, UnwritableStandardOutputIsAnError)
{
	for (const char *a : {"--help", "--version"}) {
		child r = runchild({.cmd = built(ORVEDIT, {a}), .err = true,
			.outfile = "/dev/full"});
		EXPECT_EQ(r.status, 2) << a;
		EXPECT_EQ(r.err, "orvedit: standard output: No space left on device\n") << a;
	}
}

TEST(OrveditCli, MistakesGiveStatusTwo)
{
	const struct {
		const char *args, *says;
	} cases[] = {
		/* No FILE is a new text: it still needs a display. */
		{"", "no display to open a window on"},
		{"a b", "one FILE only"},
		{"-x a", "unknown option -x"},
		{"-t", "-t needs stops"},
		{"-t 0,x a", "-t needs stops"},
		{"+x a", "+ needs LINE or LINE:COLUMN: +x"},
		{"+0 a", "+ needs LINE or LINE:COLUMN: +0"},
		{"+3:y a", "+ needs LINE or LINE:COLUMN: +3:y"},
		{"/tmp", "/tmp: is a directory"},
		{"-- /", "/: is a directory"},
		/* Not even a window in memory that nobody sees. */
		{"/tmp/orvedit-cli-never-made", "no display to open a window on"},
	};
	for (auto c : cases) {
		SCOPED_TRACE(c.args);
		child r = run(c.args);
		EXPECT_EQ(r.status, 2);
		EXPECT_EQ(r.out, "");
		EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
	}
}

}

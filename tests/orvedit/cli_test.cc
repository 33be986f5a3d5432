/* orvedit's command line as a person types it, with no display at all:
   --help and --version answer, mistakes give status 2 and a message. */
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

struct result {
	int status;
	std::string out, err;
};

std::string slurp(const std::string &p)
{
	std::ifstream f(p);
	std::stringstream s;
	s << f.rdbuf();
	return s.str();
}

/* Runs orvedit ARGS with no display and no video driver chosen. */
result run(const std::string &args)
{
	char dir[] = "/tmp/orvedit-cli-XXXXXX";
	std::string d = mkdtemp(dir);
	std::string cmd = "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "
		ORV_EMULATOR " " ORVEDIT " " + args + " >" + d + "/out 2>" + d + "/err";
	int st = system(cmd.c_str());
	result r = {WIFEXITED(st) ? WEXITSTATUS(st) : -1, slurp(d + "/out"),
		slurp(d + "/err")};
	unlink((d + "/out").c_str());
	unlink((d + "/err").c_str());
	rmdir(d.c_str());
	return r;
}

TEST(OrveditCli, VersionAndHelpNeedNoDisplay)
{
	result v = run("--version");
	EXPECT_EQ(v.status, 0);
	EXPECT_EQ(v.out, "orvedit " ORV_PROJECT_VERSION "\n");
	EXPECT_EQ(v.err, "");
	result h = run("--help");
	EXPECT_EQ(h.status, 0);
	EXPECT_EQ(h.out.rfind("usage: orvedit", 0), 0u) << h.out;
	EXPECT_NE(h.out.find("Ctrl+S"), std::string::npos);
	EXPECT_EQ(h.err, "");
}

TEST(OrveditCli, MistakesGiveStatusTwo)
{
	const struct {
		const char *args, *says;
	} cases[] = {
		{"", "no FILE given"},
		{"a b", "one FILE only"},
		{"-x a", "unknown option -x"},
		{"-t", "-t needs stops"},
		{"-t 0,x a", "-t needs stops"},
		{"/tmp", "/tmp: is a directory"},
		{"-- /", "/: is a directory"},
		/* Not even a window in memory that nobody sees. */
		{"/tmp/orvedit-cli-never-made", "no display to open a window on"},
	};
	for (auto c : cases) {
		SCOPED_TRACE(c.args);
		result r = run(c.args);
		EXPECT_EQ(r.status, 2);
		EXPECT_EQ(r.out, "");
		EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
	}
}

}

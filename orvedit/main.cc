/* orvedit: edits a file in a window.  The command line is read before
   SDL starts, so --help, --version and mistakes need no display. */
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "orvedit/edit.h"
#include "orv/version.h"

static const char usage[] =
	"usage: orvedit [-t STOPS] [+LINE[:COLUMN]] [FILE[:LINE[:COLUMN]]]\n"
	"Edits FILE in a window; a missing FILE is made on the first save,\n"
	"and without one the text is new, named on the first save.\n"
	"  -t STOPS   tab stops as percentages of a row, e.g. 30,60\n"
	"  +LINE[:COLUMN], FILE:LINE[:COLUMN]\n"
	"             start with the cursor there (from 1; columns in characters)\n"
	"  --help     print this and exit\n"
	"  --version  print the version and exit\n"
	"Keys: Ctrl+S save, Ctrl+Shift+S save as, Ctrl+O open, Ctrl+N new,\n"
	"Ctrl+Q quit, Ctrl+Z undo, Ctrl+Shift+Z redo,\n"
	"Ctrl+C, Ctrl+X, Ctrl+V copy, cut and paste, Shift+move select,\n"
	"Ctrl+F find, Ctrl+H replace, Ctrl+G go to line, F1 all the keys.\n";

/* Prints s on standard output; a failed write (a full disk, a closed
   stream) is an error, said on standard error. */
static int say(const char *s)
{
	fputs(s, stdout);
	if (fflush(stdout) != 0 || ferror(stdout)) {
		fprintf(stderr, "orvedit: standard output: %s\n", strerror(errno));
		return 2;
	}
	return 0;
}

static int bad(const char *msg, const char *arg)
{
	fprintf(stderr, "orvedit: %s%s\n%s", msg, arg, usage);
	return 2;
}

/* A list of percentages: digits and commas, each stop 1 to 100. */
static bool stops(const char *s, std::vector<int32_t> &tabs)
{
	while (*s) {
		char *end;
		long v = strtol(s, &end, 10);
		if (end == s || v < 1 || v > 100 || (*end && *end != ','))
			return false;
		tabs.push_back((int32_t)v);
		s = *end ? end + 1 : end;
	}
	return !tabs.empty();
}

/* Where this program lies, for finding the plug-in. */
static std::string self()
{
	char b[4096];
	ssize_t n = readlink("/proc/self/exe", b, sizeof b - 1);
	return n > 0 ? std::string(b, n) : std::string();
}

/* FILE:LINE or FILE:LINE:COLUMN, as compilers print a place, when no
   file of the whole name is there but one of the name before it is. */
static std::string place(const char *file, edit_opts &o)
{
	std::string f = file;
	struct stat s;
	if (stat(file, &s) == 0)
		return f;
	for (int colons = 0; colons < 2; colons++) {
		size_t k = f.rfind(':');
		if (k == std::string::npos || k == 0)
			break;
		k = colons == 0 ? k : f.rfind(':', k - 1);
		if (k == std::string::npos || k == 0)
			break;
		std::string name = f.substr(0, k);
		int line, col;
		if (line_col(f.substr(k + 1), line, col) &&
		    stat(name.c_str(), &s) == 0) {
			o.line = line;
			o.col = col;
			return name;
		}
	}
	return f;
}

int main(int argc, char **argv)
{
	edit_opts o;
	const char *file = nullptr;
	bool opts = true;

	for (int i = 1; i < argc; i++) {
		const char *a = argv[i];
		if (opts && !strcmp(a, "--help"))
			return say(usage);
		if (opts && !strcmp(a, "--version"))
			return say("orvedit " ORV_VERSION "\n");
		if (opts && !strcmp(a, "--")) {
			opts = false;
		} else if (opts && !strcmp(a, "-t")) {
			if (++i == argc || !stops(argv[i], o.tabs))
				return bad("-t needs stops such as 30,60", "");
		} else if (opts && a[0] == '-' && a[1]) {
			return bad("unknown option ", a);
		} else if (opts && a[0] == '+' && !file) {
			if (!line_col(a + 1, o.line, o.col))
				return bad("+ needs LINE or LINE:COLUMN: ", a);
		} else if (file) {
			return bad("one FILE only", "");
		} else {
			file = a;
		}
	}
	if (!file)
		file = "";
	std::string named = place(file, o);
	file = named.c_str();

	struct stat s;
	if (*file && stat(file, &s) == 0 && S_ISDIR(s.st_mode)) {
		fprintf(stderr, "orvedit: %s: is a directory\n", file);
		return 2;
	}

	o.plugin = plugin_path(self());
	if (SDL_Init(SDL_INIT_VIDEO) != 0) {
		fprintf(stderr, "orvedit: cannot start SDL: %s\n", SDL_GetError());
		return 2;
	}
	/* Without a display SDL falls back to a driver that draws in
	   memory only: an editor nobody can see.  Unless asked for. */
	const char *drv = SDL_GetCurrentVideoDriver();
	const char *want = getenv("SDL_VIDEODRIVER");
	if (drv && (!strcmp(drv, "offscreen") || !strcmp(drv, "dummy")) &&
	    !(want && *want)) {
		fprintf(stderr, "orvedit: no display to open a window on\n");
		SDL_Quit();
		return 2;
	}
	editor e{};
	std::string err;
	if (!edit_open(e, file, o, err)) {
		fprintf(stderr, "orvedit: %s\n", err.c_str());
		SDL_Quit();
		return 2;
	}
	/* The run is over: the window and the connection to the display go
	   with the process.  Destroying the window first has been seen to
	   end, now and then, in an X error from SDL (BadWindow on a
	   SendEvent), for which Xlib's default handler exits with 1. */
	exit(edit_run(e));
}

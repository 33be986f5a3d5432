// orv: evaluates definitions of one's own and prints their values.
//
// All input is read and checked before anything is evaluated, so a bad
// command line or bad input (exit status 2) prints nothing on standard
// output and calls no library function.
#include <dlfcn.h>
#include <errno.h>
#include <stdlib.h>
#include <getopt.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include <deque>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "interp/interp.h"
#include "orv/check.h"
#include "orv/libs.h"
#include "orv/svg.h"
#include "orv/text.h"
#include "orv/version.h"

namespace {

const char usage[] = "usage: orv [-t] [-i] [-l PATH]... [-r PATH]... [--svg FILE] [-e 'NAME = DEFINITION']... [-p NAME]... [FILE]...\n";

const char help[] =
	"Evaluates definitions NAME = DEFINITION, one a line, and prints values\n"
	"as NAME = TEXT, where TEXT evaluates to the same value.\n"
	"\n"
	"Definitions come from each FILE in order (- is standard input, also read\n"
	"when there is neither a FILE nor -e).  Blank lines and lines that begin\n"
	"with # are skipped; a later definition of a name replaces the earlier.\n"
	"\n"
	"  -e 'NAME = DEFINITION'  one more definition, in order with the files\n"
	"  -p NAME     print NAME (repeatable); without -p, the last one defined\n"
	"  -t          before each value, the evaluation's trace as orvcalc writes it\n"
	"  -i          then a prompt: each line a definition, whose value is printed,\n"
	"              or an expression; Ctrl-C abandons an evaluation, Ctrl-D ends\n"
	"              (the default on a terminal with neither FILE nor -e)\n"
	"  -l PATH     a general function library, opened once and again whenever\n"
	"              its file changes (default: the geometry library that came\n"
	"              with orv)\n"
	"  -r PATH     a resident function library, opened once\n"
	"              -l and -r may be repeated: functions are looked up in the\n"
	"              resident libraries first, then in the general ones, each in\n"
	"              the order given; a PATH without a slash is a file in the\n"
	"              current folder\n"
	"  --svg FILE  also draw the figure of the printed objects into FILE, as SVG:\n"
	"              points as labelled dots, Segment calls as segments, Curve\n"
	"              calls as the arcs they lie on\n"
	"  -h, --help  show this text\n"
	"  --version   show the version\n"
	"\n"
	"Every definition is checked before anything is evaluated.  Nesting stops\n"
	"at a depth of 1000.\n"
	"\n"
	"Exit status: 0; 1 if the evaluation printed a message (an undefined\n"
	"function or variable, a wrong number of arguments, an error of a library\n"
	"function, nesting too deep); 2 for a usage error or bad input.\n";

// The scanner's whitespace.
constexpr std::string_view ws = " \t\r\n";

// Names and definitions live as long as the object table that points
// at them.
std::deque<std::string> texts;
const char *last;	// the name of the last definition read

void fail(const std::string &msg)
{
	fprintf(stderr, "orv: %s\n", msg.c_str());
}

int badusage(const std::string &msg)
{
	fail(msg);
	fputs(usage, stderr);
	return 2;
}

std::string_view strip(std::string_view s)
{
	size_t b = s.find_first_not_of(ws);
	if (b == s.npos)
		return {};
	return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

// Where each object's definition stands, for the messages of its
// evaluation.
std::vector<std::string> places(NPAGE);
bool full;	// the table is: reading stops

// Enters one line "NAME = DEFINITION" into the table, checking the
// definition first; at says where the line comes from, for the
// messages.  Blank lines and comments are skipped.  A fault is
// reported and the reading goes on, so that all are seen at once.
bool define(const std::string &at, std::string_view line)
{
	std::string_view t = strip(line);
	if (t.empty() || t[0] == '#')
		return true;

	size_t eq = line.find('=');
	std::string_view name = strip(line.substr(0, eq));
	if (eq == line.npos || !isname(name) || line.find('\0') != line.npos) {
		fail(at + ": expected NAME = DEFINITION");
		return false;
	}
	std::string_view def = strip(line.substr(eq + 1));
	size_t col = def.empty() ? line.size() + 1 : size_t(def.data() - line.data()) + 1;
	const char *n = texts.emplace_back(name).c_str();
	const std::string &d = texts.emplace_back(def);
	std::vector<fault> faults = check(d, col);
	for (auto &f : faults)
		fail(at + ":" + std::to_string(f.col) + ": " + f.msg);
	int i = orvo_set(n, d.c_str(), 0);
	if (i < 0) {
		fail(at + ": more than " + std::to_string(NPAGE) + " objects");
		full = true;
		return false;
	}
	places[size_t(i)] = at;
	last = n;
	return faults.empty();
}

// The object that holds an expression typed at the prompt: "=" is no
// name a definition can give, since a line is split at its first "=".
const char expr[] = "=";

// Messages of the evaluation name the object and where it stands.
void tell(int obj, const char *msg)
{
	std::string s = "orv: ";
	if (obj >= 0)
		s += places[size_t(obj)] + ": ";
	if (obj >= 0 && strcmp(page[obj].name, expr) != 0)
		s += std::string(page[obj].name) + ": ";
	s += msg;
	fputs(s.c_str(), stderr);
}

// The longest line read, a definition with its name: far beyond any
// hand-written one, yet it stops a file with no line feed (/dev/zero)
// long before it takes the machine's memory.
constexpr size_t maxline = size_t(64) << 20;

// Reads the next line of f into line, without its line feed: 1, or 0 at
// the end of the input, or -1 with errno set (EFBIG for a line over
// maxline, ENOMEM when it does not fit in memory).  A failed read is
// told apart from the end, so that it never passes for the last line.
int readline(FILE *f, std::string &line)
{
	int c;

	line.clear();
	errno = 0;
	try {
		while ((c = getc_unlocked(f)) != EOF && c != '\n') {
			if (line.size() == maxline) {
				errno = EFBIG;
				return -1;
			}
			line += char(c);
		}
	} catch (const std::bad_alloc &) {
		errno = ENOMEM;
		return -1;
	}
	if (c == EOF && ferror(f))
		return -1;
	return c != EOF || !line.empty();
}

// Reads the definitions of a file, "-" being standard input.
bool readfile(const char *path)
{
	bool in = strcmp(path, "-") == 0;
	std::string shown = in ? "(standard input)" : path;
	FILE *f = in ? stdin : fopen(path, "r");
	if (!f) {
		fail(shown + ": " + strerror(errno));
		return false;
	}

	std::string line;
	long n = 0;
	bool ok = true;
	int r = 0;
	while (!full && (r = readline(f, line)) > 0)
		ok &= define(shown + ":" + std::to_string(++n), line);
	// A failed read ends the file: what follows cannot be told from it.
	if (!full && r < 0) {
		if (errno == EFBIG)
			fail(shown + ":" + std::to_string(n + 1) + ": line longer than " +
			     std::to_string(maxline >> 20) + " MiB");
		else
			fail(shown + ": " + strerror(errno ? errno : EIO));
		ok = false;
	}
	line = std::string();
	if (!in)
		fclose(f);
	return ok;
}

// Whether all that was written reached standard output; if not, says
// why, so that a lost result is never a silent success.
bool flushed()
{
	if (fflush(stdout) == 0 && !ferror(stdout))
		return true;
	fail(std::string("standard output: ") + strerror(errno));
	return false;
}

// A library named on the command line must load; a name without a
// slash is a file in this folder, not one the loader searches for.
std::string libpath(const char *p)
{
	return strchr(p, '/') ? p : std::string("./") + p;
}

struct options {
	std::vector<std::pair<bool, const char *>> inputs;	// (is -e, text)
	std::vector<const char *> print;
	bool trace = false;
	bool prompt = false;	// -i, or a terminal and nothing else to read
	std::vector<std::string> libs, res;	// general and resident, in order
	std::string svg;	// where the figure goes, if anywhere
};

// Reads the command line into o: 0 to go on; -1 when help or the version
// was printed, which ends the run with status 0; else the exit status
// of a usage error or of output that could not be written.
int readargs(int argc, char **argv, options &o)
{
	static const struct option longs[] = {
		{"help", no_argument, nullptr, 'h'},
		{"version", no_argument, nullptr, 'V'},
		{"svg", required_argument, nullptr, 'S'},
		{nullptr, 0, nullptr, 0},
	};
	int c;

	// "-" first: files come back in their place among the options.
	opterr = 0;
	while ((c = getopt_long(argc, argv, "-:e:p:til:r:h", longs, nullptr)) != -1) {
		switch (c) {
		case 1:
			o.inputs.push_back({false, optarg});
			break;
		case 'e':
			o.inputs.push_back({true, optarg});
			break;
		case 'p':
			o.print.push_back(optarg);
			break;
		case 't':
			o.trace = true;
			break;
		case 'i':
			o.prompt = true;
			break;
		case 'l':
			o.libs.push_back(libpath(optarg));
			break;
		case 'r':
			o.res.push_back(libpath(optarg));
			break;
		case 'S':
			o.svg = optarg;
			break;
		case 'h':
			fputs(usage, stdout);
			fputs(help, stdout);
			return flushed() ? -1 : 2;
		case 'V':
			fputs("orv " ORV_VERSION "\n", stdout);
			return flushed() ? -1 : 2;
		case ':':
			if (optopt == 'S')
				return badusage("option --svg needs an argument");
			return badusage(std::string("option -") + char(optopt) + " needs an argument");
		default:
			if (optopt)
				return badusage(std::string("unknown option -") + char(optopt));
			return badusage(std::string("unknown option ") + argv[optind - 1]);
		}
	}
	for (; optind < argc; optind++)
		o.inputs.push_back({false, argv[optind]});
	if (o.inputs.empty() && !o.prompt) {
		if (isatty(STDIN_FILENO))
			o.prompt = true;
		else
			o.inputs.push_back({false, "-"});
	}
	return 0;
}

// Everything that can go wrong before evaluating: 0 or the exit status.
int prepare(const options &o)
{
	bool ok = true;
	for (auto &[expr, text] : o.inputs) {
		ok &= expr ? define(std::string("-e '") + text + "'", text) : readfile(text);
		if (full)
			return 2;
	}
	for (const char *n : o.print)
		if (orvo_lookup(n) == len_page) {
			fail(std::string(n) + ": not defined");
			ok = false;
		}
	if (!ok)
		return 2;
	// Resident ones first, as they are searched.
	std::vector<std::pair<std::string, bool>> libs;
	for (auto &p : o.res)
		libs.push_back({p, true});
	for (auto &p : o.libs)
		libs.push_back({p, false});
	std::string own = o.libs.empty() ? ownlib() : "";
	if (!own.empty())
		libs.push_back({own, false});
	for (auto &[path, resident] : libs) {
		std::string e = addlib(path, resident);
		if (!e.empty()) {
			fail(e);
			return 2;
		}
	}
	uselibs();
	return 0;
}

void print(const char *name, bool fig)
{
	value v = parse(orvo_lookup(name), nullptr, 0, 1, 1, 0);
	std::string s = name;

	if (fig)
		figobject(name, v);

	s += " = ";
	writevalue(s, v);
	s += '\n';
	fwrite(s.data(), 1, s.size(), stdout);
}

void interrupt(int)
{
	halt = 1;
}

// One line typed at the prompt: a definition, entered and its value
// printed, or an expression, its value printed.  A fault of either is
// told and the table left as it was.
void enter(const std::string &at, std::string_view line)
{
	std::string_view t = strip(line);
	if (t.empty() || t[0] == '#')
		return;

	size_t eq = line.find('=');
	std::string_view name = eq == line.npos ? "" : strip(line.substr(0, eq));
	bool def = isname(name);
	std::string_view text = def ? strip(line.substr(eq + 1)) : t;
	if (line.find('\0') != line.npos) {
		fail(at + ": a line cannot hold the byte 0");
		return;
	}
	size_t col = text.empty() ? line.size() + 1 : size_t(text.data() - line.data()) + 1;
	const std::string &d = texts.emplace_back(text);
	std::vector<fault> faults = check(d, col);
	for (auto &f : faults)
		fail(at + ":" + std::to_string(f.col) + ": " + f.msg);
	if (!faults.empty())
		return;
	const char *n = def ? texts.emplace_back(name).c_str() : expr;
	int i = orvo_set(n, d.c_str(), 0);
	if (i < 0) {
		fail(at + ": more than " + std::to_string(NPAGE) + " objects");
		return;
	}
	places[size_t(i)] = at;
	forget();	// a kept value may have used the old definition

	value v = parse(i, nullptr, 0, 1, 1, 0);
	if (halt) {
		fputs("orv: interrupted\n", stderr);
		return;
	}
	std::string s = def ? std::string(n) + " = " : "";
	writevalue(s, v);
	s += '\n';
	fwrite(s.data(), 1, s.size(), stdout);
}

// Line editing and history at the prompt, where libedit is installed:
// its readline interface, taken when the prompt starts, so that orv
// runs without it and reads plain lines then.
struct editing {
	char *(*read)(const char *prompt);	// null: not to be had
	int (*keep)(const char *line);
};

editing editline()
{
	editing e = {nullptr, nullptr};
	if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO))
		return e;
	void *h = dlopen("libedit.so.2", RTLD_NOW | RTLD_LOCAL);
	if (!h)
		return e;
	e.read = (char *(*)(const char *))dlsym(h, "readline");
	e.keep = (int (*)(const char *))dlsym(h, "add_history");
	if (!e.read || !e.keep)
		e = {nullptr, nullptr};
	return e;
}

// One line at the prompt: 1, 0 at the end (Ctrl-D), -1 when the read
// failed or Ctrl-C cut it short (halt set).
int prompted(const editing &ed, std::string &line)
{
	if (!ed.read) {
		fputs("orv> ", stdout);
		if (!flushed())
			return -1;
		return readline(stdin, line);
	}
	if (!flushed())
		return -1;
	char *l = ed.read("orv> ");
	if (!l)
		return halt ? -1 : 0;
	line = l;
	free(l);
	if (!strip(line).empty())
		ed.keep(line.c_str());
	return 1;
}

// The prompt, until the end of the input (Ctrl-D): 0.  Ctrl-C abandons
// the evaluation under way, or the line being typed, and asks again.
int session()
{
	struct sigaction sa = {};
	sa.sa_handler = interrupt;
	sigemptyset(&sa.sa_mask);
	sigaction(SIGINT, &sa, nullptr);	// no SA_RESTART: a read is cut short too

	editing ed = editline();
	std::string line;
	for (long n = 1;; n++) {
		halt = 0;
		int r = prompted(ed, line);
		if (r < 0 && halt) {
			clearerr(stdin);
			fputc('\n', stdout);
			continue;
		}
		if (r < 0) {
			fail(std::string("(standard input): ") + strerror(errno));
			return 2;
		}
		if (r == 0)
			break;
		enter("(standard input):" + std::to_string(n), line);
	}
	fputc('\n', stdout);
	return flushed() ? 0 : 2;
}

} // namespace

int main(int argc, char **argv)
{
	options o;
	orvo_index(1);
	int st = readargs(argc, argv, o);
	if (st)
		return st < 0 ? 0 : st;
	if ((st = prepare(o)))
		return st;

	params = 1;
	errors = 1;
	quoted = 1;
	memo = 1;
	if (!o.trace) {
		trace = 0;
		msghook = tell;
	}
	if (o.print.empty() && last && !o.prompt)
		o.print.push_back(last);
	if (!o.svg.empty())
		figstart();
	for (const char *n : o.print)
		print(n, !o.svg.empty());
	if (!o.svg.empty()) {
		std::string e = figwrite(o.svg);
		if (!e.empty()) {
			fail(e);
			flushed();
			return 2;
		}
	}

	if (o.prompt)
		return session();
	if (!flushed())
		return 2;
	return nmsg ? 1 : 0;
}

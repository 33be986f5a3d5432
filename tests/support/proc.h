/* Programs run as a person runs them: arguments, environment, working
   folder and standard input in; both output streams and the exit
   status out.  And a piece of the test itself run in a child process. */
#ifndef ORV_TESTS_SUPPORT_PROC_H
#define ORV_TESTS_SUPPORT_PROC_H

#include <functional>
#include <string>
#include <vector>

/* What to run, and how. */
struct proc {
	std::vector<std::string> cmd;		/* the program's path, then its arguments */
	std::vector<std::string> env = {};	/* NAME=value replaces or adds; NAME alone removes */
	std::string dir = "";			/* working folder; empty: this one */
	std::string in = "";			/* standard input */
	bool noinput = false;			/* standard input closed instead */
	bool err = false;			/* standard error captured, else left as it is */
	std::string outfile = "";		/* standard output to this file, not captured */
	bool nooutput = false;			/* standard output closed instead */
	long long memlimit = 0;			/* bytes of address space it may take; 0: no limit */
};

/* What it did. */
struct child {
	std::string out;	/* all of its standard output */
	int status;		/* exit status, or 128 + the signal that ended it */
	std::string err;	/* its standard error, when asked for */
};

/* The command that runs the program of the build at path with args:
   the path alone natively, behind the emulator (qemu) in a cross build. */
std::vector<std::string> built(const std::string &path, const std::vector<std::string> &args = {});

child runchild(const proc &p);

/* Runs fn in a child process and answers what fn answered there: empty
   when all went well, else what went wrong. */
std::string in_child(const std::function<std::string()> &fn);

#endif

// Runs orv as a user would: arguments, standard input, both output
// streams and the exit status.
#ifndef ORV_TESTS_ORV_RUN_H
#define ORV_TESTS_ORV_RUN_H

#include <string>
#include <vector>

#include "tests/interp/leaks.h"
#include "tests/support/files.h"
#include "tests/support/proc.h"

struct run {
	std::vector<std::string> args{};
	std::string in{};		// standard input
	std::vector<std::string> env{};	// NAME=value, added to the environment
	std::string dir{};		// working folder; empty: this one
	bool noinput = false;		// standard input closed
	std::string outfile{};		// standard output to this file, not captured
	bool nooutput = false;		// standard output closed
	long long memlimit = 0;		// bytes of address space; 0: no limit
};

// The values that the evaluator and the function libraries make are
// never released; LeakSanitizer is told so, and checks the rest.
inline const std::string &leakfile()
{
	static tmpdir d;
	static std::string f = d / "leaks";
	static bool made = false;
	if (!made) {
		writefile(f, std::string(orv_leaks) + "leak:vlist\nleak:vstr\n");
		made = true;
	}
	return f;
}

// orv run with no library folder on LD_LIBRARY_PATH but those of r.env.
inline child orv(const run &r, const std::string &prog = ORV)
{
	std::vector<std::string> env = {"LD_LIBRARY_PATH", "LSAN_OPTIONS=print_suppressions=0:suppressions=" + leakfile()};
	env.insert(env.end(), r.env.begin(), r.env.end());
	return runchild({.cmd = built(prog, r.args), .env = env, .dir = r.dir, .in = r.in,
			 .noinput = r.noinput, .err = true, .outfile = r.outfile,
			 .nooutput = r.nooutput, .memlimit = r.memlimit});
}

#endif

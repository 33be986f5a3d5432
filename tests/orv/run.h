// Runs orv as a user would: arguments, standard input, both output
// streams and the exit status.
#pragma once

#include <string>
#include <vector>

#include "interp/leaks.h"
#include "proc.h"

struct ran {
	std::string out, err;
	int status;
};

struct run {
	std::vector<std::string> args{};
	std::string in{};		// standard input
	std::vector<std::string> env{};	// NAME=value, added to the environment
	std::string dir{};		// working folder; empty: this one
	bool noinput = false;		// standard input closed
	std::string outfile{};		// standard output to this file, not captured
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

inline ran orv(const run &r, const std::string &prog = ORV)
{
	tmpdir t;
	writefile(t / "in", r.in);
	std::vector<std::string> env = {"LD_LIBRARY_PATH=", "LSAN_OPTIONS=print_suppressions=0:suppressions=" + leakfile()};
	env.insert(env.end(), r.env.begin(), r.env.end());

	std::vector<std::string> envs;
	for (char **e = environ; *e; e++) {
		std::string s = *e;
		bool replaced = false;
		for (auto &n : env)
			replaced |= s.compare(0, n.find('=') + 1, n, 0, n.find('=') + 1) == 0;
		if (!replaced)
			envs.push_back(s);
	}
	for (auto &n : env)
		if (n.back() != '=')
			envs.push_back(n);

	std::vector<std::string> cmd = built(prog, r.args);
	std::vector<char *> av, ev;
	for (auto &a : cmd)
		av.push_back(const_cast<char *>(a.c_str()));
	av.push_back(nullptr);
	for (auto &e : envs)
		ev.push_back(e.data());
	ev.push_back(nullptr);

	std::string out = r.outfile.empty() ? t / "out" : r.outfile;
	fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		int in = open((t / "in").c_str(), O_RDONLY);
		int o = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		int e = open((t / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		if (in < 0 || o < 0 || e < 0)
			_exit(126);
		dup2(in, 0);
		dup2(o, 1);
		dup2(e, 2);
		if (r.noinput)
			close(0);
		if (!r.dir.empty() && chdir(r.dir.c_str()) != 0)
			_exit(126);
		execve(av[0], av.data(), ev.data());
		_exit(126);
	}
	int st = 0;
	while (waitpid(pid, &st, 0) < 0)
		if (errno != EINTR)
			return {"", "", -1};
	int status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
	return {r.outfile.empty() ? readfile(t / "out") : "", readfile(t / "err"), status};
}

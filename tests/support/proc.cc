/* Child processes: fork, redirect, exec, and collect. */
#include "tests/support/proc.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

extern char **environ;

std::vector<std::string> built(const std::string &path, const std::vector<std::string> &args)
{
	std::vector<std::string> cmd;
	std::istringstream emu(ORV_EMULATOR);
	for (std::string w; emu >> w;)
		cmd.push_back(w);
	cmd.push_back(path);
	cmd.insert(cmd.end(), args.begin(), args.end());
	return cmd;
}

/* The name of an entry NAME=value, or of a bare NAME. */
static std::string name_of(const std::string &e)
{
	return e.substr(0, e.find('='));
}

/* This process's environment with the changes of env. */
static std::vector<std::string> environment(const std::vector<std::string> &env)
{
	std::vector<std::string> v;
	for (char **e = environ; *e; e++) {
		bool changed = false;
		for (auto &n : env)
			changed |= name_of(*e) == name_of(n);
		if (!changed)
			v.push_back(*e);
	}
	for (auto &n : env)
		if (n.find('=') != std::string::npos)
			v.push_back(n);
	return v;
}

/* The pointer array that exec takes. */
static std::vector<char *> pointers(std::vector<std::string> &v)
{
	std::vector<char *> p;
	for (auto &s : v)
		p.push_back(s.data());
	p.push_back(nullptr);
	return p;
}

/* All that a file holds, from its start. */
static std::string contents(FILE *f)
{
	std::string s;
	rewind(f);
	for (int c; (c = getc(f)) != EOF;)
		s += (char)c;
	return s;
}

/* Reads a descriptor to its end. */
static std::string drain(int fd)
{
	std::string s;
	char b[4096];
	ssize_t n;
	while ((n = read(fd, b, sizeof b)) > 0 || (n < 0 && errno == EINTR))
		if (n > 0)
			s.append(b, (size_t)n);
	return s;
}

/* The exit status as a shell tells it. */
static int waitfor(pid_t pid)
{
	int st;
	while (waitpid(pid, &st, 0) < 0)
		if (errno != EINTR)
			return -1;
	return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
}

/* Gives the child's descriptor fd the file of from, and lets the
   program inherit nothing else of it. */
static void give(int from, int fd)
{
	dup2(from, fd);
	if (from != fd)
		close(from);
}

/* In the child: its streams, its folder, then the program. */
[[noreturn]] static void start(const proc &p, char **av, char **ev, FILE *in, int out, FILE *err)
{
	give(fileno(in), 0);
	if (p.noinput)
		close(0);
	if (!p.outfile.empty()) {
		close(out);
		out = open(p.outfile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
		if (out < 0)
			_exit(126);
	}
	give(out, 1);
	if (p.nooutput)
		close(1);
	if (err)
		give(fileno(err), 2);
	if (!p.dir.empty() && chdir(p.dir.c_str()) != 0)
		_exit(126);
	if (p.memlimit) {
		struct rlimit r = {(rlim_t)p.memlimit, (rlim_t)p.memlimit};
		if (setrlimit(RLIMIT_AS, &r) != 0)
			_exit(126);
	}
	execve(av[0], av, ev);
	_exit(126);
}

child runchild(const proc &p)
{
	std::vector<std::string> cmd = p.cmd, envs = environment(p.env);
	std::vector<char *> av = pointers(cmd), ev = pointers(envs);
	FILE *in = tmpfile(), *err = p.err ? tmpfile() : nullptr;
	int fd[2];
	if (!in || (p.err && !err) || pipe(fd) != 0)
		abort();
	fwrite(p.in.data(), 1, p.in.size(), in);
	fflush(in);
	rewind(in);

	fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		close(fd[0]);
		start(p, av.data(), ev.data(), in, fd[1], err);
	}
	close(fd[1]);
	child r{drain(fd[0]), -1, ""};
	close(fd[0]);
	if (pid > 0)
		r.status = waitfor(pid);
	if (err) {
		r.err = contents(err);
		fclose(err);
	}
	fclose(in);
	return r;
}

std::string in_child(const std::function<std::string()> &fn)
{
	int fd[2];
	if (pipe(fd) != 0)
		return "pipe failed";
	fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		close(fd[0]);
		std::string r = fn();
		if (write(fd[1], r.data(), r.size()) < 0)
			_exit(3);
		_exit(0);
	}
	close(fd[1]);
	std::string r = drain(fd[0]);
	close(fd[0]);
	int st = 0;
	waitpid(pid, &st, 0);
	if (!WIFEXITED(st))
		r += " (child ended by signal " + std::to_string(WTERMSIG(st)) + ")";
	return r;
}

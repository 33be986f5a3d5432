// Test helpers: a scratch folder, and running a program as a child
// process with its standard output captured.
#pragma once

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char **environ;

// The command that runs a program of the build: empty natively, the
// emulator (qemu) in a cross build.
#ifndef ORV_EMULATOR
#define ORV_EMULATOR ""
#endif

// A fresh folder under TMPDIR, removed with everything in it.
struct tmpdir {
	std::string path;

	tmpdir()
	{
		std::string t = (std::filesystem::temp_directory_path() / "orvXXXXXX").string();
		if (!mkdtemp(t.data()))
			abort();
		path = t;
	}
	~tmpdir() { std::filesystem::remove_all(path); }
	tmpdir(const tmpdir &) = delete;
	tmpdir &operator=(const tmpdir &) = delete;

	std::string operator/(const std::string &name) const { return path + "/" + name; }
};

inline void writefile(const std::string &path, const std::string &text, mode_t mode = 0644)
{
	std::ofstream(path, std::ios::binary) << text;
	chmod(path.c_str(), mode);
}

inline std::string readfile(const std::string &path)
{
	std::ifstream f(path, std::ios::binary);
	std::stringstream s;
	s << f.rdbuf();
	return s.str();
}

struct child {
	std::string out;	// all of its standard output
	int status;		// exit status, or 128 + the signal that ended it
	std::string err;	// its standard error, when asked for
};

// The command that runs the program of the build at path with args.
inline std::vector<std::string> built(const std::string &path, const std::vector<std::string> &args = {})
{
	std::vector<std::string> cmd;
	std::istringstream emu(ORV_EMULATOR);
	for (std::string w; emu >> w;)
		cmd.push_back(w);
	cmd.push_back(path);
	cmd.insert(cmd.end(), args.begin(), args.end());
	return cmd;
}

// Runs cmd (its first word a path) in folder dir (empty: this one), with
// the entries "NAME=value" of env replacing or adding to the
// environment.  Standard error is captured apart when err is set and is
// left alone otherwise.
inline child runchild(const std::vector<std::string> &cmd, const std::vector<std::string> &env = {},
		      const std::string &dir = "", bool err = false)
{
	std::vector<std::string> envs;
	for (char **e = environ; *e; e++) {
		std::string s = *e;
		bool replaced = false;
		for (auto &n : env)
			replaced |= s.compare(0, n.find('=') + 1, n, 0, n.find('=') + 1) == 0;
		if (!replaced)
			envs.push_back(s);
	}
	envs.insert(envs.end(), env.begin(), env.end());

	std::vector<char *> av, ev;
	for (auto &a : cmd)
		av.push_back(const_cast<char *>(a.c_str()));
	av.push_back(nullptr);
	for (auto &e : envs)
		ev.push_back(e.data());
	ev.push_back(nullptr);

	int fd[2];
	if (pipe(fd) != 0)
		abort();
	FILE *ef = err ? tmpfile() : nullptr;
	if (err && !ef)
		abort();
	fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0) {
		dup2(fd[1], 1);
		if (ef)
			dup2(fileno(ef), 2);
		close(fd[0]);
		close(fd[1]);
		if (!dir.empty() && chdir(dir.c_str()) != 0)
			_exit(126);
		execve(av[0], av.data(), ev.data());
		_exit(126);
	}
	close(fd[1]);
	child r{"", -1, ""};
	char buf[4096];
	ssize_t n;
	while ((n = read(fd[0], buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
		if (n > 0)
			r.out.append(buf, size_t(n));
	close(fd[0]);
	int st;
	while (waitpid(pid, &st, 0) < 0)
		if (errno != EINTR) {
			st = -1;
			break;
		}
	if (st != -1)
		r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
	if (ef) {
		rewind(ef);
		for (int c; (c = getc(ef)) != EOF;)
			r.err += char(c);
		fclose(ef);
	}
	return r;
}

// Everything that f writes to standard output (file descriptor 1),
// whether through stdio or not.
template <class F> std::string capture(F f)
{
	fflush(stdout);
	FILE *t = tmpfile();
	int saved = dup(1);
	dup2(fileno(t), 1);
	f();
	fflush(stdout);
	dup2(saved, 1);
	close(saved);
	std::string s;
	rewind(t);
	for (int c; (c = getc(t)) != EOF;)
		s += char(c);
	fclose(t);
	return s;
}

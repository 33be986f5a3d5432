// orv at a terminal: the prompt, driven through a pseudo-terminal as a
// person types.
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/orv/run.h"

namespace {

// Whether orv edits lines here: it does where libedit is installed (a
// test under an emulator looks in the same tree as the program).
bool edits()
{
	static const bool yes = [] {
		void *h = dlopen("libedit.so.2", RTLD_NOW | RTLD_LOCAL);
		if (h)
			dlclose(h);
		return h != nullptr;
	}();
	return yes;
}

// orv with a terminal for its three streams.
struct term {
	pid_t pid = -1;
	int fd = -1;
	std::string seen;	// all it wrote, echoes included
	size_t from = 0;	// what until has already matched

	explicit term(const std::vector<std::string> &args)
	{
		std::vector<std::string> cmd = built(ORV, args);
		// In a cross build the emulator looks for /dev/ptmx in the
		// target's tree first, where a device node may not open; the
		// pts file system's own ptmx is the same device.
		fd = posix_openpt(O_RDWR | O_NOCTTY);
		if (fd < 0)
			fd = open("/dev/pts/ptmx", O_RDWR | O_NOCTTY);
		if (fd < 0 || grantpt(fd) != 0 || unlockpt(fd) != 0)
			return;
		std::string tty = ptsname(fd);
		pid = fork();
		if (pid == 0) {
			// A session of its own, with the terminal as the session's
			// controlling one, so that Ctrl-C reaches it as SIGINT.
			setsid();
			int s = open(tty.c_str(), O_RDWR);
			ioctl(s, TIOCSCTTY, 0);
			for (int i = 0; i < 3; i++)
				dup2(s, i);
			close(s);
			close(fd);
			std::vector<char *> argv;
			for (auto &a : cmd)
				argv.push_back(a.data());
			argv.push_back(nullptr);
			unsetenv("LD_LIBRARY_PATH");
			setenv("LSAN_OPTIONS", ("suppressions=" + leakfile()).c_str(), 1);
			execvp(argv[0], argv.data());
			_exit(127);
		}
	}
	~term()
	{
		if (pid > 0) {
			kill(pid, SIGKILL);
			waitpid(pid, nullptr, 0);
		}
		if (fd >= 0)
			close(fd);
	}
	// Whether text appears in what it writes next, within 30 s.
	bool until(const std::string &text)
	{
		auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
		size_t at;
		while ((at = seen.find(text, from)) == seen.npos) {
			if (std::chrono::steady_clock::now() > end)
				return false;
			struct pollfd p = {fd, POLLIN, 0};
			char buf[4096];
			ssize_t n;
			if (poll(&p, 1, 100) > 0 && (n = read(fd, buf, sizeof buf)) > 0)
				seen.append(buf, size_t(n));
			else if (p.revents & (POLLHUP | POLLERR))
				return false;
		}
		from = at + text.size();
		return true;
	}
	// Whether the prompt is shown and reads keys: libedit writes the
	// prompt before it takes the terminal out of line mode, and a key
	// typed in between would be read by the line discipline (a Ctrl-D
	// there is lost), so wait for the mode too.
	bool prompt()
	{
		if (!until("orv> "))
			return false;
		for (int i = 0; edits() && i < 300; i++) {
			struct termios tio;
			if (tcgetattr(fd, &tio) == 0 && !(tio.c_lflag & ICANON))
				return true;
			usleep(10000);
		}
		return !edits();
	}
	void type(const std::string &s) { ASSERT_EQ(write(fd, s.data(), s.size()), ssize_t(s.size())); }
	// The exit status once it ends, within 30 s; -1 if it does not.
	int status()
	{
		for (int i = 0; i < 300; i++) {
			int st;
			if (waitpid(pid, &st, WNOHANG) == pid) {
				pid = -1;
				return WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
			}
			// Keep the terminal drained, without ever waiting on it.
			struct pollfd p = {fd, POLLIN, 0};
			char buf[4096];
			if (poll(&p, 1, 100) <= 0 || read(fd, buf, sizeof buf) <= 0)
				usleep(100000);
		}
		return -1;
	}
};

// A definition prints its value, an expression its value alone; a fault
// is told and the session goes on; Ctrl-C abandons an evaluation that
// would not end and asks again, with what was defined kept; Ctrl-D ends
// with status 0.
TEST(OrvPrompt, Session)
{
	std::vector<std::string> args = {"-l", std::string(ORVLIBS) + "/swap1/orvlib.so", "-e", "w = Which()",
					  "-e", "a0 = {w, w}"};
	for (int i = 1; i <= 40; i++)	// 2^41 calls: no end but Ctrl-C
		args.insert(args.end(), {"-e", "a" + std::to_string(i) + " = {a" + std::to_string(i - 1) + ", a" +
						std::to_string(i - 1) + "}"});
	args.push_back("-i");
	term t(args);
	ASSERT_GT(t.pid, 0) << "no terminal";
	ASSERT_TRUE(t.prompt()) << t.seen;

	t.type("x = {1,  2}\n");
	EXPECT_TRUE(t.until("x = {1,2}\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("{x, w}\n");
	EXPECT_TRUE(t.until("{{1,2},101}\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("y = {1 2}\n");
	EXPECT_TRUE(t.until("orv: (standard input):3:6: '1 2' is not a number\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("y\n");
	EXPECT_TRUE(t.until("orv: (standard input):4: variable y undefined\r\n")) << t.seen;
	EXPECT_TRUE(t.until("0\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;

	// The message shows that the evaluation is under way.
	t.type("{zz, a40}\n");
	EXPECT_TRUE(t.until("orv: (standard input):5: variable zz undefined\r\n")) << t.seen;
	t.type("\x03");
	EXPECT_TRUE(t.until("orv: interrupted\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("x\n");
	EXPECT_TRUE(t.until("{1,2}\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("\x04");
	EXPECT_EQ(t.status(), 0) << t.seen;
}

// Without FILE or -e, a terminal on standard input is enough for the
// prompt; Ctrl-C at the prompt drops the line being typed.
TEST(OrvPrompt, OnATerminal)
{
	term t({});
	ASSERT_GT(t.pid, 0) << "no terminal";
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("half typed");
	usleep(100000);
	t.type("\x03");
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("z = 7\n");
	EXPECT_TRUE(t.until("z = 7\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("\x04");
	EXPECT_EQ(t.status(), 0) << t.seen;
}

// Where libedit is installed, the prompt edits lines and keeps them:
// the Up arrow brings the last one back, Left moves within it.
TEST(OrvPrompt, HistoryAndLineEditing)
{
	if (!edits())
		GTEST_SKIP() << "no libedit for the program here: it reads plain lines";
	term t({});
	ASSERT_GT(t.pid, 0) << "no terminal";
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("q = {3,4}\n");
	ASSERT_TRUE(t.until("q = {3,4}\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("\x1b[A");	/* Up: "q = {3,4}" again */
	usleep(100000);
	t.type("\x1b[D\x1b[D5,\n");	/* Left twice, then 5, : "q = {3,5,4}" */
	EXPECT_TRUE(t.until("q = {3,5,4}\r\n")) << t.seen;
	ASSERT_TRUE(t.prompt()) << t.seen;
	t.type("\x04");
	EXPECT_EQ(t.status(), 0) << t.seen;
}

} // namespace

/* Saving, and every way a save can fail: each leaves the file as it was,
   nothing else in its folder, and the buffer as the user left it. */
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include "tests/orvedit/fixture.h"

namespace {

class Save : public Editing {
protected:
	bool has(const char *what) const
	{
		return s.e.notice.find(what) != std::string::npos;
	}
};

/* In a child: checks that end it with the failure described. */
#define NEED(cond, what) \
	do { if (!(cond)) return std::string(what) + ": " + s.e.notice; } while (0)

TEST_F(Save, KeepsPermissionsAndReplacesByRename)
{
	std::string p = file("old");
	chmod(p.c_str(), 0640);
	link(p.c_str(), (dir / "hard").c_str());
	ASSERT_TRUE(s.open(p));
	s.key(SDLK_END, KMOD_LCTRL).type(" new");
	ASSERT_TRUE(edit_save(s.e));
	EXPECT_EQ(readfile(p), "old new");
	EXPECT_EQ(mode_of(p) & 07777, 0640u);
	/* The rename gives the name a new file: a hard link keeps the old. */
	EXPECT_EQ(readfile(dir / "hard"), "old");
	EXPECT_EQ(names(dir.path), (std::vector<std::string>{"f.txt", "hard"}));
}

TEST_F(Save, ReadOnlyFolderLeavesTheFileAndRetries)
{
	std::string d = dir / "ro";
	mkdir(d.c_str(), 0755);
	std::string p = d + "/f.txt";
	writefile(p, "original");
	give(d);
	give(p);
	chmod(d.c_str(), 0555);
	std::string r = as_nobody([&] {
		session s;
		if (!s.open(p))
			return std::string("cannot open");
		NEED(!s.e.ro, "a writable file in a read-only folder opens for writing");
		s.type("changed ");
		s.ctrl(SDLK_s);
		NEED(s.e.notice.find("Permission denied") != std::string::npos,
			"the status line says why");
		NEED(readfile(p) == "original", "the original is untouched");
		NEED(names(d) == std::vector<std::string>{"f.txt"}, "nothing left behind");
		NEED(s.text() == "changed original", "the buffer is kept");
		NEED(dirty(s.e), "still unsaved");
		chmod(d.c_str(), 0755);
		s.ctrl(SDLK_s);
		NEED(readfile(p) == "changed original", "a later Ctrl+S saves");
		NEED(names(d) == std::vector<std::string>{"f.txt"}, "no temporary file");
		return std::string();
	});
	EXPECT_EQ(r, "");
}

TEST_F(Save, FullDiskLeavesTheFileAndRetries)
{
	std::string p = file("original");
	std::string r = in_child([&] {
		session s;
		if (!s.open(p))
			return std::string("cannot open");
		s.key(SDLK_END, KMOD_LCTRL).type(" and more than a dozen bytes");
		/* A file-size limit stands in for a full disk; the editor
		   ignores the signal it would send. */
		struct rlimit lim;
		getrlimit(RLIMIT_FSIZE, &lim);
		struct rlimit low = {10, lim.rlim_max};
		setrlimit(RLIMIT_FSIZE, &low);
		s.ctrl(SDLK_s);
		NEED(s.e.notice.find("File too large") != std::string::npos,
			"the status line says why");
		NEED(readfile(p) == "original", "the original is untouched");
		NEED(names(dir.path) == std::vector<std::string>{"f.txt"},
			"nothing left behind");
		NEED(s.text() == "original and more than a dozen bytes", "buffer kept");
		setrlimit(RLIMIT_FSIZE, &lim);
		s.ctrl(SDLK_s);
		NEED(readfile(p) == "original and more than a dozen bytes",
			"a later Ctrl+S saves");
		return std::string();
	});
	EXPECT_EQ(r, "");
}

/* Bytes of address space in use now. */
size_t in_use()
{
	unsigned long pages = 0;
	FILE *f = fopen("/proc/self/statm", "r");
	if (f) {
		if (fscanf(f, "%lu", &pages) != 1)
			pages = 0;
		fclose(f);
	}
	return pages * (size_t)sysconf(_SC_PAGESIZE);
}

/* The last n bytes of a file, and its size. */
std::string tail_of(const std::string &path, size_t n, off_t *size)
{
	std::string t(n, 0);
	int fd = open(path.c_str(), O_RDONLY);
	struct stat st;
	if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < (off_t)n ||
	    pread(fd, t.data(), n, st.st_size - n) != (ssize_t)n)
		t.clear();
	*size = fd < 0 ? -1 : st.st_size;
	if (fd >= 0)
		close(fd);
	return t;
}

/* When the buffer cannot grow, a keystroke is refused and said to be;
   the save writes the buffer's text, no more.  Nothing here takes a
   copy of the text once memory is short. */
TEST_F(Save, InsertWithoutMemoryIsRefusedAndTheSaveIsExact)
{
#ifdef ORV_SANITIZE
	GTEST_SKIP() << "the sanitizers' reserved memory leaves no room for a limit";
#endif
	std::string big;
	while (big.size() < (16 << 20))
		big += std::string(63, 'x') + "\n";
	std::string p = file(big);
	const off_t n = (off_t)big.size() + 100;
	big.clear();
	big.shrink_to_fit();
	std::string r = in_child([&] {
		session s;
		if (!s.open(p))
			return std::string("cannot open");
		s.key(SDLK_END, KMOD_LCTRL);
		for (int i = 0; i < 100; i++)
			s.type("a");	/* the room the load left */
		struct rlimit lim;
		getrlimit(RLIMIT_AS, &lim);
		struct rlimit low = {in_use() + (8 << 20), lim.rlim_max};
		setrlimit(RLIMIT_AS, &low);
		if (void *probe = malloc(16 << 20)) {
			free(probe);
			return std::string("skip");
		}
		for (int i = 0; i < 20; i++)
			s.type("b");
		NEED(s.e.notice.find("out of memory") != std::string::npos,
			"the status line says why");
		const std::string end = "x\n" + std::string(100, 'a');
		NEED(s.e.len == n && !memcmp(s.e.f.text + n - end.size(),
			end.data(), end.size()) && !s.e.f.text[n], "the text as it was");
		s.ctrl(SDLK_s);
		off_t size;
		NEED(tail_of(p, end.size(), &size) == end && size == n,
			"the save is the text");
		setrlimit(RLIMIT_AS, &lim);
		s.type("c").ctrl(SDLK_s);
		NEED(tail_of(p, end.size() + 1, &size) == end + "c" && size == n + 1,
			"with memory back, typing works");
		return std::string();
	});
	if (r == "skip")
		GTEST_SKIP() << "an address space limit does not take here";
	EXPECT_EQ(r, "");
}

/* The temporary's name stays within the folder's limit. */
TEST_F(Save, LongestFileNamesSave)
{
	for (size_t n : {238, 250, 255}) {
		std::string name(n, 'n');
		std::string p = file("old", name.c_str());
		session e;
		ASSERT_TRUE(e.open(p));
		e.type("new ");
		EXPECT_TRUE(edit_save(e.e)) << n << ": " << e.e.notice;
		EXPECT_EQ(readfile(p), "new old") << n;
		EXPECT_EQ(names(dir.path), std::vector<std::string>{name}) << n;
		unlink(p.c_str());
	}
}

/* A pid that was in use and is no more. */
pid_t gone_pid()
{
	pid_t pid = fork();
	if (pid == 0)
		_exit(0);
	waitpid(pid, nullptr, 0);
	return pid;
}

/* A temporary that a killed save left is removed by the next save in
   its folder; those of live processes, and other files, stay. */
TEST_F(Save, TemporariesOfGoneProcessesAreSweptAway)
{
	std::string p = file("text");
	std::string dead = ".f.txt.orvedit-" + std::to_string(gone_pid()) + "-3";
	std::string live = ".f.txt.orvedit-" + std::to_string(getpid()) + "-0";
	std::string other = ".f.txt.orvedit-1-x";
	for (auto n : {dead, live, other})
		writefile(dir / n.c_str(), "partial");
	ASSERT_TRUE(s.open(p));
	s.type("more ");
	ASSERT_TRUE(edit_save(s.e)) << s.e.notice;
	std::vector<std::string> want = {live, other, "f.txt"};
	std::sort(want.begin(), want.end());
	EXPECT_EQ(names(dir.path), want);
}

/* Runs fn in a child with mount namespace of its own, where root may
   bind files over files.  "skip" when that cannot be had. */
std::string mounted(const std::function<std::string()> &fn)
{
	return in_child([&] {
		if (unshare(CLONE_NEWNS) != 0 ||
		    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
			return std::string("skip");
		return fn();
	});
}

bool bind_file(const std::string &from, const std::string &to)
{
	return mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

/* A file mounted on its own (as /etc/hosts in a container) cannot be
   replaced by a rename: it is written in place. */
TEST_F(Save, MountedFileIsWrittenInPlace)
{
	std::string p = file("old"), src = file("old", "src");
	std::string r = mounted([&] {
		if (!bind_file(src, p))
			return std::string("skip");
		session s;
		if (!s.open(p))
			return std::string("cannot open");
		s.type("new ").ctrl(SDLK_s);
		NEED(!dirty(s.e), "saved");
		NEED(readfile(src) == "new old", "the mounted file holds the text");
		s.key(SDLK_END, KMOD_LCTRL).key(SDLK_BACKSPACE, 0, 4).ctrl(SDLK_s);
		NEED(readfile(src) == "new", "a shorter text leaves no tail");
		umount(p.c_str());
		NEED(names(dir.path) == (std::vector<std::string>{"f.txt", "src"}),
			"nothing left behind");
		return std::string();
	});
	if (r == "skip")
		GTEST_SKIP() << "no mount namespace here (needs root)";
	EXPECT_EQ(r, "");
}

/* When the write in place fails on the way, the whole text is kept in a
   copy beside the file, and the status line says where. */
TEST_F(Save, FailedWriteInPlaceKeepsTheWholeText)
{
	std::string p = file("old"), small = dir / "small";
	mkdir(small.c_str(), 0755);
	std::string r = mounted([&] {
		if (mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
			return std::string("skip");
		std::string src = small + "/src";
		writefile(src, "old");
		writefile(small + "/fill", std::string(48 << 10, 'f'));
		if (!bind_file(src, p))
			return std::string("skip");
		session s;
		if (!s.open(p))
			return std::string("cannot open");
		const std::string text = std::string(40 << 10, 'n') + "old";
		s.e.clip_max = 0;
		SDL_SetClipboardText(std::string(40 << 10, 'n').c_str());
		s.ctrl(SDLK_v).ctrl(SDLK_s);
		NEED(dirty(s.e), "not saved");
		std::string copy = dir / "f.txt.orvedit-copy";
		NEED(s.e.notice.find("No space left") != std::string::npos &&
			s.e.notice.find(copy) != std::string::npos,
			"the status line says why and where the text is");
		NEED(readfile(copy) == text, "the copy holds the whole text");
		NEED(s.text() == text, "the buffer is kept");
		umount(p.c_str());
		umount(small.c_str());
		NEED(names(dir.path) ==
			(std::vector<std::string>{"f.txt", "f.txt.orvedit-copy", "small"}),
			"the copy and nothing else left");
		return std::string();
	});
	if (r == "skip")
		GTEST_SKIP() << "no mount namespace here (needs root)";
	EXPECT_EQ(r, "");
}

/* Files a save would damage open read-only, and a save writes nothing. */
TEST_F(Save, FileWithNulIsReadOnly)
{
	const std::string bytes("ab\0cd", 5);
	std::string p = file(bytes);
	ASSERT_TRUE(s.open(p));
	EXPECT_TRUE(s.e.ro);
	EXPECT_TRUE(has("read-only")) << s.e.notice;
	EXPECT_EQ(s.text(), "ab");
	s.type("x").ctrl(SDLK_s);
	EXPECT_TRUE(has("nothing written")) << s.e.notice;
	EXPECT_EQ(readfile(p), bytes);
	EXPECT_EQ(names(dir.path), std::vector<std::string>{"f.txt"});
}

TEST_F(Save, FileWithoutWritePermissionIsReadOnly)
{
	std::string p = file("keep");
	chmod(p.c_str(), 0444);
	ASSERT_TRUE(s.open(p));
	EXPECT_TRUE(s.e.ro);
	EXPECT_TRUE(has("no write permission")) << s.e.notice;
	s.type("x").ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "keep");
	EXPECT_EQ(mode_of(p) & 07777, 0444u);
	EXPECT_EQ(names(dir.path), std::vector<std::string>{"f.txt"});
}

TEST_F(Save, NamedPipeIsNeverOpenedForReading)
{
	std::string p = dir / "pipe";
	ASSERT_EQ(mkfifo(p.c_str(), 0644), 0);
	/* A read on it would wait for ever; the test would time out. */
	ASSERT_TRUE(s.open(p));
	EXPECT_TRUE(s.e.ro);
	EXPECT_TRUE(has("not a regular file")) << s.e.notice;
	EXPECT_EQ(s.text(), "");
	/* No reader has it open: a writer that will not wait is refused. */
	int fd = open(p.c_str(), O_WRONLY | O_NONBLOCK);
	EXPECT_EQ(fd, -1);
	EXPECT_EQ(errno, ENXIO);
	if (fd >= 0)
		close(fd);
	s.type("x").ctrl(SDLK_s);
	EXPECT_TRUE(S_ISFIFO(mode_of(p)));
	EXPECT_EQ(names(dir.path), std::vector<std::string>{"pipe"});
}

/* Another program's change is overwritten only when the answer to the
   question says so; a second Ctrl+S does not. */
TEST_F(Save, ChangedOnDiskIsOverwrittenOnlyWhenAnswered)
{
	std::string p = file("one");
	ASSERT_TRUE(s.open(p));
	s.type("my ");
	writefile(p, "someone else's");
	s.ctrl(SDLK_s).ctrl(SDLK_s);
	EXPECT_TRUE(s.e.ask.open);
	EXPECT_NE(s.e.ask.label.find("changed on disk"), std::string::npos);
	EXPECT_EQ(readfile(p), "someone else's");
	s.key(SDLK_o);
	EXPECT_EQ(readfile(p), "my one");
	/* The check starts over after the save. */
	s.type("own ");
	ASSERT_EQ(rename(file("third").c_str(), p.c_str()), 0);
	s.ctrl(SDLK_s);
	EXPECT_TRUE(s.e.ask.open);
	EXPECT_EQ(readfile(p), "third");
	s.key(SDLK_o);
	EXPECT_EQ(readfile(p), "my own one");
	/* A save of an unchanged file asks nothing. */
	s.type("!").ctrl(SDLK_s);
	EXPECT_FALSE(s.e.ask.open);
	EXPECT_EQ(readfile(p), "my own !one");
	EXPECT_EQ(names(dir.path), std::vector<std::string>{"f.txt"});
}

TEST_F(Save, FileMadeMeanwhileCountsAsChanged)
{
	std::string p = dir / "new.txt";
	ASSERT_TRUE(s.open(p));
	s.type("mine");
	writefile(p, "theirs");
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "theirs");
	s.key(SDLK_o);
	EXPECT_EQ(readfile(p), "mine");
}

TEST_F(Save, SymbolicLinkStaysALinkAndItsTargetIsReplaced)
{
	std::string a = dir / "a", b = dir / "b";
	mkdir(a.c_str(), 0755);
	mkdir(b.c_str(), 0755);
	writefile(b + "/target", "text");
	chmod((b + "/target").c_str(), 0600);
	ASSERT_EQ(symlink("../b/target", (a + "/link").c_str()), 0);
	ASSERT_TRUE(s.open(a + "/link"));
	EXPECT_FALSE(s.e.ro);
	s.type("new ").ctrl(SDLK_s);
	EXPECT_EQ(readfile(b + "/target"), "new text");
	EXPECT_TRUE(S_ISLNK(mode_of(a + "/link")));
	char t[64] = {};
	EXPECT_GT(readlink((a + "/link").c_str(), t, sizeof t - 1), 0);
	EXPECT_STREQ(t, "../b/target");
	EXPECT_EQ(mode_of(b + "/target") & 07777, 0600u);
	EXPECT_EQ(names(a), std::vector<std::string>{"link"});
	EXPECT_EQ(names(b), std::vector<std::string>{"target"});
}

TEST_F(Save, SaveIntoAMissingFolderFailsCleanly)
{
	std::string p = dir / "gone/f.txt";
	ASSERT_TRUE(s.open(p));
	s.type("x").ctrl(SDLK_s);
	EXPECT_TRUE(has("No such file or directory")) << s.e.notice;
	EXPECT_TRUE(dirty(s.e));
	EXPECT_EQ(names(dir.path), std::vector<std::string>{});
}

/* Quit requests: Ctrl+Q, the window's close, SDL's quit, SIGINT.  With
   unsaved changes each asks: s saves and quits, d quits without saving,
   c or Escape goes on. */
struct quit_case {
	const char *name;
	bool edit;
	/* "q", "close", "sdlquit", "sigint", "type", "save", or an answer:
	   "s", "d", "c", "esc" */
	std::vector<std::string> steps;
	std::vector<bool> running;	/* after each step */
	const char *file;		/* on disk at the end */
};

void PrintTo(const quit_case &c, std::ostream *o)
{
	*o << c.name;
}

class Quit : public Save, public ::testing::WithParamInterface<quit_case> {};

TEST_P(Quit, UnsavedChangesAreAskedAbout)
{
	const quit_case &c = GetParam();
	std::string p = file("kept");
	ASSERT_TRUE(s.open(p));
	if (c.edit)
		s.type("x");
	for (size_t i = 0; i < c.steps.size(); i++) {
		const std::string &st = c.steps[i];
		if (st == "q")
			s.ctrl(SDLK_q);
		else if (st == "close")
			s.window(SDL_WINDOWEVENT_CLOSE);
		else if (st == "sdlquit") {
			SDL_Event ev{};
			ev.type = SDL_QUIT;
			SDL_PushEvent(&ev);
			s.pump();
		} else if (st == "sigint") {
			raise(SIGINT);
			s.pump();
		} else if (st == "type")
			s.type("y");
		else if (st == "save")
			s.ctrl(SDLK_s);
		else if (st == "esc")
			s.key(SDLK_ESCAPE);
		else
			s.key((SDL_Keycode)st[0]);
		EXPECT_EQ(!s.quit(), c.running[i]) << "after step " << i << ": " << st;
		if (s.quit())
			break;
	}
	EXPECT_EQ(readfile(p), c.file);
}

const quit_case quits[] = {
	{"clean_quits_at_once", false, {"q"}, {false}, "kept"},
	{"clean_close_quits_at_once", false, {"close"}, {false}, "kept"},
	{"clean_sigint_quits_at_once", false, {"sigint"}, {false}, "kept"},
	{"unsaved_discard", true, {"q", "d"}, {true, false}, "kept"},
	{"unsaved_save", true, {"q", "s"}, {true, false}, "xkept"},
	{"unsaved_cancel", true, {"q", "c", "type"}, {true, true, true}, "kept"},
	{"unsaved_escape", true, {"q", "esc", "q", "d"}, {true, true, true, false}, "kept"},
	{"close_asks", true, {"close", "s"}, {true, false}, "xkept"},
	{"sdl_quit_asks", true, {"sdlquit", "d"}, {true, false}, "kept"},
	{"sigint_asks", true, {"sigint", "c", "sigint", "s"}, {true, true, true, false}, "xkept"},
	{"a_second_request_asks_again", true, {"q", "q", "close", "c"}, {true, true, true, true}, "kept"},
	{"saved_quits_at_once", true, {"save", "q"}, {true, false}, "xkept"},
};

INSTANTIATE_TEST_SUITE_P(Requests, Quit, ::testing::ValuesIn(quits),
	[](const auto &i) { return std::string(i.param.name); });

}

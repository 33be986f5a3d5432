/* Saving, and every way a save can fail: each leaves the file as it was,
   nothing else in its folder, and the buffer as the user left it. */
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>

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

TEST_F(Save, ChangedOnDiskIsOverwrittenOnlyOnTheSecondSave)
{
	std::string p = file("one");
	ASSERT_TRUE(s.open(p));
	s.type("my ");
	writefile(p, "someone else's");
	s.ctrl(SDLK_s);
	EXPECT_TRUE(has("changed on disk")) << s.e.notice;
	EXPECT_EQ(readfile(p), "someone else's");
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "my one");
	/* The check starts over after the save. */
	s.type("own ");
	ASSERT_EQ(rename(file("third").c_str(), p.c_str()), 0);
	s.ctrl(SDLK_s);
	EXPECT_TRUE(has("changed on disk")) << s.e.notice;
	EXPECT_EQ(readfile(p), "third");
	s.ctrl(SDLK_s);
	EXPECT_EQ(readfile(p), "my own one");
	/* A save of an unchanged file asks nothing. */
	s.type("!").ctrl(SDLK_s);
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
	s.ctrl(SDLK_s);
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

/* Quit requests: Ctrl+Q, the window's close, SDL's quit. */
struct quit_case {
	const char *name;
	bool edit;
	std::vector<std::string> steps;	/* "q", "close", "sdlquit", "type", "save" */
	std::vector<bool> running;	/* after each step */
};

void PrintTo(const quit_case &c, std::ostream *o)
{
	*o << c.name;
}

class Quit : public Save, public ::testing::WithParamInterface<quit_case> {};

TEST_P(Quit, UnsavedChangesTakeTwoRequests)
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
		} else if (st == "type")
			s.type("y");
		else if (st == "save")
			s.ctrl(SDLK_s);
		EXPECT_EQ(!s.quit(), c.running[i]) << "after step " << i << ": " << st;
		if (s.quit())
			break;
	}
	/* Quitting never saves. */
	bool saved = std::find(c.steps.begin(), c.steps.end(), "save") != c.steps.end();
	if (!saved) {
		EXPECT_EQ(readfile(p), "kept");
	}
}

const quit_case quits[] = {
	{"clean_quits_at_once", false, {"q"}, {false}},
	{"clean_close_quits_at_once", false, {"close"}, {false}},
	{"unsaved_twice", true, {"q", "q"}, {true, false}},
	{"unsaved_close_twice", true, {"close", "close"}, {true, false}},
	{"unsaved_either_kind", true, {"q", "close"}, {true, false}},
	{"unsaved_sdl_quit", true, {"sdlquit", "q"}, {true, false}},
	{"edit_starts_over", true, {"q", "type", "q", "q"}, {true, true, true, false}},
	{"save_starts_over", true, {"q", "save", "type", "q", "q"}, {true, true, true, true, false}},
	{"saved_quits_at_once", true, {"save", "q"}, {true, false}},
};

INSTANTIATE_TEST_SUITE_P(Requests, Quit, ::testing::ValuesIn(quits),
	[](const auto &i) { return std::string(i.param.name); });

}

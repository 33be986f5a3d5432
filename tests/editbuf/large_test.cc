/* Files too large for the buffer, and files whose status needs the
   64-bit file types of a 32-bit target: a size over 2 GiB, an inode
   number over 32 bits.  Such a file loads as an empty text, cap never
   wraps, and st holds the file's real status, so that an editor can
   tell it from an empty file and refuse to save over it.  The linker
   routes this program's malloc through a seam (see CMakeLists.txt) that
   can refuse large blocks, so that "the block cannot be had" is tested
   without taking 2 GiB. */
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/editbuf/buf.h"
#include "tests/support/files.h"
#include "tests/support/proc.h"

namespace {

size_t refuse_from = SIZE_MAX;	/* blocks this large or larger fail */
size_t refused;			/* the size of the last one that did */

} // namespace

extern "C" {

void *__real_malloc(size_t);

void *__wrap_malloc(size_t n)
{
	if (n >= refuse_from) {
		refused = n;
		return nullptr;
	}
	return __real_malloc(n);
}

}

namespace {

/* The seam refuses blocks from a size on, for one scope. */
struct Refuse {
	explicit Refuse(size_t from)
	{
		refuse_from = from;
		refused = 0;
	}
	~Refuse() { refuse_from = SIZE_MAX; }
};

/* A sparse file of that size: no room taken on disk.  The test's own
   file calls take 64-bit sizes whatever the build, so that a build
   without them fails in the library, not here. */
bool sparse(const std::string &path, int64_t size)
{
	int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	if (fd < 0)
		return false;
	bool ok = ftruncate64(fd, size) == 0;
	close(fd);
	return ok;
}

TEST(LargeFile, TypesAreSixtyFourBits)
{
	EXPECT_EQ(sizeof(st.st_size), 8u);
	EXPECT_EQ(sizeof(st.st_ino), 8u);
	EXPECT_EQ(sizeof(st.st_mtime), 8u);
}

/* 3 GiB: more than a 32-bit off_t holds, and more than cap. */
TEST(LargeFile, ThreeGiBLoadsEmptyWithItsStatus)
{
	const int64_t size = (int64_t)3 << 30;
	tmpdir d;
	std::string path = d / "big";
	if (!sparse(path, size))
		GTEST_SKIP() << "cannot make a sparse file of 3 GiB here";
	Buf b(path);
	Refuse r(16 << 20);	/* no block for the file itself is asked for */
	read_file(&b.f, 4);
	ASSERT_NE(b.f.text, nullptr);
	EXPECT_STREQ(b.f.text, "");
	EXPECT_EQ(b.f.cap, 5);
	EXPECT_EQ(refused, 0u);
	EXPECT_TRUE(S_ISREG(st.st_mode));
	EXPECT_EQ((int64_t)st.st_size, size);
}

struct Big {
	int64_t size;	/* of the sparse file */
	int extra;
	size_t asked;	/* the block asked for and refused, or 0 for none */
};

/* Around the largest file that cap can hold (INT32_MAX - 1 bytes and the
   terminator): one that fits asks for its block, which the seam refuses;
   one a byte larger asks for none.  Either loads empty, with the room
   asked for and the file's status. */
TEST(LargeFile, NoBlockLoadsEmptyWithTheRoomAskedFor)
{
	const Big cases[] = {
		{(int64_t)INT32_MAX - 1, 0, INT32_MAX},
		{(int64_t)INT32_MAX - 1, 7, INT32_MAX},		/* room dropped */
		{(int64_t)INT32_MAX - 100, 99, INT32_MAX},
		{(int64_t)INT32_MAX, 0, 0},
		{(int64_t)INT32_MAX, 7, 0},
		{(int64_t)UINT32_MAX + 1, 0, 0},
	};
	tmpdir d;
	std::string path = d / "big";
	for (const Big &c : cases) {
		SCOPED_TRACE(testing::Message() << "size " << c.size << " extra " << c.extra);
		if (!sparse(path, c.size))
			GTEST_SKIP() << "cannot make a sparse file of " << c.size << " bytes here";
		Buf b(path);
		Refuse r(1 << 20);
		read_file(&b.f, c.extra);
		ASSERT_NE(b.f.text, nullptr);
		EXPECT_STREQ(b.f.text, "");
		EXPECT_EQ(b.f.cap, c.extra + 1);
		EXPECT_EQ(refused, c.asked);
		EXPECT_EQ((int64_t)st.st_size, c.size);
	}
}

/* Without memory for the room, an empty load keeps no room; without
   memory at all, no block. */
TEST(LargeFile, EmptyLoadWithoutMemory)
{
	tmpdir d;
	Buf b(d / "missing");
	{
		Refuse r(2);
		read_file(&b.f, 100);
		ASSERT_NE(b.f.text, nullptr);
		EXPECT_STREQ(b.f.text, "");
		EXPECT_EQ(b.f.cap, 1);
	}
	{
		Refuse r(1);
		read_file(&b.f, 100);
		EXPECT_EQ(b.f.text, nullptr);
		EXPECT_EQ(b.f.cap, 0);
	}
}

/* A regrow that cannot be had leaves the text and block as they were. */
TEST(LargeFile, EditsWithoutMemoryChangeNothing)
{
	tmpdir d;
	std::ofstream(d / "f") << "0123456789";
	Buf b(d / "f");
	read_file(&b.f, 0);
	ASSERT_EQ(b.f.cap, 11);
	const char *block = b.f.text;

	Refuse r(12);
	ed_insert(&b.f, "x", 3);
	EXPECT_STREQ(b.f.text, "0123456789");
	EXPECT_EQ(b.f.cap, 11);
	EXPECT_EQ(refused, 112u);
	extend_file(&b.f, 50);
	EXPECT_EQ(b.f.text, block);
	EXPECT_EQ(b.f.cap, 11);
	ed_delete(&b.f, 2, 0);
	EXPECT_STREQ(b.f.text, "23456789");
}

/* What the child answers when no such file can be made here. */
const std::string unmade = "no file with an inode number over 32 bits";

/* In the child: an overlay mount whose lower layer lies on another file
   system numbers that layer's files with the layer in the high bits
   (xino), far above 32 bits.  Answers nothing when read_file loaded
   such a file whole with its status, unmade when no such file could be
   made here (no mount namespace, no overlay), else what was loaded. */
std::string huge_inode(const std::string &dir)
{
	auto at = [&](const char *n) { return dir + "/" + n; };
	if (unshare(CLONE_NEWNS) != 0 ||
	    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
		return unmade;
	for (const char *n : {"l", "u", "m"})
		mkdir(at(n).c_str(), 0700);
	if (mount("tmpfs", at("l").c_str(), "tmpfs", 0, nullptr) != 0 ||
	    mount("tmpfs", at("u").c_str(), "tmpfs", 0, nullptr) != 0)
		return unmade;
	mkdir(at("u/u").c_str(), 0700);
	mkdir(at("u/w").c_str(), 0700);
	std::ofstream(at("l/f")) << "far inode";
	std::string opts = "lowerdir=" + at("l") + ",upperdir=" + at("u/u") +
			   ",workdir=" + at("u/w") + ",xino=on";
	if (mount("overlay", at("m").c_str(), "overlay", 0, opts.c_str()) != 0)
		return unmade;

	struct stat64 s;
	std::string path = at("m/f");
	if (stat64(path.c_str(), &s) != 0 || s.st_ino <= UINT32_MAX)
		return unmade;
	Buf b(path);
	read_file(&b.f, 2);
	if (b.f.text && strcmp(b.f.text, "far inode") == 0 && b.f.cap == 12 &&
	    st.st_ino == s.st_ino)
		return "";
	char m[200];
	snprintf(m, sizeof m, "loaded [%s] cap %d, inode %llu of %llu",
		b.f.text ? b.f.text : "(null)", b.f.cap,
		(unsigned long long)st.st_ino, (unsigned long long)s.st_ino);
	return m;
}

TEST(LargeFile, InodeOverThirtyTwoBitsLoads)
{
	tmpdir d;
	std::string r = in_child([&] { return huge_inode(d.path); });
	if (r == unmade)
		GTEST_SKIP() << "skipped: no file with an inode number over 32 bits "
				"can be made here (needs a mount namespace and overlayfs)";
	EXPECT_EQ(r, "") << "the file did not load whole";
}

} // namespace

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/editbuf/buf.h"
#include "tests/support/files.h"

extern "C" const size_t ed_c_layout[4];

namespace {

namespace fs = std::filesystem;

/* A file of d with these bytes, by its path. */
std::string put(const tmpdir &d, const char *name, std::string_view bytes)
{
	writefile(d / name, std::string(bytes));
	return d / name;
}

TEST(Layout, SameInC)
{
	EXPECT_EQ(ed_c_layout[0], sizeof(ed_file));
	EXPECT_EQ(ed_c_layout[1], offsetof(ed_file, path));
	EXPECT_EQ(ed_c_layout[2], offsetof(ed_file, text));
	EXPECT_EQ(ed_c_layout[3], offsetof(ed_file, cap));
}

enum Kind { MISSING, FILE_, DIRECTORY };

struct Load {
	Kind kind;
	const char *bytes;
	int extra;
	int32_t cap;
};

TEST(ReadFile, CapAndText)
{
	const Load cases[] = {
		{MISSING, "", 0, 1},
		{MISSING, "", 5, 6},
		{FILE_, "", 0, 1},
		{FILE_, "0123456789", 5, 16},
		{FILE_, "0123456789", 0, 11},
		/* status known, nothing to read: empty, with the room asked for */
		{DIRECTORY, "", 7, 8},
		/* room that cannot be granted is dropped, not subtracted */
		{FILE_, "0123456789", -3, 11},
		{MISSING, "", -3, 1},
		{MISSING, "", INT32_MAX, 1},
		{FILE_, "0123456789", INT32_MAX - 5, 11},
		{FILE_, "0123456789", INT32_MAX - 10, 11},	/* one byte too many */
		{MISSING, "", INT32_MIN, 1},
		{DIRECTORY, "", -3, 1},
		{DIRECTORY, "", INT32_MAX, 1},
	};
	for (const Load &c : cases) {
		SCOPED_TRACE(testing::Message() << "kind " << c.kind << " bytes \""
					 << c.bytes << "\" extra " << c.extra);
		tmpdir d;
		std::string path = d / "f";
		if (c.kind == FILE_)
			put(d, "f", c.bytes);
		if (c.kind == DIRECTORY)
			fs::create_directory(path);
		Buf b(path);
		read_file(&b.f, c.extra);
		ASSERT_NE(b.f.text, nullptr);
		EXPECT_STREQ(b.f.text, c.bytes);
		EXPECT_EQ(b.f.cap, c.cap);
		if (c.kind == FILE_) {
			EXPECT_EQ(st.st_size, (off_t)strlen(c.bytes));
		}
	}
}

TEST(ReadFile, NulEndsTheTextForEveryOperation)
{
	tmpdir d;
	Buf b(put(d, "f", std::string_view("ab\0cd", 5)));
	read_file(&b.f, 0);
	ASSERT_EQ(b.f.cap, 6);
	EXPECT_EQ(std::string_view(b.f.text, 6), std::string_view("ab\0cd\0", 6));

	ed_insert(&b.f, "X", 2);	/* 2 + 1 + 1 <= 6: no regrow */
	EXPECT_EQ(std::string_view(b.f.text, 6), std::string_view("abX\0d\0", 6));
	ed_insert(&b.f, "Y", 4);	/* past the end of "abX" */
	ed_delete(&b.f, 2, 2);
	EXPECT_STREQ(b.f.text, "abX");
	EXPECT_EQ(b.f.cap, 6);

	extend_file(&b.f, 0);
	EXPECT_STREQ(b.f.text, "abX");
	EXPECT_EQ(b.f.cap, 4);
}

TEST(ReadFile, ReloadDiscardsEdits)
{
	tmpdir d;
	Buf b(put(d, "f", "hello"));
	read_file(&b.f, 0);
	ed_insert(&b.f, "well, ", 0);
	ASSERT_STREQ(b.f.text, "well, hello");
	read_file(&b.f, 2);
	EXPECT_STREQ(b.f.text, "hello");
	EXPECT_EQ(b.f.cap, 8);
}

/* Files under /sys report a size of a page and give less: the text must
   end at what was read, not at the reported size. */
TEST(ReadFile, ShortReadEndsAtBytesRead)
{
	const char *files[] = {
		"/sys/devices/system/cpu/online",
		"/sys/kernel/profiling",
		"/sys/kernel/mm/transparent_hugepage/enabled",
	};
	for (const char *p : files) {
		struct stat s;
		if (stat(p, &s) != 0 || !S_ISREG(s.st_mode))
			continue;
		std::string want = readfile(p);
		if ((off_t)want.size() >= s.st_size || want.find('\0') != want.npos)
			continue;
		Buf b(p);
		read_file(&b.f, 3);
		EXPECT_EQ(b.f.text, want);
		EXPECT_EQ(b.f.cap, s.st_size + 4);
		return;
	}
	GTEST_SKIP() << "no file here reports more bytes than it gives";
}

/* A size that cap cannot hold loads nothing rather than wrapping cap
   around; the file is sparse, so this takes no room on disk. */
TEST(ReadFile, TooLargeForCapLoadsEmpty)
{
	tmpdir d;
	std::string path = put(d, "big", "");
	if (truncate64(path.c_str(), (int64_t)INT32_MAX + 10) != 0)
		GTEST_SKIP() << "cannot make a sparse file here";
	Buf b(path);
	read_file(&b.f, 4);
	EXPECT_STREQ(b.f.text, "");
	EXPECT_EQ(b.f.cap, 5);
}

enum Op { INS, DEL, EXT };

struct Edit {
	Op op;
	const char *s;	/* string to insert */
	int n;		/* count to delete, or extra room */
	int pos;
	const char *want;
	int32_t cap;
};

/* Every edit starts from "0123456789" loaded with 5 bytes spare. */
TEST(Edit, FromTenBytesInSixteen)
{
	const Edit cases[] = {
		{INS, "", 0, 5, "0123456789", 16},
		{INS, "abcde", 0, 10, "0123456789abcde", 16},
		{INS, "abcdef", 0, 10, "0123456789abcdef", 117},
		{INS, "ab", 0, 0, "ab0123456789", 16},
		{INS, "ab", 0, 5, "01234ab56789", 16},
		{INS, "x", 0, -1, "0123456789", 16},
		{INS, "x", 0, 11, "0123456789", 16},
		{INS, "x", 0, INT32_MIN, "0123456789", 16},
		{INS, "x", 0, INT32_MAX, "0123456789", 16},
		{DEL, nullptr, 0, 4, "0123456789", 16},
		{DEL, nullptr, 10, 0, "", 16},
		{DEL, nullptr, 2, 3, "01256789", 16},
		{DEL, nullptr, 1, 9, "012345678", 16},
		{DEL, nullptr, 0, 10, "0123456789", 16},
		{DEL, nullptr, 1, 10, "0123456789", 16},
		{DEL, nullptr, 11, 0, "0123456789", 16},
		{DEL, nullptr, 0, 11, "0123456789", 16},
		{DEL, nullptr, 0, -1, "0123456789", 16},
		{DEL, nullptr, -1, 5, "0123456789", 16},
		{DEL, nullptr, INT32_MAX, 1, "0123456789", 16},
		{DEL, nullptr, INT32_MIN, 0, "0123456789", 16},
		{DEL, nullptr, 1, INT32_MIN, "0123456789", 16},
		{DEL, nullptr, 1, INT32_MAX, "0123456789", 16},
		{EXT, nullptr, 0, 0, "0123456789", 11},
		{EXT, nullptr, 20, 0, "0123456789", 31},
		{EXT, nullptr, -1, 0, "0123456789", 11},
		{EXT, nullptr, INT32_MAX, 0, "0123456789", 11},
		{EXT, nullptr, INT32_MAX - 10, 0, "0123456789", 11},	/* one byte too many */
		{EXT, nullptr, INT32_MIN, 0, "0123456789", 11},
	};
	tmpdir d;
	std::string path = put(d, "f", "0123456789");
	for (const Edit &c : cases) {
		SCOPED_TRACE(testing::Message() << "op " << c.op << " \"" << (c.s ? c.s : "")
					 << "\" n " << c.n << " pos " << c.pos);
		Buf b(path);
		read_file(&b.f, 5);
		ASSERT_EQ(b.f.cap, 16);
		const char *block = b.f.text;
		if (c.op == INS)
			ed_insert(&b.f, c.s, c.pos);
		else if (c.op == DEL)
			ed_delete(&b.f, c.n, c.pos);
		else
			extend_file(&b.f, c.n);
		EXPECT_STREQ(b.f.text, c.want);
		EXPECT_EQ(b.f.cap, c.cap);
		if (c.op != EXT && c.cap == 16) {
			EXPECT_EQ(b.f.text, block) << "block replaced";
		}
	}
}

/* The room asked for comes on top of the whole file, a NUL byte in it
   included, and a regrow of an empty text leaves 100 bytes spare too. */
TEST(Edit, CapOfAFileWithNulAndOfAnEmptyText)
{
	tmpdir d;
	Buf b(put(d, "f", std::string_view("ab\0cd", 5)));
	read_file(&b.f, 3);
	EXPECT_STREQ(b.f.text, "ab");
	EXPECT_EQ(b.f.cap, 9);

	Buf e(d / "missing");
	read_file(&e.f, 0);
	ASSERT_EQ(e.f.cap, 1);
	ed_insert(&e.f, "x", 0);
	EXPECT_STREQ(e.f.text, "x");
	EXPECT_EQ(e.f.cap, 102);
}

TEST(Edit, WithoutBlockChangesNothing)
{
	ed_file f{};
	ed_insert(&f, "x", 0);
	ed_delete(&f, 0, 0);
	extend_file(&f, 5);
	EXPECT_EQ(f.text, nullptr);
	EXPECT_EQ(f.cap, 0);
}

/* The sizes a correct buffer has after each edit, kept beside the text
   it should hold. */
struct Model {
	std::string text;
	int64_t cap;

	void insert(const std::string &s, int pos)
	{
		if (pos < 0 || pos > (int)text.size())
			return;
		if ((int64_t)(text.size() + s.size() + 1) > cap)
			cap = text.size() + s.size() + 1 + 100;
		text.insert(pos, s);
	}
	void erase(int count, int pos)
	{
		if (pos < 0 || count < 0 || pos + count > (int)text.size())
			return;
		text.erase(pos, count);
	}
	void extend(int extra) { cap = text.size() + 1 + (extra < 0 ? 0 : extra); }
};

TEST(Edit, RandomSequenceMatchesModel)
{
	tmpdir d;
	Buf b(put(d, "f", "a first line\n"));
	read_file(&b.f, 0);
	Model m{"a first line\n", 14};
	std::mt19937 rng(20240611);
	auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };

	for (int step = 0; step < 5000; step++) {
		int len = m.text.size();
		int pos = pick(-2, len + 2);
		switch (pick(0, 9)) {
		case 0: {
			int extra = pick(-2, 200);
			extend_file(&b.f, extra);
			m.extend(extra);
			break;
		}
		case 1: case 2: case 3: case 4: {
			std::string s(pick(0, pick(0, 1) ? 3 : 150), ' ');
			for (char &ch : s)
				ch = "abcdefghij \n"[pick(0, 11)];
			ed_insert(&b.f, s.c_str(), pos);
			m.insert(s, pos);
			break;
		}
		default: {
			/* mostly short runs, so that the text grows */
			int rest = std::max(len - pos, 0);
			int count = pick(-2, (pick(0, 9) ? std::min(rest, 40) : rest) + 2);
			ed_delete(&b.f, count, pos);
			m.erase(count, pos);
			break;
		}
		}
		ASSERT_EQ(b.f.text, m.text) << "step " << step;
		ASSERT_EQ(b.f.cap, m.cap) << "step " << step;
	}
}

} // namespace

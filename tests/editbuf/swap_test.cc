/* A file swapped for a fifo while it is being loaded.  The linker routes
   every open of this program through the wrappers below (see
   CMakeLists.txt); once armed, the first open of the armed path renames
   a fifo over the file just before the real open, as someone racing the
   load would.  The load must then come back at once with an empty text,
   never block waiting for a writer. */
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "editbuf/editbuf.h"
#include "tests/support/files.h"

namespace {

std::string armed, fifo;

void swap(const char *path)
{
	if (armed.empty() || armed != path)
		return;
	armed.clear();
	if (rename(fifo.c_str(), path) != 0)
		abort();
}

/* Swaps, then opens through the real call; the mode argument exists
   only with O_CREAT or O_TMPFILE. */
int reopen(int (*real)(const char *, int, ...), const char *p, int flags,
	va_list ap)
{
	mode_t m = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, mode_t) : 0;

	swap(p);
	return real(p, flags, m);
}

} // namespace

extern "C" {

int __real_open(const char *, int, ...);
int __real_open64(const char *, int, ...);
FILE *__real_fopen(const char *, const char *);
FILE *__real_fopen64(const char *, const char *);

int __wrap_open(const char *p, int flags, ...)
{
	va_list ap;
	va_start(ap, flags);
	int fd = reopen(__real_open, p, flags, ap);
	va_end(ap);
	return fd;
}

int __wrap_open64(const char *p, int flags, ...)
{
	va_list ap;
	va_start(ap, flags);
	int fd = reopen(__real_open64, p, flags, ap);
	va_end(ap);
	return fd;
}

FILE *__wrap_fopen(const char *p, const char *mode)
{
	swap(p);
	return __real_fopen(p, mode);
}

FILE *__wrap_fopen64(const char *p, const char *mode)
{
	swap(p);
	return __real_fopen64(p, mode);
}

}

namespace {

/* Loads path with the seam armed and reports what was loaded. */
void load_swapped(std::string path)
{
	alarm(20);
	armed = path;
	ed_file f = {path.data(), nullptr, 0};
	read_file(&f, 3);
	fprintf(stderr, "text [%s] cap %d fifo %d\n", f.text, f.cap,
		(int)S_ISFIFO(st.st_mode));
	exit(0);
}

/* The load runs in a child with an alarm set: a load that blocks is
   killed by the alarm, and the child's report tells what was loaded. */
TEST(ReadFile, FileSwappedForFifoLoadsEmptyAtOnce)
{
	tmpdir dir;
	std::string path = dir / "f";
	writefile(path, "text that was there");
	fifo = dir / "q";
	ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);

	EXPECT_EXIT(load_swapped(path), testing::ExitedWithCode(0),
		"text \\[\\] cap 4 fifo 1");
}

} // namespace

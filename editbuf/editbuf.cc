/* editbuf: one file's text in one heap block, with insert and delete.

   The buffer stores no length: every operation counts the text anew, so
   a NUL byte inside a loaded file ends the text for all of them.  Sizes
   are 32-bit; all arithmetic on them is done in 64 bits and checked, so
   that no request can wrap cap around and overrun the block. */
#include "editbuf/editbuf.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

static_assert(offsetof(ed_file, path) == 0);
static_assert(offsetof(ed_file, text) == sizeof(char *));
static_assert(offsetof(ed_file, cap) == 2 * sizeof(char *));
static_assert(sizeof(((ed_file *)0)->cap) == 4);

struct stat st;

/* The spare room granted beside len bytes of text: none when less than
   none is asked for, or when the block would outgrow what cap holds. */
static int64_t room(int64_t len, int extra)
{
	if (extra < 0 || len + 1 + extra > INT32_MAX)
		return 0;
	return extra;
}

/* Gives f a new block for len bytes of text and its spare room; the
   caller fills it.  len + 1 fits cap.  When the block cannot be had, f
   is left as it was. */
static bool alloc(ed_file *f, int64_t len, int extra)
{
	int32_t cap = (int32_t)(len + 1 + room(len, extra));
	char *p = (char *)malloc(cap);

	if (!p)
		return false;
	f->text = p;
	f->cap = cap;
	return true;
}

/* An empty text with the room asked for, or with none when that much
   cannot be had (and no block at all when not even one byte can). */
static void empty(ed_file *f, int extra)
{
	if (alloc(f, 0, extra) || alloc(f, 0, 0))
		f->text[0] = 0;
}

/* Opens path for a load and takes the status of what was opened, so
   that the file read is the one whose status was taken: a fifo swapped
   in after a check of the name would block the load for good.  The open
   does not block, and only a regular file is kept: its status gives a
   size to trust, and nothing else has text to load.  A file too large
   for cap (its size and the terminator do not fit) is not kept either,
   but st keeps its status.  A path that cannot be opened still has its
   status taken, when it has one. */
static FILE *openable(const char *path)
{
	int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);

	if (fd < 0) {
		stat(path, &st);
		return nullptr;
	}
	if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
	    st.st_size >= INT32_MAX) {
		close(fd);
		return nullptr;
	}
	FILE *fp = fdopen(fd, "rb");
	if (!fp)
		close(fd);
	return fp;
}

/* A file that cannot be loaded whole (unreadable, not a regular file,
   too large for cap or for the memory at hand) loads as an empty text;
   st tells the caller which. */
void read_file(ed_file *f, int extra)
{
	free(f->text);
	f->text = nullptr;
	f->cap = 0;
	FILE *fp = openable(f->path);
	if (fp && alloc(f, st.st_size, extra)) {
		/* The file may have shrunk since its status was taken: the
		   text ends at what was read. */
		size_t got = fread(f->text, 1, st.st_size, fp);
		f->text[got] = 0;
	} else {
		empty(f, extra);
	}
	if (fp)
		fclose(fp);
}

/* The new size follows the text's length, not the old cap, so a small
   extra can shrink the block.  Without memory the old block stays. */
void extend_file(ed_file *f, int extra)
{
	if (!f->text)
		return;
	size_t len = strlen(f->text);
	char *old = f->text;
	if (!alloc(f, len, extra))
		return;
	memcpy(f->text, old, len + 1);
	free(old);
}

/* A regrow leaves 100 bytes spare, so that typing goes on a while
   without another one. */
void ed_insert(ed_file *f, const char *s, int pos)
{
	if (!f->text)
		return;
	int64_t len = strlen(f->text);
	int64_t n = strlen(s);
	if (pos < 0 || pos > len)
		return;
	if (len + n + 1 > f->cap) {
		if (len + n + 1 + 100 > INT32_MAX)
			return;
		extend_file(f, (int)(n + 100));
		if (len + n + 1 > f->cap)
			return;
	}
	memmove(f->text + pos + n, f->text + pos, len + 1 - pos);
	memcpy(f->text + pos, s, n);
}

/* The block is never shrunk here; cap stays. */
void ed_delete(ed_file *f, int count, int pos)
{
	if (!f->text)
		return;
	int64_t len = strlen(f->text);
	if (pos < 0 || count < 0 || pos > len - count)
		return;
	memmove(f->text + pos, f->text + pos + count, len + 1 - pos - count);
}

/* Fuzz target of the text buffer: a run of loads and edits decoded from
   the input, each checked against a std::string that holds what the
   text should be.  The sizes of the block are the buffer's own affair
   (the table tests, tests/editbuf, pin them down case by case); here
   they must keep what every correct buffer keeps: the block holds the
   text and its terminator, its true size (known under AddressSanitizer)
   is cap, a delete never shrinks it, and an edit that fits works in
   place.

   Input: operations until it ends, each an opcode byte (modulo 6) and
   its arguments:
     0 load a file    length u8, that many bytes of content, extra
     1 load a missing file                                   extra
     2 load a directory                                      extra
     3 insert         length u8, that many bytes (up to a NUL), place
     4 delete         count, place
     5 extend_file                                           extra
   A place or a count is a u16 taken modulo what the text allows, with a
   few values at the top standing for extremes; extra is an i8 with its
   two highest values for extremes. */
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <sanitizer/allocator_interface.h>

#include "editbuf/editbuf.h"
#include "fuzz/input.h"
#include "tests/support/files.h"

namespace {

std::optional<tmpdir> dir;
std::string file, missing, subdir;

/* What the buffer should hold: no block before the first load, then
   the text. */
struct model {
	std::string text;
	bool loaded = false;
};

int extra_of(input &in, int64_t len)
{
	int8_t e = in.i8();
	if (e == 127)
		return INT32_MAX;
	if (e == 126)
		return (int)(INT32_MAX - len);  /* one byte too many: dropped */
	if (e == -128)
		return INT32_MIN;
	return e;
}

/* A place among 0..len, one either side, or an extreme. */
int place(input &in, int64_t len)
{
	uint16_t v = in.u16();
	if (v >= 0xfff0) {
		const int64_t far[] = {INT32_MIN, INT32_MAX, -2, len + 2};
		return (int)far[v & 3];
	}
	return (int)(v % (len + 3)) - 1;
}

/* The text, and a block that holds it whole and is cap bytes long. */
void check(const ed_file &f, const model &m)
{
	if (!m.loaded) {
		if (f.text || f.cap != 0)
			abort();
		return;
	}
	if (!f.text || f.text != m.text)
		abort();
	if ((int64_t)m.text.size() + 1 > f.cap)
		abort();
	if (__sanitizer_get_allocated_size(f.text) != (size_t)f.cap)
		abort();
}

void load(ed_file &f, model &m, const char *path, const std::string &bytes,
	int extra)
{
	f.path = const_cast<char *>(path);
	read_file(&f, extra);
	m.text = bytes.substr(0, strlen(bytes.c_str()));
	m.loaded = true;
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
	/* The file is written anew thousands of times a second: in memory
	   where there is such a file system, since on a disk each rewrite
	   may wait for its blocks to be discarded. */
	if (access("/dev/shm", W_OK) == 0)
		dir.emplace("/dev/shm");
	else
		dir.emplace();
	file = *dir / "f";
	missing = *dir / "missing";
	subdir = *dir / "d";
	if (mkdir(subdir.c_str(), 0700) != 0)
		abort();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	input in = {data, size};
	ed_file f = {};
	model m;

	while (in.n > 0) {
		int64_t len = m.text.size();
		const char *block = f.text;
		int32_t cap = f.cap;
		bool fits = false;	/* an edit that must work in place */

		switch (in.u8() % 6) {
		case 0: {
			std::string bytes = in.bytes(in.u8());
			FILE *fp = fopen(file.c_str(), "wb");
			if (!fp || fwrite(bytes.data(), 1, bytes.size(), fp) !=
			    bytes.size() || fclose(fp) != 0)
				abort();
			load(f, m, file.c_str(), bytes, extra_of(in, bytes.size()));
			if (st.st_size != (off_t)bytes.size())
				abort();
			break;
		}
		case 1:
			load(f, m, missing.c_str(), "", extra_of(in, 0));
			break;
		case 2:
			load(f, m, subdir.c_str(), "", extra_of(in, 0));
			break;
		case 3: {
			std::string s = in.bytes(in.u8());
			s.resize(strlen(s.c_str()));
			int pos = place(in, len);
			ed_insert(&f, s.c_str(), pos);
			fits = m.loaded && len + (int64_t)s.size() + 1 <= cap;
			if (m.loaded && pos >= 0 && pos <= len)
				m.text.insert(pos, s);
			break;
		}
		case 4: {
			int pos = place(in, len);
			int count = place(in, pos >= 0 && pos <= len ? len - pos : 0);
			ed_delete(&f, count, pos);
			fits = m.loaded;
			if (m.loaded && pos >= 0 && count >= 0 &&
			    (int64_t)pos + count <= len)
				m.text.erase(pos, count);
			break;
		}
		case 5:
			extend_file(&f, extra_of(in, len));
			break;
		}
		check(f, m);
		if (fits && (f.text != block || f.cap != cap))
			abort();
	}
	free(f.text);
	return 0;
}

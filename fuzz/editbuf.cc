/* Fuzz target of the text buffer: a run of loads and edits decoded from
   the input, each checked against a std::string that holds what the text
   should be and a count of what the block's size should be.  Under
   AddressSanitizer the block's true size is known too, and must be cap.

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
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include <sanitizer/allocator_interface.h>

#include "editbuf.h"
#include "input.h"

namespace {

std::string dir, file, missing, subdir;

void cleanup()
{
	unlink(file.c_str());
	rmdir(subdir.c_str());
	rmdir(dir.c_str());
}

/* What the buffer should hold. */
struct model {
	std::string text;
	int64_t cap = 0;
	bool loaded = false;
};

int64_t room(int64_t len, int extra)
{
	if (extra < 0 || len + 1 + extra > INT32_MAX)
		return 0;
	return extra;
}

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

void check(const ed_file &f, const model &m)
{
	if (!m.loaded) {
		if (f.text || f.cap != 0)
			abort();
		return;
	}
	if (!f.text || f.text != m.text || f.cap != m.cap)
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
	m.cap = (int64_t)bytes.size() + 1 + room(bytes.size(), extra);
	m.loaded = true;
}

}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
	/* The file is written anew thousands of times a second: in memory
	   where there is such a file system, since on a disk each rewrite
	   may wait for its blocks to be discarded. */
	const char *tmp = getenv("TMPDIR");
	if (access("/dev/shm", W_OK) == 0)
		tmp = "/dev/shm";
	std::string t = std::string(tmp && *tmp ? tmp : "/tmp") + "/editbufXXXXXX";
	if (!mkdtemp(t.data()))
		abort();
	dir = t;
	file = dir + "/f";
	missing = dir + "/missing";
	subdir = dir + "/d";
	if (mkdir(subdir.c_str(), 0700) != 0)
		abort();
	atexit(cleanup);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	input in = {data, size};
	ed_file f = {};
	model m;

	while (in.n > 0) {
		int64_t len = m.text.size();
		const char *before = f.text;
		bool inplace = false;   /* an edit that fits works in place */

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
			inplace = m.loaded;
			if (!m.loaded || pos < 0 || pos > len)
				break;
			int64_t need = len + (int64_t)s.size() + 1;
			if (need > m.cap) {
				m.cap = need + 100;
				inplace = false;
			}
			m.text.insert(pos, s);
			break;
		}
		case 4: {
			int pos = place(in, len);
			int count = place(in, pos >= 0 && pos <= len ? len - pos : 0);
			ed_delete(&f, count, pos);
			inplace = m.loaded;
			if (m.loaded && pos >= 0 && count >= 0 &&
			    (int64_t)pos + count <= len)
				m.text.erase(pos, count);
			break;
		}
		case 5: {
			int extra = extra_of(in, len);
			extend_file(&f, extra);
			if (m.loaded)
				m.cap = len + 1 + room(len, extra);
			break;
		}
		}
		check(f, m);
		if (inplace && f.text != before)
			abort();
	}
	free(f.text);
	return 0;
}

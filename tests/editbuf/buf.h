/* A buffer record for one file, whose block goes when the test ends. */
#ifndef ORV_TESTS_EDITBUF_BUF_H
#define ORV_TESTS_EDITBUF_BUF_H

#include <stdlib.h>

#include <string>
#include <utility>

#include "editbuf/editbuf.h"

struct Buf {
	std::string path;
	ed_file f{};
	explicit Buf(std::string p) : path(std::move(p)) { f.path = path.data(); }
	~Buf() { free(f.text); }
	Buf(const Buf &) = delete;
	Buf &operator=(const Buf &) = delete;
};

#endif
